// The shipped Russian language file against every key the program writes into english.lng: the messages
// and translator entries (generated here through the language table) and the window, menu and toolbar
// texts of tests/data/shell/english_windows.lng, which lists the control texts the walks write.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"
#include "shell/default_messages.h"
#include "shell/ini_file.h"
#include "shell/language_table.h"
#include "templates/file_filter.h"

namespace {

const std::string kRussianFile = std::string(CHRONEL_TEST_DATA_DIR) + "/../../res/lang/russian.lng";
const std::string kWindowTexts = std::string(CHRONEL_TEST_DATA_DIR) + "/shell/english_windows.lng";

bool IsUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

std::size_t Count(std::string_view text, std::string_view part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

bool HasLatinLetter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

class RussianLanguage : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::copy_file(kRussianFile, m_folder / "russian.lng");
        m_table.Load("english");
        for (const IniEntry& entry : ListIniEntries(ReadFileBytes(kWindowTexts))) {
            ASSERT_TRUE(m_table.WriteDefault(entry.section, entry.key, entry.value)) << entry.section << " " << entry.key;
        }
        m_english = ListIniEntries(ReadFileBytes(m_folder / "english.lng"));
        m_russianText = ReadFileBytes(kRussianFile);
    }

    TempFolder m_folder;
    FakeProgramLocation m_location{m_folder / "chronel"};
    LanguageTable m_table{m_location};
    std::vector<IniEntry> m_english;
    std::string m_russianText;
};

TEST_F(RussianLanguage, TranslatesEveryEnglishText)
{
    ASSERT_GT(m_english.size(), 300u);
    for (const IniEntry& english : m_english) {
        SCOPED_TRACE(english.section + " / " + english.key + " = " + english.value);
        const std::optional<std::string> russian = FindIniValue(m_russianText, english.section, english.key);
        ASSERT_TRUE(russian && !russian->empty());
        // Only the translator's address and company name may stay as they are.
        if (HasLatinLetter(english.value) && english.section != "Translator") {
            EXPECT_NE(*russian, english.value);
        }
        EXPECT_EQ(Count(*russian, "%s"), Count(english.value, "%s"));
        EXPECT_EQ(Count(*russian, "|"), Count(english.value, "|"));
        EXPECT_EQ(Count(*russian, "&") > 0, Count(english.value, "&") > 0) << "keyboard mnemonic";
        EXPECT_LE(Count(*russian, "&"), 1u);
        EXPECT_LE(russian->size(), LanguageTable::kMaxValueBytes);
    }
}

TEST_F(RussianLanguage, HoldsNoKeyTheProgramDoesNotUse)
{
    const std::vector<IniEntry> russian = ListIniEntries(m_russianText);
    EXPECT_EQ(russian.size(), m_english.size());
    for (const IniEntry& entry : russian) {
        SCOPED_TRACE(entry.section + " / " + entry.key);
        EXPECT_TRUE(FindIniValue(ReadFileBytes(m_folder / "english.lng"), entry.section, entry.key));
    }
}

TEST_F(RussianLanguage, IsUtf8AndLoadsThroughTheTable)
{
    EXPECT_TRUE(IsUtf8(m_russianText));
    EXPECT_FALSE(m_russianText.starts_with("\xEF\xBB\xBF"));
    ASSERT_TRUE(m_table.Load("russian"));
    EXPECT_EQ(m_table.GetString(0), "\xD0\x94\xD1\x80\xD0\xB0\xD0\xBA\xD0\xBE\xD0\xBD");   // Дракон
    EXPECT_EQ(ParseFileFilter(m_table.GetString(41) + "||").size(), 2u);
    EXPECT_EQ(m_table.ReadEntry("MenuID_143", "SubID_32865", ""), "\xD0\x9F&\xD0\xBE\xD0\xB4\xD1\x81\xD1\x82\xD0\xB0\xD0\xBD\xD0\xBE\xD0\xB2\xD0\xBA\xD0\xB0");   // П&одстановка
}

}  // namespace
