#include "platform/proc_program_location.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_folder.h"

namespace {

TEST(ProcProgramLocation, UserFolderFollowsTheDataHome)
{
    const TempFolder folder;
    const std::string base = folder.Path().string();
    const std::string dataHome = base + "/data";
    const ScopedEnv home("HOME", base + "/home");
    // XDG_DATA_HOME (nullptr: unset) and the folder.
    const std::pair<const char*, std::string> cases[] = {
        {dataHome.c_str(), base + "/data/Orvane/Chronel/"},
        {nullptr, base + "/home/.local/share/Orvane/Chronel/"},
        {"data", base + "/home/.local/share/Orvane/Chronel/"},   // relative: ignored
    };
    for (const auto& [dataHomeValue, userFolder] : cases) {
        const ScopedEnv data("XDG_DATA_HOME", dataHomeValue);
        EXPECT_EQ(ProcProgramLocation().UserDataFolder(), userFolder) << (dataHomeValue ? dataHomeValue : "unset");
    }
    // Nothing is made before the program writes a file there.
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

}   // namespace
