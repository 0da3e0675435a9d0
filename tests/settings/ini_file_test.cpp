#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <tuple>

#include "fakes/temp_folder.h"

namespace {

const std::tuple<const char*, std::string_view, const char*, const char*, std::optional<std::string>> kFindCases[] = {
    {"names and value are trimmed", "  [ Common ]  \n\t ID_1 \t=  Snake \t\n", "Common", "ID_1", "Snake"},
    {"CR LF line ends", "[Common]\r\nID_1=Snake\r\nID_2=Horse\r\n", "Common", "ID_1", "Snake"},
    {"first of duplicate keys wins", "[Common]\nID_1=first\nID_1=second\n", "Common", "ID_1", "first"},
    {"a duplicate section is never seen", "[Common]\nID_1=a\n[Common]\nID_2=b\n", "Common", "ID_2", std::nullopt},
    {"key of another section is not found", "[Other]\nID_1=x\n[Common]\n", "Common", "ID_1", std::nullopt},
    {"keys before any section belong to none", "ID_1=x\n[Common]\n", "Common", "ID_1", std::nullopt},
    {"value keeps further '=' signs", "[S]\nk=a=b\n", "S", "k", "a=b"},
    {"line without '=' is a key without value", "[S]\nk\nk=late\n", "S", "k", ""},
    {"a zero byte ends the value", std::string_view("[S]\nk=ab\0cd\n", 12), "S", "k", "ab"},
    {"section header up to its last ']'", "[a]b]\nk=v\n", "a]b", "k", "v"},
    {"'[' line without ']' is no header", "[S]\n[broken\nk=v\n", "S", "k", "v"},
};

TEST(IniFile, FindsValuesAsWindowsProfilesDo)
{
    for (const auto& [why, text, section, key, expected] : kFindCases) {
        EXPECT_EQ(FindIniValue(text, section, key), expected) << why;
    }
}

// Text before, section, key, value, what the update reports, text after.
constexpr IniUpdate kNew = IniUpdate::Changed, kSame = IniUpdate::Unchanged, kBad = IniUpdate::Invalid;
const std::tuple<std::string, const char*, const char*, const char*, IniUpdate, std::string> kSetCases[] = {
    {"", "S", "k", "v", kNew, "[S]\nk=v\n"},
    {"[S]\nk= v \n", "S", "k", " v", kSame, "[S]\nk= v \n"},                               // padding does not count
    {"; note\n[S]\nK = old\nz=1\n", "s", "k", "new", kNew, "; note\n[S]\nK=new\nz=1\n"},   // in place
    {"[S]\na=1\n\n[T]\nb=2\n", "S", "k", "v", kNew, "[S]\na=1\nk=v\n\n[T]\nb=2\n"},        // after the last line
    {"[S]\na=1\n", "T", "k", "v", kNew, "[S]\na=1\n\n[T]\nk=v\n"},   // new section after a blank line
    {"[S]\r\na=1\r\n", "S", "k", "v", kNew, "[S]\r\na=1\r\nk=v\r\n"},
    {"[S]\na=1", "S", "k", "v", kNew, "[S]\na=1\nk=v\n"},                         // missing final line end
    {"[S]\na=1\n[S]\nk=x\n", "S", "k", "v", kNew, "[S]\na=1\nk=v\n[S]\nk=x\n"},   // first duplicate section
    {"", "S", "k", "a\nb", kBad, ""},
    {"", "S", "a=b", "v", kBad, ""},
    {"", "S", "[x]", "v", kBad, ""},   // would read as a header
    {"", "S", "", "v", kBad, ""},
};

TEST(IniFile, UpdatesOnlyWhatChanges)
{
    for (const auto& [before, section, key, value, update, after] : kSetCases) {
        std::string text = before;
        EXPECT_EQ(SetIniValue(text, section, key, value), update) << before << key << value;
        EXPECT_EQ(text, after) << before;
    }
}

TEST(IniFile, RandomTextNeverLosesAWrittenValue)
{
    // Whatever junk the file holds, a value just set reads back and every other line survives.
    std::mt19937 random(20041120);
    const std::string_view alphabet = "[]=;# \t\r\nabcSk_1\xD0\x96";
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 200);
        for (int i = 0; i < length; ++i) {
            text += alphabet[random() % alphabet.size()];
        }
        const std::string before = text;
        const std::string section = round % 2 == 0 ? "S" : "abc";
        const std::string value = "v" + std::to_string(round);
        IniIndex index(text);
        SetIniValue(text, section, "k", value);
        ASSERT_EQ(FindIniValue(text, section, "k"), value) << before;
        ASSERT_EQ(SetIniValue(text, section, "k", value), IniUpdate::Unchanged);
        // The index follows the write and finds what a scan of the new text finds.
        index.Set(section, "k", value);
        ASSERT_TRUE(index.Holds(section, "k", value));
        for (const IniEntry& entry : ListIniEntries(text)) {
            ASSERT_EQ(index.Find(entry.section, entry.key), FindIniValue(text, entry.section, entry.key)) << before;
        }
    }
}

TEST(IniFileOnDisk, WritesOnlyChangesAndLeavesBadFilesAlone)
{
    const TempFolder folder;
    const std::string path = folder / "english.lng";
    IniFile written(path);
    ASSERT_TRUE(written.Write("Common", "ID_0", "Dragon"));
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 365);
    std::filesystem::last_write_time(path, old);
    EXPECT_TRUE(written.Write("Common", "ID_0", "Dragon"));
    EXPECT_EQ(std::filesystem::last_write_time(path), old);
    EXPECT_TRUE(written.Write("Common", "ID_0", "Snake"));
    EXPECT_EQ(written.Read("common", "id_0", 1023), "Snake");
    WriteFileBytes(path, "[Common]\nID_0=Tiger!\n");   // an edit made meanwhile shows at the next read
    EXPECT_EQ(written.Read("Common", "ID_0", 1023), "Tiger!");
    // Held writes (nested) show in lookups at once and reach the file in one write at the last WriteHeld.
    written.HoldWrites();
    written.HoldWrites();
    EXPECT_TRUE(written.Write("Common", "ID_1", "Ox") && written.Write("Common", "ID_2", "Rat"));
    EXPECT_EQ(written.Read("Common", "ID_2", 1023), "Rat");
    EXPECT_TRUE(written.WriteHeld());
    EXPECT_EQ(ReadFileBytes(path), "[Common]\nID_0=Tiger!\n");
    EXPECT_TRUE(written.WriteHeld());
    EXPECT_EQ(IniFile(path).Read("Common", "ID_1", 1023), "Ox");
    // Bad files read as empty and stay untouched.
    // What is there (nullopt: nothing), the size it is made sparse to (-1: a folder instead) and whether
    // a write may add the value to it.
    const std::tuple<const char*, std::optional<std::string>, std::intmax_t, bool> cases[] = {
        {"missing", std::nullopt, 0, true},
        {"truncated mid-line", "[Common]\nID_", 0, true},
        {"binary", std::string("\0\xFF\x01[\n=\0", 8), 0, true},
        {"huge", "[Common]\nID_0=x\n", 100 * 1024 * 1024, false},
        {"a folder", std::nullopt, -1, false},
        {"read-only, also for root", "[Common]\nID_1=x\n", 0, false},
    };
    for (const auto& [why, content, size, writable] : cases) {
        SCOPED_TRACE(why);
        std::filesystem::remove_all(path);
        if (size < 0) {
            std::filesystem::create_directory(path);
        } else if (content) {
            WriteFileBytes(path, *content);
            std::filesystem::resize_file(path, size > 0 ? std::uintmax_t(size) : content->size());   // sparse
            if (!writable && size == 0) {
                std::filesystem::permissions(path, std::filesystem::perms::owner_read);
            }
        }
        const std::string before = writable && content ? *content : "";
        IniFile file(path);
        EXPECT_EQ(file.Read("Common", "ID_0", 1023), std::nullopt);
        EXPECT_EQ(file.Write("Common", "ID_5", "Rooster"), writable);
        if (writable) {
            EXPECT_EQ(ReadFileBytes(path).substr(0, before.size()), before);
            EXPECT_EQ(file.Read("Common", "ID_5", 1023), "Rooster");
        } else if (size > 0) {
            EXPECT_EQ(std::filesystem::file_size(path), std::uintmax_t(size));
        } else if (content) {
            EXPECT_EQ(ReadFileBytes(path), *content);
        }
    }
}

}   // namespace
