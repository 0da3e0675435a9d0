#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/messages.h"
#include "core/program_location.h"

// The language everyone has: its texts are built in, so it is offered even without a file.
inline constexpr std::string_view kDefaultLanguage = "english";

// The names of the language files ("<name>.lng") in the user's data folder and the program's folder,
// each name once (a name that differs only in letter case from one already listed is left out, the user's
// spelling first), sorted as the language list shows them: without regard to letter case, then by bytes.
// Empty when neither folder is known or can be listed.
std::vector<std::string> ListLanguages(const ProgramLocation& location);

// The language list with one entry selected.
struct LanguageChoice {
    std::vector<std::string> names;
    std::size_t selected = 0;
};

// Selects `stored` in `names` (the first match without regard to letter case). When `stored` is empty or
// not in the list, "english" is selected, inserted in sorted order first when it is missing.
LanguageChoice ChooseLanguage(std::vector<std::string> names, std::string_view stored);

// The warning under the template folder edit: message 39 when the typed folder, taken as the template
// store takes it (relative to the program's folder), does not exist; empty when it does.
std::string TemplateFolderStatus(std::string_view typed, const ProgramLocation& location,
                                 const MessageSource& messages);
