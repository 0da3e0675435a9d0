#include "platform/xdg_paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_folder.h"

namespace fs = std::filesystem;

namespace {

TEST(XdgPaths, ProgramFoldersOfOlderVersionsBecomePrivate)
{
    TempFolder folder;
    const ScopedEnv config("XDG_CONFIG_HOME", folder / "config");
    const ScopedEnv data("XDG_DATA_HOME", folder / "data");
    const fs::perms open = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                           fs::perms::others_read | fs::perms::others_exec;
    for (const char* path : {"config/Orvane", "data/Orvane/Chronel/Templates"}) {
        fs::create_directories(folder / path);
    }
    for (const char* path :
         {"config", "config/Orvane", "data/Orvane", "data/Orvane/Chronel", "data/Orvane/Chronel/Templates"}) {
        fs::permissions(folder / path, open);
    }
    MakeOwnFoldersPrivate("Orvane", "Chronel");
    for (const char* path : {"config/Orvane", "data/Orvane", "data/Orvane/Chronel"}) {
        EXPECT_EQ(fs::status(folder / path).permissions(), fs::perms::owner_all) << path;
    }
    for (const char* path : {"config", "data/Orvane/Chronel/Templates"}) {
        EXPECT_EQ(fs::status(folder / path).permissions(), open) << "not the program's: " << path;
    }
}

}   // namespace
