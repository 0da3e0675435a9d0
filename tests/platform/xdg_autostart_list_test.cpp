#include "platform/xdg_autostart_list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "fakes/temp_folder.h"

namespace {

bool Exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

TEST(XdgAutostartList, EntryGoesToTheFirstFolderThatMayHaveIt)
{
    const struct {
        const char* why;
        int blocked;   // leading folders that are files: they can be neither created nor written
        std::size_t machineWide;
        const char* program;   // "" for a program file under /tmp, which others can replace
        const char* placed;    // "system", "user" or nullptr
    } cases[] = {
        {"the first folder", 0, 0, "/opt/my apps/chronel", "system"},
        {"the first folder cannot be written", 1, 0, "/usr/bin/chronel", "user"},
        {"no folder can be written", 2, 0, "/usr/bin/chronel", nullptr},
        {"a program only root can replace starts for every user", 0, 1, "/usr/bin/env", "system"},
        {"a program others can replace starts for the user alone", 0, 1, "", "user"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        TempFolder folder;
        const std::string folders[] = {folder / "system", folder / "user"};
        for (int i = 0; i < c.blocked; ++i) {
            WriteFileBytes(folders[i], "not a folder");
        }
        WriteFileBytes(folder / "chronel", "");
        XdgAutostartList list({folders[0], folders[1]}, c.machineWide);
        const std::string program = *c.program != '\0' ? c.program : folder / "chronel";
        EXPECT_EQ(list.Add("Chronel", program), c.placed != nullptr);
        for (const std::string where : {"system", "user"}) {
            EXPECT_EQ(Exists(folder / (where + "/Chronel.desktop")), c.placed != nullptr && where == c.placed) << where;
        }
        if (c.placed != nullptr) {
            EXPECT_EQ(ReadFileBytes(folder / (c.placed + std::string("/Chronel.desktop"))),
                      "[Desktop Entry]\nType=Application\nName=Chronel\nExec=" +
                          (program.find(' ') != program.npos ? '"' + program + '"' : program) + "\nTerminal=false\n");
        }
        // An entry left in another folder goes too.
        for (int i = c.blocked; i < 2; ++i) {
            std::filesystem::create_directories(folders[i]);
            WriteFileBytes(folders[i] + "/Chronel.desktop", "");
        }
        EXPECT_EQ(list.Remove("Chronel"), c.placed != nullptr);
        EXPECT_EQ(list.Remove("Chronel"), c.placed != nullptr) << "nothing left to remove is no failure";
        EXPECT_FALSE(Exists(folder / "system/Chronel.desktop") || Exists(folder / "user/Chronel.desktop"));
        EXPECT_TRUE(c.blocked == 0 || ReadFileBytes(folders[0]) == "not a folder");
    }
    EXPECT_FALSE(XdgAutostartList({}).Add("Chronel", "/usr/bin/chronel"));
    EXPECT_FALSE(OnlyRootCanReplace("/tmp/missing/chronel"));
}

TEST(XdgAutostartList, EntriesPassTheDesktopFileValidator)
{
    if (std::system("command -v desktop-file-validate > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "desktop-file-validate is not installed";
    }
    TempFolder folder;
    XdgAutostartList list({folder / "autostart"});
    const std::string entry = folder / "autostart/Chronel.desktop";
    for (const std::string_view path : {"/usr/bin/chronel", "/opt/my apps/chronel", "/x/a\\b", "/x/$HOME/`id`/\"q\"",
                                        "/x/100%/c", "/x/\xD0\x96/it's;&|<>*?#()~"}) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(list.Add("Chronel", path));
        EXPECT_EQ(std::system(("desktop-file-validate '" + entry + "'").c_str()), 0) << ReadFileBytes(entry);
        // GLib drops an entry whose first word is not a program it finds: a '%' path goes behind env.
        EXPECT_EQ(ReadFileBytes(entry).find("Exec=env ") != std::string::npos, path.find('%') != path.npos);
    }
}

}  // namespace
