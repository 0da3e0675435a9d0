#include "shell/reg_file.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr std::string_view kKey = "HKEY_CURRENT_USER\\Software\\Orvane\\Chronel";

RegValue Typed(std::uint32_t type, std::string data)
{
    RegValue value;
    value.type = type;
    value.data = std::move(data);
    return value;
}

struct ParseCase {
    const char* why;
    std::string_view line;   // one value line under the key
    const char* name;
    std::optional<RegValue> expected;
};

const ParseCase kParseCases[] = {
    {"double word", "\"ActivePageNo\"=dword:0000000a", "ActivePageNo", RegValue::Dword(10)},
    {"negative double word", "\"YearsPlus\"=dword:fffffffd", "YearsPlus", RegValue::Dword(0xFFFFFFFDu)},
    {"text", "\"Lang\"=\"english\"", "Lang", RegValue::Sz("english")},
    {"escaped text", R"("TemplateFolder"="C:\\T \"x\"")", "TemplateFolder", RegValue::Sz("C:\\T \"x\"")},
    {"name matched without case", "\"lang\"=\"x\"", "LANG", RegValue::Sz("x")},
    {"blanks around '='", "\"Lang\" = \"x\"  ", "Lang", RegValue::Sz("x")},
    {"binary", "\"B\"=hex:01,ff,00", "B", Typed(3, std::string("\x01\xFF\x00", 3))},
    {"other type", "\"E\"=hex(2):41,00", "E", Typed(2, std::string("A\0", 2))},
    {"empty hex", "\"E\"=hex:", "E", Typed(3, "")},
    {"default value", "@=\"d\"", "", RegValue::Sz("d")},
    {"truncated double word", "\"A\"=dword:0000000", "A", std::nullopt},
    {"truncated text", "\"Lang\"=\"engl", "Lang", std::nullopt},
    {"truncated hex byte", "\"B\"=hex:01,f", "B", std::nullopt},
    {"junk after text", "\"Lang\"=\"x\" y", "Lang", std::nullopt},
    {"deletion", "\"Lang\"=-", "Lang", std::nullopt},
    {"unquoted name", "Lang=\"x\"", "Lang", std::nullopt},
    {"bad hex digit", "\"A\"=dword:0000000g", "A", std::nullopt},
};

TEST(RegFile, ReadsEveryValueForm)
{
    for (const ParseCase& c : kParseCases) {
        SCOPED_TRACE(c.why);
        const std::string text = "REGEDIT4\n\n[" + std::string(kKey) + "]\n" + std::string(c.line) + "\n";
        const std::optional<RegDocument> document = ParseRegFile(text);
        ASSERT_TRUE(document);
        const RegValue* value = FindRegValue(*document, kKey, c.name);
        EXPECT_EQ(value != nullptr, c.expected.has_value());
        if (value != nullptr && c.expected) {
            EXPECT_EQ(*value, *c.expected);
        }
    }
}

TEST(RegFile, ReadsAsAnImportApplies)
{
    const std::string text =
        "\xEF\xBB\xBF\r\nREGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Orvane\\Chronel]\r\n\"A\"=dword:00000001\r\n"
        "\"B\"=hex:01,\\\r\n  02\r\n[hkey_current_user\\software\\orvane\\chronel]\r\n\"a\"=dword:00000002\r\n"
        "\"Orphan\" junk\r\n[-HKEY_CURRENT_USER\\Gone]\r\n\"C\"=dword:00000003\r\n[Unterminated\r\n\"D\"=dword:00000004\r\n";
    const std::optional<RegDocument> document = ParseRegFile(text);
    ASSERT_TRUE(document);
    ASSERT_EQ(document->keys.size(), 1u);
    EXPECT_EQ(*FindRegValue(*document, kKey, "A"), RegValue::Dword(2));   // the last assignment wins
    EXPECT_EQ(*FindRegValue(*document, kKey, "B"), Typed(3, "\x01\x02"));   // continued hex line
    EXPECT_EQ(FindRegValue(*document, kKey, "C"), nullptr);
    EXPECT_EQ(FindRegValue(*document, kKey, "D"), nullptr);
}

TEST(RegFile, RefusesTextsThatAreNotRegistryFiles)
{
    EXPECT_FALSE(ParseRegFile("Windows Registry Editor Version 5.00\n"));
    EXPECT_FALSE(ParseRegFile(std::string("\x7F" "ELF\0\0", 6)));
    EXPECT_FALSE(ParseRegFile("[Common]\nID_0=x\n"));
    EXPECT_TRUE(ParseRegFile(""));
    EXPECT_TRUE(ParseRegFile(" \n\t\n"));
}

TEST(RegFile, FormatsEveryValueSoItReadsBackExactly)
{
    RegDocument document;
    SetRegValue(document, kKey, "Int", RegValue::Dword(0x80000000u));
    SetRegValue(document, kKey, "Text", RegValue::Sz("a \"quoted\" C:\\path \xD0\x96"));
    SetRegValue(document, kKey, "Lines", RegValue::Sz("line\r\nnext\ttab"));
    SetRegValue(document, kKey, "Bytes", Typed(3, std::string("\0\xFF", 2)));
    SetRegValue(document, kKey, "Unterminated", Typed(1, "abc"));
    SetRegValue(document, kKey, "", RegValue::Sz("default"));
    SetRegValue(document, "HKEY_CURRENT_USER\\Other", "Kept", RegValue::Dword(7));
    const std::string text = FormatRegFile(document);
    EXPECT_NE(text.find("\"Int\"=dword:80000000\n"), std::string::npos);
    EXPECT_NE(text.find("\"Text\"=\"a \\\"quoted\\\" C:\\\\path \xD0\x96\"\n"), std::string::npos);
    const std::optional<RegDocument> back = ParseRegFile(text);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->keys.size(), document.keys.size());
    for (std::size_t k = 0; k < document.keys.size(); ++k) {
        ASSERT_EQ(back->keys[k].values.size(), document.keys[k].values.size());
        for (std::size_t v = 0; v < document.keys[k].values.size(); ++v) {
            EXPECT_EQ(back->keys[k].values[v].name, document.keys[k].values[v].name);
            EXPECT_EQ(back->keys[k].values[v].value, document.keys[k].values[v].value);
        }
    }
}

TEST(RegFile, SettingTheSameValueChangesNothing)
{
    RegDocument document;
    EXPECT_TRUE(SetRegValue(document, kKey, "Lang", RegValue::Sz("english")));
    EXPECT_FALSE(SetRegValue(document, kKey, "LANG", RegValue::Sz("english")));
    EXPECT_TRUE(SetRegValue(document, kKey, "lang", RegValue::Dword(1)));
    EXPECT_EQ(document.keys.front().values.size(), 1u);
}

TEST(RegFile, RandomInputNeverBreaksTheParser)
{
    // Random bytes, and valid files with random damage: parsing never fails hard, and whatever it
    // reads is written and read back unchanged.
    std::mt19937 random(1851);
    RegDocument seed;
    SetRegValue(seed, kKey, "Lang", RegValue::Sz("english"));
    SetRegValue(seed, kKey, "Span", RegValue::Sz("1.50000000000000000000"));
    SetRegValue(seed, kKey, "ActivePageNo", RegValue::Dword(3));
    SetRegValue(seed, kKey, "Bin", Typed(3, "\x01\x02\x03"));
    const std::string valid = FormatRegFile(seed);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        if (round % 2 == 0) {
            text = valid;
            const int edits = 1 + static_cast<int>(random() % 8);
            for (int e = 0; e < edits && !text.empty(); ++e) {
                const std::size_t at = random() % text.size();
                switch (random() % 3) {
                case 0: text[at] = static_cast<char>(random()); break;
                case 1: text.erase(at, 1 + random() % 10); break;
                default: text.insert(at, 1, "\"\\=[]:,\n\r@-"[random() % 12]); break;
                }
            }
        } else {
            text = "REGEDIT4\n";
            const int length = static_cast<int>(random() % 300);
            for (int i = 0; i < length; ++i) {
                text += static_cast<char>(random() % 4 == 0 ? "\"\\=[]@\n"[random() % 7] : random());
            }
        }
        const std::optional<RegDocument> document = ParseRegFile(text);
        if (!document) {
            continue;
        }
        const std::string formatted = FormatRegFile(*document);
        const std::optional<RegDocument> again = ParseRegFile(formatted);
        ASSERT_TRUE(again) << text;
        ASSERT_EQ(FormatRegFile(*again), formatted) << text;
    }
}

}  // namespace
