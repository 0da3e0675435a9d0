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
    EXPECT_EQ(m_table.GetString(50), "");
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
