#include "settings/language_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"
#include "settings/default_messages.h"
#include "settings/ini_file.h"

namespace {

std::string Entry(const std::string& file, const char* section, const char* key)
{
    return FindIniValue(ReadFileBytes(file), section, key).value_or("<missing>");
}

TEST(LanguageTable, EnglishFileOffersEveryMessageAndIsWrittenOnlyOnChange)
{
    TempFolder folder;
    const FakeProgramLocation location(folder / "chronel");
    LanguageTable table(location);
    ASSERT_TRUE(table.Load("english"));
    const std::string english = folder / "english.lng";
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
    std::filesystem::last_write_time(english, old);
    for (int id = 0; id < kMessageCount; ++id) {
        EXPECT_EQ(Entry(english, "Common", ("ID_" + std::to_string(id)).c_str()), DefaultMessage(id));
        EXPECT_EQ(table.GetString(id), DefaultMessage(id));
    }
    EXPECT_EQ(std::filesystem::last_write_time(english), old);
    EXPECT_EQ(Entry(english, "Translator", "ID_0"), "Orvane");
    EXPECT_EQ(table.GetString(kMessageCount) + table.GetString(-1) + table.GetTranslatorInfo(3), "");
    // Keys are trimmed of marks and blanks; no section means Common.
    EXPECT_FALSE(table.WriteDefault("DialogID_5", " : ", "text"));
    EXPECT_TRUE(table.WriteDefault("", "ID_60.", "text"));
    EXPECT_EQ(Entry(english, "Common", "ID_60"), "text");
    // The same name in any case and with blanks is no new language.
    EXPECT_FALSE(table.Load(" ENGLISH\t"));
    EXPECT_TRUE(table.Load("german"));
    EXPECT_EQ(table.LanguageName(), "german");
}

// Lookups in Common of the loaded language, whose file is `language`.lng;
// "fallback" is the caller's default.
const std::string kDrache = "[Common]\nID_0=Drache\nID_1=\nID_7=Start:\n";
const std::string kXs(1021, 'x');
const std::tuple<const char*, const char*, std::string, const char*, std::string> kLookups[] = {
    {"the translation wins", "german", kDrache, "ID_0", "Drache"},
    {"an empty value counts as missing", "german", kDrache, "ID_1", "fallback"},
    {"a missing key falls back", "german", kDrache, "ID_2", "fallback"},
    {"key trimmed of marks and blanks", "german", kDrache, ";.ID_7:,\t\r\n ", "Start:"},
    {"a key of marks only is none", "german", kDrache, ":;. ", "fallback"},
    {"cut to 1023 bytes", "german", "[Common]\nID_0=" + kXs + "xxxx", "ID_0", kXs + "xx"},
    {"a whole character at the end", "german", "[Common]\nID_0=" + kXs + "\xD0\x96", "ID_0", kXs + "\xD0\x96"},
    {"a cut never splits a character", "german", "[Common]\nID_0=" + kXs + "x\xD0\x96", "ID_0", kXs + "x"},
    {"no name outside the program folder", "sub/german", kDrache, "ID_0", "fallback"},
};

TEST(LanguageTable, LooksUpTheLoadedLanguage)
{
    for (const auto& [why, language, text, key, expected] : kLookups) {
        SCOPED_TRACE(why);
        TempFolder folder;
        const std::string path = folder / language + ".lng";
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteFileBytes(path, text);
        const FakeProgramLocation location(folder / "chronel");
        LanguageTable table(location);
        table.Load(language);
        EXPECT_EQ(table.ReadEntry("Common", key, "fallback"), expected);
        EXPECT_EQ(ReadFileBytes(path), text) << "a translation is never written";
    }
}

TEST(LanguageTable, NowhereToWriteStillAnswersWithTheDefaults)
{
    TempFolder folder;
    WriteFileBytes(folder / "blocker", "");
    // No language loaded, the program's folder vanished, no program path, the user's folder inside a file.
    const std::pair<FakeProgramLocation, const char*> cases[] = {
        {FakeProgramLocation(folder / "chronel"), ""},
        {FakeProgramLocation(folder / "missing/chronel"), "english"},
        {FakeProgramLocation(""), "english"},
        {FakeProgramLocation(folder / "program/chronel", folder / "blocker/Chronel/", false), "english"},
    };
    for (const auto& [location, language] : cases) {
        SCOPED_TRACE(location.ExecutablePath());
        LanguageTable table(location);
        table.Load(language);
        EXPECT_EQ(table.GetString(10), "Tiger");
        EXPECT_FALSE(table.WriteDefault("Common", "ID_0", "Dragon"));
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "english.lng"));
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
    EXPECT_FALSE(std::filesystem::exists(folder / "program"));
    EXPECT_FALSE(std::filesystem::exists("english.lng"));
}

// A program folder, writable (a development build) or not, and a user's data folder side by side: whether
// the program's folder is writable and the user has a folder, message 0 in german.lng beside the program and
// in the user's folder (nullptr: no file), message 0 as read, and whether english.lng goes to the user.
const std::tuple<const char*, bool, bool, const char*, const char*, const char*, bool> kFolderCases[] = {
    {"installed: english.lng goes to the user", false, true, nullptr, nullptr, "Dragon", true},
    {"installed: shipped translation is read", false, true, "Drache", nullptr, "Drache", true},
    {"installed: the user's translation wins", false, true, "Drache", "Lindwurm", "Lindwurm", true},
    {"installed: the user may add a language", false, true, nullptr, "Lindwurm", "Lindwurm", true},
    {"development build: all beside the program", true, true, "Drache", nullptr, "Drache", false},
    {"development build: the user's translation wins", true, true, "Drache", "Lindwurm", "Lindwurm", false},
    {"read-only, no user folder: nowhere else", false, false, "Drache", nullptr, "Drache", false},
};

TEST(LanguageTableFolders, TranslationsAndEnglishFileFindTheirFolder)
{
    for (const auto& [why, canWrite, hasUserFolder, programFile, userFile, dragon, englishForUser] : kFolderCases) {
        SCOPED_TRACE(why);
        TempFolder folder;
        std::filesystem::create_directory(folder.Path() / "program");
        // The user's folder is not made in advance unless a file is put there: the table makes it.
        if (userFile != nullptr) {
            std::filesystem::create_directories(folder.Path() / "data/Chronel");
            WriteFileBytes(folder / "data/Chronel/german.lng", std::string("[Common]\nID_0=") + userFile + "\n");
        }
        if (programFile != nullptr) {
            WriteFileBytes(folder / "program/german.lng", std::string("[Common]\nID_0=") + programFile + "\n");
        }
        const FakeProgramLocation location(folder / "program/chronel", hasUserFolder ? folder / "data/Chronel/" : "",
                                           canWrite);
        LanguageTable table(location);
        ASSERT_TRUE(table.Load("german"));
        EXPECT_EQ(table.GetString(0), dragon);
        const std::string english = folder / (englishForUser ? "data/Chronel/english.lng" : "program/english.lng");
        EXPECT_EQ(table.EnglishFilePath(), english);
        EXPECT_EQ(Entry(english, "Common", "ID_0"), "Dragon");
        EXPECT_FALSE(std::filesystem::exists(folder / (englishForUser ? "program" : "data/Chronel") + "/english.lng"));
    }
}

TEST(TranslatableText, NeedsOneCharacterBeyondDigitsAndMarks)
{
    for (const char* text : {"", "12 345.6, -7 %", "&0", "<<_>>\t"}) {
        EXPECT_FALSE(IsTranslatableText(text)) << text;
    }
    for (const char* text : {"0 days", "Save >>", "1:2", "\xD0\x96"}) {
        EXPECT_TRUE(IsTranslatableText(text)) << text;
    }
}

}   // namespace
