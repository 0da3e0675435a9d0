#include "platform/proc_program_location.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "fakes/temp_folder.h"

namespace {

TEST(ProcProgramLocation, NamesTheRunningTestProgram)
{
    const ProcProgramLocation location;
    const std::string path = location.ExecutablePath();
    EXPECT_TRUE(path.ends_with("/chronel_ui_tests")) << path;
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    EXPECT_EQ(ProgramFolder(location) + "chronel_ui_tests", path);
    // The build tree is the developer's own: files are written beside the program, as before installing.
    EXPECT_EQ(location.CanWriteProgramFolder(), access(ProgramFolder(location).c_str(), W_OK) == 0);
}

struct UserFolderCase {
    const char* why;
    const char* dataHome;   // XDG_DATA_HOME; nullptr: unset
    const char* home;       // HOME; below the temporary folder
    const char* folder;     // expected, below the temporary folder
};

const UserFolderCase kUserFolderCases[] = {
    {"data home set", "/data", "/home", "/data/Orvane/Chronel/"},
    {"data home unset", nullptr, "/home", "/home/.local/share/Orvane/Chronel/"},
    {"relative data home is ignored", "data", "/home", "/home/.local/share/Orvane/Chronel/"},
    {"empty data home is ignored", "", "/home", "/home/.local/share/Orvane/Chronel/"},
};

TEST(ProcProgramLocation, UserFolderFollowsTheDataHome)
{
    const TempFolder folder;
    const std::string base = folder.Path().string();
    for (const UserFolderCase& c : kUserFolderCases) {
        SCOPED_TRACE(c.why);
        const ScopedEnv home("HOME", base + c.home);
        const std::string dataHome = c.dataHome == nullptr ? std::string() :
                                     c.dataHome[0] == '/' ? base + c.dataHome : c.dataHome;
        const ScopedEnv data("XDG_DATA_HOME", dataHome);
        if (c.dataHome == nullptr) {
            unsetenv("XDG_DATA_HOME");
        }
        EXPECT_EQ(ProcProgramLocation().UserDataFolder(), base + c.folder);
    }
    // Nothing is made before the program writes a file there.
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

}  // namespace
