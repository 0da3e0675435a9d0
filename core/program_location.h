#pragma once

#include <string>
#include <string_view>

// Templates are files "<name>.trt".
inline constexpr std::string_view kTemplateExtension = "trt";

// Where the running program file lies. Language files, the default template folder and the help file
// sit beside it; tests point it at a temporary folder.
class ProgramLocation {
public:
    virtual ~ProgramLocation() = default;
    // The full path of the running program file; empty when the platform cannot tell.
    virtual std::string ExecutablePath() const = 0;
    // The user's own folder for the program's files, with its final '/'; empty when there is none. It
    // takes the files the program writes when its own folder is read-only (an installed program), and
    // language files placed there win over those beside the program.
    virtual std::string UserDataFolder() const { return {}; }
    // Whether files may be created and replaced in the program's folder.
    virtual bool CanWriteProgramFolder() const { return true; }
};

// The folder of the program file with its final '/'; empty when the path is empty or holds no '/'.
std::string ProgramFolder(const ProgramLocation& location);

// Where the program writes files of its own making, with its final '/': the program's folder while it
// can be written or the user has no folder of their own, else the user's folder. Empty when neither is
// known.
std::string OwnFilesFolder(const ProgramLocation& location);

// The template folder while none is stored, without its final '/': "Templates" in the program's folder,
// or, when that folder cannot be written and the user has a data folder, "Templates" in the user's data
// folder. That one is made on first use and then gets copies of the example templates from the program's
// "Templates" folder; once it exists it is left as the user keeps it. The program path itself when it
// holds no '/'.
std::string DefaultTemplateFolder(const ProgramLocation& location);
