#include "settings/reg_file.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace {

constexpr std::string_view kKey = "HKEY_CURRENT_USER\\Software\\Orvane\\Chronel";

std::string Under(std::string_view line)
{
    return "REGEDIT4\n\n[" + std::string(kKey) + "]\n" + std::string(line) + "\n";
}

const std::string kKeyLine = "[" + std::string(kKey) + "]\n";

// The text in UTF-16 after its byte-order mark.
std::string Utf16(std::u16string_view text, bool bigEndian)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char bytes[] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        out += bigEndian ? bytes[1] : bytes[0];
        out += bigEndian ? bytes[0] : bytes[1];
    }
    return out;
}

constexpr std::u16string_view kUtf16File =
    u"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Orvane\\Chronel]\r\n"
    u"\"Lang\"=\"\u041F\U0001F600\"\r\n";
const RegValue kUtf16Lang = RegValue::Sz("\xD0\x9F\xF0\x9F\x98\x80");

// A line that is not taken makes the file incomplete: it must be kept aside before it is rewritten.
const std::tuple<const char*, std::string, const char*, bool, std::optional<RegValue>> kParseCases[] = {
    {"double word", Under("\"ActivePageNo\"=dword:0000000a"), "ActivePageNo", true, RegValue::Dword(10)},
    {"escaped text", Under(R"("T"="C:\\T \"x\"")"), "T", true, RegValue::Sz("C:\\T \"x\"")},
    {"blanks around '='", Under("\"Lang\" = \"x\"  "), "Lang", true, RegValue::Sz("x")},
    {"binary", Under("\"B\"=hex:01,ff,00"), "B", true, RegValue{3, std::string("\x01\xFF\x00", 3)}},
    {"other type", Under("\"E\"=hex(2):41,00"), "E", true, RegValue{2, std::string("A\0", 2)}},
    {"empty hex", Under("\"E\"=hex:"), "E", true, RegValue{3, ""}},
    {"default value", Under("@=\"d\""), "", true, RegValue::Sz("d")},
    {"truncated double word", Under("\"A\"=dword:0000000"), "A", false, std::nullopt},
    {"truncated text", Under("\"Lang\"=\"engl"), "Lang", false, std::nullopt},
    {"junk after text", Under("\"Lang\"=\"x\" y"), "Lang", false, std::nullopt},
    {"deletion", Under("\"Lang\"=-"), "Lang", false, std::nullopt},
    {"unquoted name", Under("Lang=\"x\""), "Lang", false, std::nullopt},
    {"bad hex digit", Under("\"A\"=dword:0000000g"), "A", false, std::nullopt},
    {"CR line ends", "REGEDIT4\r\r[" + std::string(kKey) + "]\r\"Lang\"=\"x\"\r", "Lang", true, RegValue::Sz("x")},
    {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + Under("\"Lang\"=\"x\""), "Lang", true, RegValue::Sz("x")},
    {"UTF-16 LE", Utf16(kUtf16File, false), "Lang", true, kUtf16Lang},
    {"UTF-16 BE", Utf16(kUtf16File, true), "Lang", true, kUtf16Lang},
    {"UTF-16, lone surrogate", Utf16(u"REGEDIT4\n", false) + std::string("\x00\xD8", 2), "Lang", false, std::nullopt},
    {"UTF-16 with an odd byte", Utf16(kUtf16File, false) + "x", "Lang", false, kUtf16Lang},
    {"empty", "", "lang", true, std::nullopt},
    {"no signature", kKeyLine + "\"Lang\"=\"x\"\n", "lang", false, RegValue::Sz("x")},
    {"signature not first", "\n" + kKeyLine + "REGEDIT4\n\"Lang\"=\"x\"\n", "lang", false, RegValue::Sz("x")},
    {"junk line", "REGEDIT4\n" + kKeyLine + "\"A\"=\"\"\n\x01zz\n\"L\"=\"x\"\n", "l", false, RegValue::Sz("x")},
    {"value before any key", "REGEDIT4\n\"L\"=\"y\"\n" + kKeyLine + "\"L\"=\"x\"\n", "l", false, RegValue::Sz("x")},
    {"binary file", std::string("\177ELF\0\0", 6), "lang", false, std::nullopt},
};

TEST(RegFile, ReadsEveryValueFormAndWhatADamagedTextLeaves)
{
    for (const auto& [why, text, name, complete, expected] : kParseCases) {
        SCOPED_TRACE(why);
        const RegFileContent content = ParseRegFile(text);
        EXPECT_EQ(content.complete, complete);
        const RegValue* value = content.document.Find(kKey, name);
        EXPECT_EQ(value ? std::optional(*value) : std::nullopt, expected);
    }
}

TEST(RegFile, FormatsEveryValueSoItReadsBackExactly)
{
    RegDocument document;
    document.Set(kKey, "Int", RegValue::Dword(0x80000000u));
    document.Set(kKey, "Text", RegValue::Sz("a \"quoted\" C:\\path \xD0\x96"));
    document.Set(kKey, "Lines", RegValue::Sz("line\r\nnext\ttab"));
    document.Set(kKey, "Bytes", RegValue{3, std::string("\0\xFF", 2)});
    document.Set(kKey, "Unterminated", RegValue{1, "abc"});
    document.Set(kKey, "", RegValue::Sz("default"));
    document.Set("HKEY_CURRENT_USER\\Other", "Kept", RegValue::Dword(7));
    // Setting the same value under any case changes nothing; another type is a change.
    EXPECT_FALSE(document.Set(kKey, "TEXT", RegValue::Sz("a \"quoted\" C:\\path \xD0\x96")));
    EXPECT_TRUE(document.Set(kKey, "Int", RegValue::Sz("x")));
    EXPECT_TRUE(document.Set(kKey, "Int", RegValue::Dword(0x80000000u)));
    EXPECT_FALSE(document.AddKey("hkey_current_user\\software\\orvane\\chronel"));
    const std::string text = FormatRegFile(document);
    EXPECT_NE(text.find("\"Int\"=dword:80000000\n"), std::string::npos);
    EXPECT_NE(text.find("\"Text\"=\"a \\\"quoted\\\" C:\\\\path \xD0\x96\"\n"), std::string::npos);
    const RegFileContent back = ParseRegFile(text);
    EXPECT_TRUE(back.complete);
    for (const RegKey& key : document.Keys()) {
        for (const RegEntry& entry : key.values) {
            const RegValue* read = back.document.Find(key.path, entry.name);
            EXPECT_EQ(read ? std::optional(*read) : std::nullopt, entry.value) << entry.name;
        }
    }
    EXPECT_EQ(FormatRegFile(back.document), text) << "nothing more, in the same order";
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
    seed.Set(kKey, "Bin", RegValue{3, "\x01\x02\x03"});
    const std::string valid = FormatRegFile(seed);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        if (round % 2 == 0) {
            text = valid;
            const int edits = 1 + static_cast<int>(random() % 8);
            for (int e = 0; e < edits && !text.empty(); ++e) {
                const std::size_t at = random() % text.size();
                const auto kind = random() % 3;
                if (kind == 0) {
                    text[at] = static_cast<char>(random());
                } else if (kind == 1) {
                    text.erase(at, 1 + random() % 10);
                } else {
                    text.insert(at, 1, "\"\\=[]:,\n\r@-"[random() % 12]);
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

}   // namespace
