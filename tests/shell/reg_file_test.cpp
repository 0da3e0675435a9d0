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
        const RegFileContent content = ParseRegFile(text);
        // A line that is not taken makes the file one that must be kept aside before it is rewritten.
        EXPECT_EQ(content.complete, c.expected.has_value());
        const RegValue* value = content.document.Find(kKey, c.name);
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
    const RegFileContent content = ParseRegFile(text);
    EXPECT_FALSE(content.complete);
    ASSERT_EQ(content.document.Keys().size(), 1u);
    EXPECT_EQ(*content.document.Find(kKey, "A"), RegValue::Dword(2));   // the last assignment wins
    EXPECT_EQ(*content.document.Find(kKey, "B"), Typed(3, "\x01\x02"));   // continued hex line
    EXPECT_EQ(content.document.Find(kKey, "C"), nullptr);
    EXPECT_EQ(content.document.Find(kKey, "D"), nullptr);
}

TEST(RegFile, DamagedTextsGiveWhatCanBeRead)
{
    const std::string key = "[" + std::string(kKey) + "]\n";
    const struct {
        const char* why;
        std::string text;
        bool complete;
        std::optional<RegValue> lang;
    } cases[] = {
        {"empty", "", true, std::nullopt},
        {"white space", " \n\t\n", true, std::nullopt},
        {"signature alone", "REGEDIT4\n", true, std::nullopt},
        {"no signature", key + "\"Lang\"=\"x\"\n", false, RegValue::Sz("x")},
        {"signature not first", "\n" + key + "REGEDIT4\n\"Lang\"=\"x\"\n", false, RegValue::Sz("x")},
        {"junk between values", "REGEDIT4\n" + key + "\"A\"=dword:00000001\n\x01\x02zz\n\"Lang\"=\"x\"\n", false,
         RegValue::Sz("x")},
        {"value before any key", "REGEDIT4\n\"Lang\"=\"y\"\n" + key + "\"Lang\"=\"x\"\n", false, RegValue::Sz("x")},
        {"another format", "Windows Registry Editor Version 5.00\n", false, std::nullopt},
        {"binary", std::string("\x7F" "ELF\0\0", 6), false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const RegFileContent content = ParseRegFile(c.text);
        EXPECT_EQ(content.complete, c.complete);
        const RegValue* lang = content.document.Find(kKey, "lang");
        ASSERT_EQ(lang != nullptr, c.lang.has_value());
        if (lang != nullptr) {
            EXPECT_EQ(*lang, *c.lang);
        }
    }
}

TEST(RegFile, FormatsEveryValueSoItReadsBackExactly)
{
    RegDocument document;
    document.Set(kKey, "Int", RegValue::Dword(0x80000000u));
    document.Set(kKey, "Text", RegValue::Sz("a \"quoted\" C:\\path \xD0\x96"));
    document.Set(kKey, "Lines", RegValue::Sz("line\r\nnext\ttab"));
    document.Set(kKey, "Bytes", Typed(3, std::string("\0\xFF", 2)));
    document.Set(kKey, "Unterminated", Typed(1, "abc"));
    document.Set(kKey, "", RegValue::Sz("default"));
    document.Set("HKEY_CURRENT_USER\\Other", "Kept", RegValue::Dword(7));
    const std::string text = FormatRegFile(document);
    EXPECT_NE(text.find("\"Int\"=dword:80000000\n"), std::string::npos);
    EXPECT_NE(text.find("\"Text\"=\"a \\\"quoted\\\" C:\\\\path \xD0\x96\"\n"), std::string::npos);
    const RegFileContent back = ParseRegFile(text);
    EXPECT_TRUE(back.complete);
    const std::vector<RegKey>& keys = back.document.Keys();
    ASSERT_EQ(keys.size(), document.Keys().size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        ASSERT_EQ(keys[k].values.size(), document.Keys()[k].values.size());
        for (std::size_t v = 0; v < keys[k].values.size(); ++v) {
            EXPECT_EQ(keys[k].values[v].name, document.Keys()[k].values[v].name);
            EXPECT_EQ(keys[k].values[v].value, document.Keys()[k].values[v].value);
        }
    }
}

TEST(RegFile, SettingTheSameValueChangesNothing)
{
    RegDocument document;
    EXPECT_TRUE(document.Set(kKey, "Lang", RegValue::Sz("english")));
    EXPECT_FALSE(document.Set(kKey, "LANG", RegValue::Sz("english")));
    EXPECT_TRUE(document.Set(kKey, "lang", RegValue::Dword(1)));
    EXPECT_FALSE(document.AddKey("hkey_current_user\\software\\orvane\\chronel"));
    EXPECT_EQ(document.Keys().front().values.size(), 1u);
}

TEST(RegFile, RandomInputNeverBreaksTheParser)
{
    // Random bytes, and valid files with random damage: parsing never fails hard, and whatever it
    // reads is written and read back unchanged and complete.
    std::mt19937 random(1851);
    RegDocument seed;
    seed.Set(kKey, "Lang", RegValue::Sz("english"));
    seed.Set(kKey, "Span", RegValue::Sz("1.50000000000000000000"));
    seed.Set(kKey, "ActivePageNo", RegValue::Dword(3));
    seed.Set(kKey, "Bin", Typed(3, "\x01\x02\x03"));
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
        const std::string formatted = FormatRegFile(ParseRegFile(text).document);
        const RegFileContent again = ParseRegFile(formatted);
        ASSERT_TRUE(again.complete) << text;
        ASSERT_EQ(FormatRegFile(again.document), formatted) << text;
    }
}

}  // namespace
