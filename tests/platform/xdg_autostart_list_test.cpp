#include "platform/xdg_autostart_list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "fakes/temp_folder.h"

namespace {

TEST(XdgAutostartList, AddsAndRemovesTheEntry)
{
    TempFolder folder;
    XdgAutostartList list({folder / "system", folder / "user"});
    ASSERT_TRUE(list.Add("Chronel", "/opt/my apps/chronel"));
    EXPECT_EQ(ReadFileBytes(folder / "system/Chronel.desktop"),
              "[Desktop Entry]\nType=Application\nName=Chronel\nExec=\"/opt/my apps/chronel\"\nTerminal=false\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "user/Chronel.desktop"));
    ASSERT_TRUE(list.Remove("Chronel"));
    EXPECT_FALSE(std::filesystem::exists(folder / "system/Chronel.desktop"));
    EXPECT_TRUE(list.Remove("Chronel"));   // nothing left to remove
}

TEST(XdgAutostartList, FirstWritableFolderWins)
{
    TempFolder folder;
    // A file where the first folder should be: it can be neither created nor written.
    WriteFileBytes(folder / "system", "not a folder");
    XdgAutostartList list({folder / "system", folder / "user"});
    ASSERT_TRUE(list.Add("Chronel", "/usr/bin/chronel"));
    EXPECT_TRUE(std::filesystem::exists(folder / "user/Chronel.desktop"));
    EXPECT_EQ(ReadFileBytes(folder / "system"), "not a folder");
    ASSERT_TRUE(list.Remove("Chronel"));
    EXPECT_FALSE(std::filesystem::exists(folder / "user/Chronel.desktop"));
}

TEST(XdgAutostartList, NoWritableFolderChangesNothing)
{
    TempFolder folder;
    WriteFileBytes(folder / "blocked", "");
    XdgAutostartList list({folder / "blocked/autostart"});
    EXPECT_FALSE(list.Add("Chronel", "/usr/bin/chronel"));
    EXPECT_FALSE(list.Remove("Chronel"));
    XdgAutostartList nowhere({});
    EXPECT_FALSE(nowhere.Add("Chronel", "/usr/bin/chronel"));
}

TEST(XdgAutostartList, EveryUserGetsOnlyAProgramThatOnlyRootCanReplace)
{
    TempFolder folder;
    WriteFileBytes(folder / "chronel", "");
    XdgAutostartList list({folder / "system", folder / "user"}, 1);
    ASSERT_TRUE(list.Add("Chronel", folder / "chronel")) << "a program under /tmp: the user's own entry";
    EXPECT_FALSE(std::filesystem::exists(folder / "system/Chronel.desktop"));
    EXPECT_TRUE(std::filesystem::exists(folder / "user/Chronel.desktop"));
    ASSERT_TRUE(list.Add("Chronel", "/usr/bin/env"));
    EXPECT_TRUE(std::filesystem::exists(folder / "system/Chronel.desktop"));
    ASSERT_TRUE(list.Remove("Chronel"));
    EXPECT_FALSE(std::filesystem::exists(folder / "system/Chronel.desktop"));
    EXPECT_FALSE(std::filesystem::exists(folder / "user/Chronel.desktop"));
    EXPECT_FALSE(OnlyRootCanReplace(folder / "missing"));
}

TEST(XdgAutostartList, EntriesPassTheDesktopFileValidator)
{
    if (std::system("command -v desktop-file-validate > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "desktop-file-validate is not installed";
    }
    TempFolder folder;
    XdgAutostartList list({folder / "autostart"});
    const char* paths[] = {"/usr/bin/chronel", "/opt/my apps/chronel", "/x/a\\b", "/x/$HOME/`id`/\"q\"",
                           "/x/100%/c", "/x/\xD0\x96/it's;&|<>*?#()~"};
    for (const char* path : paths) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(list.Add("Chronel", path));
        const std::string command = "desktop-file-validate '" + (folder / "autostart/Chronel.desktop") + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(folder / "autostart/Chronel.desktop");
        // GLib drops an entry whose first word is not a program it finds: a '%' path goes behind env.
        EXPECT_EQ(ReadFileBytes(folder / "autostart/Chronel.desktop").find("Exec=env ") != std::string::npos,
                  std::string_view(path).find('%') != std::string_view::npos);
    }
}

TEST(XdgAutostartList, UserFolderFollowsXdgConfigHome)
{
    TempFolder folder;
    const ScopedEnv config("XDG_CONFIG_HOME", folder.Path().string());
    EXPECT_EQ(XdgAutostartList::ForCurrentUser().Folders(),
              (std::vector<std::string>{"/etc/xdg/autostart", folder / "autostart"}));
    const ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
    const ScopedEnv home("HOME", folder / "home");
    EXPECT_EQ(XdgAutostartList::ForCurrentUser().Folders().back(), folder / "home/.config/autostart");
}

}  // namespace
