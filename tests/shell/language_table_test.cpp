#include "shell/language_table.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/fake_program_location.h"
#include "shell/default_messages.h"
#include "shell/ini_file.h"
#include "fakes/temp_folder.h"

namespace {

class LanguageTableTest : public ::testing::Test {
protected:
    std::string Entry(const char* file, const char* section, const char* key) const
    {
        return FindIniValue(ReadFileBytes(m_folder / file), section, key).value_or("<missing>");
    }

    TempFolder m_folder;
    FakeProgramLocation m_location{m_folder / "chronel"};
    LanguageTable m_table{m_location};
};

TEST_F(LanguageTableTest, EnglishFileOffersEveryMessageAndTranslatorEntry)
{
    ASSERT_TRUE(m_table.Load("english"));
    for (int id = 0; id < kMessageCount; ++id) {
        EXPECT_EQ(Entry("english.lng", "Common", ("ID_" + std::to_string(id)).c_str()), DefaultMessage(id));
        EXPECT_EQ(m_table.GetString(id), DefaultMessage(id));
    }
    EXPECT_EQ(Entry("english.lng", "Translator", "ID_0"), "Orvane");
    EXPECT_EQ(m_table.GetTranslatorInfo(2), "09/20/2004");
    EXPECT_EQ(m_table.GetString(44), "Are you sure you want to delete template \"%s\"?");
}

TEST_F(LanguageTableTest, OutOfRangeIdsGiveEmptyTexts)
{
    m_table.Load("english");
    EXPECT_EQ(m_table.GetString(kMessageCount), "");
    EXPECT_EQ(m_table.GetString(-1), "");
    EXPECT_EQ(m_table.GetTranslatorInfo(3), "");
}

TEST_F(LanguageTableTest, TranslatedFileWinsAndGapsFallBack)
{
    WriteFileBytes(m_folder / "german.lng", "[Common]\nID_0=Drache\nID_1=\n[Translator]\nID_0=Hans\n");
    ASSERT_TRUE(m_table.Load("german"));
    EXPECT_EQ(m_table.GetString(0), "Drache");
    EXPECT_EQ(m_table.GetString(1), "Snake");   // empty counts as missing
    EXPECT_EQ(m_table.GetString(2), "Horse");
    EXPECT_EQ(m_table.GetTranslatorInfo(0), "Hans");
    // english.lng is written whatever the language, and the translation is never touched.
    EXPECT_EQ(Entry("english.lng", "Common", "ID_0"), "Dragon");
    EXPECT_EQ(Entry("german.lng", "Common", "ID_2"), "<missing>");
}

TEST_F(LanguageTableTest, LoadingTheSameNameInAnyCaseDoesNothing)
{
    EXPECT_TRUE(m_table.Load(" English\t"));
    EXPECT_EQ(m_table.LanguageName(), "English");
    EXPECT_FALSE(m_table.Load("ENGLISH"));
    EXPECT_TRUE(m_table.Load("german"));
}

TEST_F(LanguageTableTest, KeysAreTrimmedBeforeUse)
{
    WriteFileBytes(m_folder / "german.lng", "[DialogID_5]\nID_7=Start:\n");
    m_table.Load("german");
    EXPECT_EQ(m_table.ReadEntry("DialogID_5", "ID_7: ", "x"), "Start:");
    EXPECT_EQ(m_table.ReadEntry("DialogID_5", ";.ID_7,\t\r\n", "x"), "Start:");
    EXPECT_EQ(m_table.ReadEntry("DialogID_5", ":;. ", "fallback"), "fallback");
    EXPECT_FALSE(m_table.WriteDefault("DialogID_5", " : ", "text"));
    EXPECT_TRUE(m_table.WriteDefault("", "ID_60.", "text"));
    EXPECT_EQ(Entry("english.lng", "Common", "ID_60"), "text");
}

TEST_F(LanguageTableTest, LongValuesAreCutTo1023Bytes)
{
    WriteFileBytes(m_folder / "german.lng", "[Common]\nID_0=" + std::string(1500, 'x') + "\n");
    m_table.Load("german");
    EXPECT_EQ(m_table.GetString(0), std::string(1023, 'x'));
}

TEST_F(LanguageTableTest, NoLanguageMeansDefaultsAndNoWrites)
{
    EXPECT_EQ(m_table.ReadEntry("Common", "ID_0", "fallback"), "fallback");
    EXPECT_FALSE(m_table.WriteDefault("Common", "ID_0", "Dragon"));
    EXPECT_EQ(m_table.GetString(3), "Ram");
    EXPECT_FALSE(std::filesystem::exists(m_folder / "english.lng"));
}

TEST_F(LanguageTableTest, CurrentEnglishFileIsNotRewritten)
{
    m_table.Load("english");
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
    std::filesystem::last_write_time(m_folder / "english.lng", old);
    for (int id = 0; id < kMessageCount; ++id) {
        m_table.GetString(id);
    }
    EXPECT_EQ(std::filesystem::last_write_time(m_folder / "english.lng"), old);
}

TEST_F(LanguageTableTest, NamesOutsideTheProgramFolderAreNotRead)
{
    std::filesystem::create_directory(m_folder / "sub");
    WriteFileBytes(m_folder / "sub/german.lng", "[Common]\nID_0=Drache\n");
    m_table.Load("sub/german");
    EXPECT_EQ(m_table.GetString(0), "Dragon");
}

TEST_F(LanguageTableTest, BadLanguageFilesGiveTheBuiltInTexts)
{
    const std::string path = m_folder / "bad.lng";
    m_table.Load("bad");
    WriteFileBytes(path, std::string("\x7F" "ELF\0\0[Common]\0ID_0", 20));
    EXPECT_EQ(m_table.GetString(0), "Dragon");
    WriteFileBytes(path, "[Common]\nID_0=Drache\n");
    std::filesystem::resize_file(path, 100 * 1024 * 1024);
    EXPECT_EQ(m_table.GetString(0), "Dragon");
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(m_table.GetString(0), "Dragon");
}

TEST_F(LanguageTableTest, UnwritableProgramFolderStillAnswers)
{
    // The program's folder vanished: lookups give the defaults and nothing is created elsewhere.
    const FakeProgramLocation gone(m_folder / "missing/chronel");
    LanguageTable table(gone);
    EXPECT_TRUE(table.Load("english"));
    EXPECT_EQ(table.GetString(10), "Tiger");
    EXPECT_FALSE(std::filesystem::exists(m_folder / "missing"));
    const FakeProgramLocation unknown("");
    LanguageTable nowhere(unknown);
    nowhere.Load("english");
    EXPECT_EQ(nowhere.GetString(10), "Tiger");
    EXPECT_FALSE(std::filesystem::exists("english.lng"));
}

// A program folder and a user's data folder side by side, the program's folder writable or not.
struct FolderCase {
    const char* why;
    bool canWriteProgramFolder;
    bool hasUserFolder;
    const char* programFile;   // german.lng beside the program; nullptr: none
    const char* userFile;      // german.lng in the user's folder; nullptr: none
    const char* dragon;        // message 0 in German
    bool englishForUser;       // english.lng goes to the user's folder, not beside the program
};

const FolderCase kFolderCases[] = {
    {"installed: english.lng goes to the user", false, true, nullptr, nullptr, "Dragon", true},
    {"installed: shipped translation is read", false, true, "Drache", nullptr, "Drache", true},
    {"installed: the user's translation wins", false, true, "Drache", "Lindwurm", "Lindwurm", true},
    {"installed: the user may add a language", false, true, nullptr, "Lindwurm", "Lindwurm", true},
    {"development build keeps everything beside the program", true, true, "Drache", nullptr, "Drache", false},
    {"the user's translation wins in a development build too", true, true, "Drache", "Lindwurm", "Lindwurm",
     false},
    {"read-only without a user folder: no other place to write", false, false, "Drache", nullptr, "Drache",
     false},
};

TEST(LanguageTableFolders, TranslationsAndEnglishFileFindTheirFolder)
{
    for (const FolderCase& c : kFolderCases) {
        SCOPED_TRACE(c.why);
        TempFolder folder;
        std::filesystem::create_directory(folder.Path() / "program");
        // The user's folder is not made in advance unless a file is put there: the table makes it.
        if (c.userFile != nullptr) {
            std::filesystem::create_directories(folder.Path() / "data/Chronel");
            WriteFileBytes(folder / "data/Chronel/german.lng", std::string("[Common]\nID_0=") + c.userFile + "\n");
        }
        if (c.programFile != nullptr) {
            WriteFileBytes(folder / "program/german.lng", std::string("[Common]\nID_0=") + c.programFile + "\n");
        }
        const FakeProgramLocation location(folder / "program/chronel", c.hasUserFolder ? folder / "data/Chronel/" : "",
                                           c.canWriteProgramFolder);
        LanguageTable table(location);
        ASSERT_TRUE(table.Load("german"));
        EXPECT_EQ(table.GetString(0), c.dragon);
        const std::string userEnglish = folder / "data/Chronel/english.lng";
        const std::string programEnglish = folder / "program/english.lng";
        const std::string& english = c.englishForUser ? userEnglish : programEnglish;
        const std::string& other = c.englishForUser ? programEnglish : userEnglish;
        EXPECT_EQ(table.EnglishFilePath(), english);
        EXPECT_EQ(FindIniValue(ReadFileBytes(english), "Common", "ID_0").value_or("<missing>"), "Dragon");
        EXPECT_FALSE(std::filesystem::exists(other));
    }
}

TEST(LanguageTableFolders, EnglishIsReadWhereItIsWritten)
{
    // A stale english.lng in the user's folder (left by an installed copy) must not hide the current texts
    // of a development build, which writes its own beside the program.
    TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "data");
    std::filesystem::create_directory(folder.Path() / "program");
    WriteFileBytes(folder / "data/english.lng", "[Common]\nID_0=Old dragon\n[Translator]\nID_0=Someone\n");
    const FakeProgramLocation location(folder / "program/chronel", folder / "data/", true);
    LanguageTable table(location);
    table.Load("english");
    EXPECT_EQ(table.GetString(0), "Dragon");
    EXPECT_EQ(table.GetTranslatorInfo(0), "Orvane");
    EXPECT_EQ(table.LanguageFilePath("english"), folder / "program/english.lng");
}

TEST(LanguageTableFolders, UnmakeableUserFolderIsSilent)
{
    // The user's folder would have to be made inside a file: lookups still answer with the defaults.
    TempFolder folder;
    WriteFileBytes(folder / "blocker", "");
    const FakeProgramLocation location(folder / "program/chronel", folder / "blocker/Chronel/", false);
    LanguageTable table(location);
    EXPECT_TRUE(table.Load("english"));
    EXPECT_EQ(table.GetString(10), "Tiger");
    EXPECT_FALSE(table.WriteDefault("Common", "ID_0", "Dragon"));
    EXPECT_FALSE(std::filesystem::exists(folder / "program"));
}

TEST(TranslatableText, NeedsOneCharacterBeyondDigitsAndMarks)
{
    EXPECT_FALSE(IsTranslatableText(""));
    EXPECT_FALSE(IsTranslatableText("12 345.6, -7 %"));
    EXPECT_FALSE(IsTranslatableText("&0"));
    EXPECT_FALSE(IsTranslatableText("<<_>>\t"));
    EXPECT_TRUE(IsTranslatableText("0 days"));
    EXPECT_TRUE(IsTranslatableText("Save >>"));
    EXPECT_TRUE(IsTranslatableText("1:2"));
    EXPECT_TRUE(IsTranslatableText("\xD0\x96"));
}

}  // namespace
