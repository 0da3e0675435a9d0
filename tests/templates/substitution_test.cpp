#include "templates/substitution.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "fakes/fake_clock.h"
#include "fakes/fake_locale_formatter.h"
#include "fakes/fake_macro_value_source.h"

namespace {

const SystemTime kNow{2004, 3, 1, 1, 13, 5, 9, 0};
const SystemTime kPicker{2003, 6, 0, 15, 10, 0, 0, 0};

// Every field filled: a text field shows "<code minus the percent signs> value", a picker kPicker.
struct SubstitutionTest : ::testing::Test {
    FakeClock clock{kNow};
    FakeLocaleFormatter formatter;
    FakeMacroValueSource pages;

    SubstitutionTest()
    {
        for (const Macro& macro : kMacros) {
            if (macro.value == MacroValue::Text) {
                pages.texts[{macro.source, macro.controlId}] = ShownText(macro);
            } else if (macro.controlId != 0) {
                pages.pickers[{macro.source, macro.controlId}] = kPicker;
            }
        }
    }
    static std::string ShownText(const Macro& macro)
    {
        return std::string(macro.code.substr(1, macro.code.size() - 2)) + " value";
    }
    std::string Expanded(std::string text) const
    {
        Expand(text, pages, clock, formatter);
        return text;
    }
};

TEST(Macros, TableIsCompleteAndUnambiguous)
{
    std::set<std::string_view> codes;
    std::set<int> ids;
    for (const Macro& macro : kMacros) {
        EXPECT_TRUE(codes.insert(macro.code).second) << macro.code;
        EXPECT_TRUE(ids.insert(macro.substitutionId).second) << macro.code;
        EXPECT_TRUE(ids.insert(macro.valueId).second) << macro.code;
        EXPECT_EQ(macro.code.front(), '%');
        EXPECT_EQ(macro.code.back(), '%');
    }
    EXPECT_EQ(codes.size(), 54u);
}

TEST_F(SubstitutionTest, EveryMacroBecomesWhatItsFieldShows)
{
    for (const Macro& macro : kMacros) {
        SCOPED_TRACE(macro.code);
        std::string expected;
        switch (macro.source) {
        case MacroSource::CurrentDate:
            expected = "Monday, March 01, 2004";
            break;
        case MacroSource::CurrentTime:
            expected = "1:05:09 PM";
            break;
        default:
            expected = macro.value == MacroValue::Text       ? ShownText(macro)
                       : macro.value == MacroValue::LongDate ? "Sunday, June 15, 2003"
                                                             : "10:00:00 AM";
        }
        EXPECT_EQ(Expanded("<" + std::string(macro.code) + ">"), "<" + expected + ">");
    }
}

struct TextCase {
    const char* why;
    const char* text;
    const char* expanded;
};

const TextCase kTextCases[] = {
    {"letter case is ignored", "%dsd%|%DsD%", "Sunday, June 15, 2003|Sunday, June 15, 2003"},
    {"a short macro never matches inside a longer one", "%DS%/%DSD%", "DS value/Sunday, June 15, 2003"},
    {"unknown macros and lone signs stay", "%DS 100% %XYZ% %", "%DS 100% %XYZ% %"},
    {"every occurrence", "%DY%%DY%%DY%", "DY valueDY valueDY value"},
    {"text without macros", "plain text", "plain text"},
    {"empty text", "", ""},
    {"neighbouring signs", "%%DY%%", "%DY value%"},
};

TEST_F(SubstitutionTest, Texts)
{
    for (const TextCase& c : kTextCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(Expanded(c.text), c.expanded);
    }
}

TEST_F(SubstitutionTest, ValuesHoldingMacros)
{
    // A pasted count that holds its own macro is kept as it is; one that holds a later macro of the
    // table is expanded by that later macro, as replacement runs in table order.
    pages.texts[{MacroSource::Calculation, 1058}] = "%EY% and %ETA%";
    EXPECT_EQ(Expanded("[%EY%]"), "[%EY% and ETA value]");
    pages.texts[{MacroSource::Calculation, 1098}] = "%EY%";
    EXPECT_EQ(Expanded("%ETA%"), "%EY%") << "an earlier macro is not looked for again";
}

TEST_F(SubstitutionTest, MissingPagesAndFields)
{
    pages.texts[{MacroSource::Difference, 1050}] = "";
    EXPECT_EQ(Expanded("a%DY%b"), "ab") << "an empty field removes its macro";
    pages.texts.erase({MacroSource::Difference, 1051});
    EXPECT_EQ(Expanded("%DM%"), "%DM%") << "a missing field keeps its macro";
    pages.pickers[{MacroSource::Difference, 1001}] = SystemTime{1600, 1, 0, 1};
    EXPECT_EQ(Expanded("[%DSD%]"), "[]") << "a date the locale cannot show is empty";

    pages.subPagesExist = false;
    EXPECT_EQ(Expanded("%IST% %ISG% %IWD%"), "10:00:00 AM %ISG% %IWD%");
    pages.pagesExist = false;
    EXPECT_EQ(Expanded("%CD% %DY%"), "%CD% %DY%");
}

TEST_F(SubstitutionTest, MenuItems)
{
    const Macro& previousFull = *std::find_if(kMacros.begin(), kMacros.end(),
                                              [](const Macro& m) { return m.code == "%IPFX%"; });
    EXPECT_EQ(SubstitutionItemText(previousFull), "Date/Time of &Previous Full\t%IPFX% ");
    EXPECT_EQ(ExpandMenuItemText(SubstitutionItemText(previousFull), pages, clock, formatter),
              "Date/Time of &Previous Full\tIPFX value ");
    EXPECT_EQ(ExpandMenuItemText("No tab", pages, clock, formatter), "No tab");
    EXPECT_EQ(ExpandMenuItemText("Label\tCtrl+N", pages, clock, formatter), "Label\tCtrl+N");
    EXPECT_EQ(ExpandMenuItemText("Label\t", pages, clock, formatter), "Label\t");
}

struct LineCase {
    const char* why;
    const char* item;
    bool dataOnly, addCr;
    const char* line;
};

const LineCase kLineCases[] = {
    {"label, colon, value, blank", "Start &Date\tV", false, false, "Start Date: V "},
    {"value only", "Start &Date\tV", true, false, "V "},
    {"line end", "Start &Date\tV", false, true, "Start Date: V \r\n"},
    {"value only with line end", "Start &Date\tV", true, true, "V \r\n"},
    {"a label ending in a blank", "&Hours Overall \t5", false, false, "Hours Overall : 5 "},
    {"a value ending in a blank", "Date/Time of &Previous Full\tX ", false, false, "Date/Time of Previous Full: X  "},
    {"ampersands in the value go too", "&Years\tA&B", false, false, "Years: AB "},
    {"later tabs become separators", "A\tB\tC", false, false, "A: B: C "},
    {"later tabs stay with the value alone", "A\tB\tC", true, false, "B\tC "},
    {"no tab gives no line", "Years", false, false, ""},
    {"empty item", "", true, true, ""},
};

TEST(OutputLine, EveryCombinationOfTheToggles)
{
    for (const LineCase& c : kLineCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(BuildOutputLine(c.item, c.dataOnly, c.addCr), c.line);
    }
}

TEST(FindNoCase, Positions)
{
    EXPECT_EQ(FindNoCase("ab%Dy%", "%DY%", 0), 2);
    EXPECT_EQ(FindNoCase("ab%Dy%", "%DY%", 3), -1);
    EXPECT_EQ(FindNoCase("", "%DY%", 0), -1);
    EXPECT_EQ(FindNoCase("abc", "", 0), -1);
    EXPECT_EQ(FindNoCase("ab", "abc", 0), -1);
    EXPECT_EQ(FindNoCase("xABC", "abc", 0), 1);
    EXPECT_EQ(FindNoCase("\xC4%DY%", "%dy%", 0), 1) << "bytes beyond ASCII are compared as they are";
}

TEST_F(SubstitutionTest, RandomTextsAndValuesAlwaysEnd)
{
    std::mt19937 random(8);
    const std::string alphabet = "%%%%DSEYITCZXdseyi \t&\r\n\x80\xff";
    const auto randomText = [&](std::size_t maxLength) {
        std::string text(random() % maxLength, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        return text;
    };
    for (int round = 0; round < 2000; ++round) {
        for (auto& [key, value] : pages.texts) {
            value = round % 3 == 0 ? std::string(kMacros[random() % kMacroCount].code) : randomText(12);
        }
        std::string text = randomText(200);
        for (int i = 0; i < 4; ++i) {
            text.insert(random() % (text.size() + 1), kMacros[random() % kMacroCount].code);
        }
        Expand(text, pages, clock, formatter);
        // Each replacement inserts at most one field's text; the table bounds how often that can happen.
        ASSERT_LT(text.size(), 200u + 4 * 8 + 54u * 60u * 12u);
    }
}

}  // namespace
