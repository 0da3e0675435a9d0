#include "platform/xdg_autostart_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "fakes/temp_folder.h"

namespace {

bool Exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

TEST(XdgAutostartList, EntryGoesToTheFirstFolderThatMayHaveIt)
{
    // Leading folders that are files (they can be neither created nor written), how many folders are
    // machine-wide, the program ("" for a file under /tmp, which others can replace), where the entry goes
    // ("system", "user" or nowhere) and its Exec line.
    const std::tuple<const char*, int, std::size_t, const char*, const char*, const char*> cases[] = {
        {"the first folder", 0, 0, "/opt/my apps/chronel", "system", "\"/opt/my apps/chronel\""},
        // GLib drops an entry whose first word is not a program it finds.
        {"a '%' path goes behind env", 0, 0, "/x/100%/c", "system", "env /x/100%%/c"},
        {"the first folder cannot be written", 1, 0, "/usr/bin/chronel", "user", "/usr/bin/chronel"},
        {"no folder can be written", 2, 0, "/usr/bin/chronel", nullptr, ""},
        {"a program only root can replace starts for every user", 0, 1, "/usr/bin/env", "system", "/usr/bin/env"},
        {"a program others can replace starts for the user alone", 0, 1, "", "user", nullptr},
    };
    for (const auto& [why, blocked, machineWide, given, placed, exec] : cases) {
        SCOPED_TRACE(why);
        TempFolder folder;
        const std::string folders[] = {folder / "system", folder / "user"};
        for (int i = 0; i < blocked; ++i) {
            WriteFileBytes(folders[i], "not a folder");
        }
        WriteFileBytes(folder / "chronel", "");
        XdgAutostartList list({folders[0], folders[1]}, machineWide,
                              std::make_shared<SettingsLock>(folder / "Orvane/Chronel.lock"));
        const std::string program = *given != '\0' ? given : folder / "chronel";
        EXPECT_EQ(list.Add("Chronel", program) == AutostartChange::Made, placed != nullptr);
        for (const std::string where : {"system", "user"}) {
            EXPECT_EQ(Exists(folder / (where + "/Chronel.desktop")), placed != nullptr && where == placed) << where;
        }
        if (placed != nullptr) {
            EXPECT_EQ(ReadFileBytes(folder / (placed + std::string("/Chronel.desktop"))),
                      "[Desktop Entry]\nType=Application\nName=Chronel\nExec=" + (exec ? exec : program) +
                          "\nTerminal=false\n");
        }
        // An entry left in another folder goes too.
        for (int i = blocked; i < 2; ++i) {
            std::filesystem::create_directories(folders[i]);
            WriteFileBytes(folders[i] + "/Chronel.desktop", "");
        }
        EXPECT_EQ(list.Remove("Chronel") == AutostartChange::Made, placed != nullptr);
        EXPECT_EQ(list.Remove("Chronel") == AutostartChange::Made, placed != nullptr)
            << "nothing left to remove is no failure";
        EXPECT_FALSE(Exists(folder / "system/Chronel.desktop") || Exists(folder / "user/Chronel.desktop"));
        EXPECT_TRUE(blocked == 0 || ReadFileBytes(folders[0]) == "not a folder");
    }
    EXPECT_EQ(XdgAutostartList({}, 0, nullptr).Add("Chronel", "/usr/bin/chronel"), AutostartChange::Impossible);
    EXPECT_FALSE(OnlyRootCanReplace("/tmp/missing/chronel"));
}

}   // namespace
