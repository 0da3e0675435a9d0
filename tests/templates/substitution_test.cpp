#include "templates/substitution.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>

#include "core/ascii.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_locale_formatter.h"
#include "fakes/fake_macro_value_source.h"
#include "fakes/fake_messages.h"

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
                pages.texts[{macro.source, macro.controlId}] =
                    std::string(macro.code.substr(1, macro.code.size() - 2)) + " value";
            } else if (macro.controlId != 0) {
                pages.pickers[{macro.source, macro.controlId}] = kPicker;
            }
        }
    }
    // What the fakes show for a macro now.
    std::string Shown(const Macro& macro) const
    {
        return macro.source == MacroSource::CurrentDate   ? "Monday, March 01, 2004"
               : macro.source == MacroSource::CurrentTime ? "1:05:09 PM"
               : macro.value == MacroValue::Text          ? pages.texts.at({macro.source, macro.controlId})
               : macro.value == MacroValue::LongDate      ? "Sunday, June 15, 2003"
                                                          : "10:00:00 AM";
    }
    std::string Expanded(std::string text) const
    {
        Expand(text, pages, clock, formatter);
        return text;
    }
    // Replacing in place, resuming behind each insertion: quadratic, but plainly the order of replacement.
    std::string ReferenceExpand(std::string text) const
    {
        for (const Macro& macro : kMacros) {
            const std::string value = Shown(macro);
            std::size_t from = 0;
            for (std::ptrdiff_t at = FindNoCase(text, macro.code, from); at >= 0;
                 at = FindNoCase(text, macro.code, from)) {
                text.replace(static_cast<std::size_t>(at), macro.code.size(), value);
                from = static_cast<std::size_t>(at) + value.size();
            }
        }
        return text;
    }
};

std::string Repeat(std::string_view piece, std::size_t count)
{
    return count == 0 ? std::string() : std::string(piece) + Repeat(piece, count - 1);
}

TEST(Macros, CodesAndCommandsAreUnambiguous)
{
    std::set<std::string_view> codes;
    std::set<int> ids;
    for (const Macro& macro : kMacros) {
        EXPECT_TRUE(codes.insert(macro.code).second && ids.insert(macro.substitutionId).second &&
                    ids.insert(macro.valueId).second)
            << macro.code;
        EXPECT_TRUE(macro.code.size() > 2 && macro.code.front() == '%' && macro.code.back() == '%') << macro.code;
    }
}

const struct {
    const char* why;
    const char* text;
    const char* expanded;
} kTextCases[] = {
    {"letter case is ignored", "%dsd%|%DsD%", "Sunday, June 15, 2003|Sunday, June 15, 2003"},
    {"a short macro never matches inside a longer one", "%DS%/%DSD%", "DS value/Sunday, June 15, 2003"},
    {"unknown macros and lone signs stay", "%DS 100% %XYZ% %", "%DS 100% %XYZ% %"},
    {"bytes beyond ASCII are compared as they are", "%dy%\xC4", "DY value\xC4"},
};

TEST_F(SubstitutionTest, TextsMenuItemsAndFieldsThatAreEmptyMissingOrHoldMacros)
{
    for (const auto& c : kTextCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(Expanded(c.text), c.expanded);
    }
    const Macro& previousFull = *std::ranges::find(kMacros, "%IPFX%", &Macro::code);
    EXPECT_EQ(SubstitutionItemText(previousFull), "Date/Time of &Previous Full\t%IPFX% ");
    EXPECT_EQ(ExpandMenuItemText(SubstitutionItemText(previousFull), pages, clock, formatter),
              "Date/Time of &Previous Full\tIPFX value ");
    for (const char* plain : {"No tab", "Label\tCtrl+N", "Label\t"}) {
        EXPECT_EQ(ExpandMenuItemText(plain, pages, clock, formatter), plain);
    }

    // Replacement runs in table order: a value's own or earlier macros stay, later ones are expanded.
    pages.texts[{MacroSource::Calculation, 1058}] = "%EY% and %ETA%";
    EXPECT_EQ(Expanded("[%EY%]"), "[%EY% and ETA value]");
    pages.texts[{MacroSource::Calculation, 1098}] = "%EY%";
    EXPECT_EQ(Expanded("%ETA%"), "%EY%");

    pages.texts[{MacroSource::Difference, 1050}] = "M%x";
    EXPECT_EQ(Expanded("%D%DY%"), "DM valuex") << "a value's letters meet the text's into a later macro";
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

const struct {
    const char* why;
    const char* item;
    bool dataOnly, addCr;
    const char* line;
} kLineCases[] = {
    {"label, colon, value, blank", "Start &Date\tV", false, false, "Start Date: V "},
    {"value only", "Start &Date\tV", true, false, "V "},
    {"line end", "Start &Date\tV", false, true, "Start Date: V \r\n"},
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
    for (const auto& c : kLineCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(BuildOutputLine(c.item, c.dataOnly, c.addCr), c.line);
    }
}

TEST_F(SubstitutionTest, MatchesTheInPlaceEngineOnRandomTextsAndValues)
{
    std::mt19937 random(8);
    // Codes in mixed case, pieces of codes that can join across an insertion, and loose bytes.
    const auto token = [&] {
        std::string code(kMacros[random() % kMacroCount].code);
        for (char& c : code) {
            c = random() % 2 ? AsciiLower(c) : c;
        }
        const std::size_t split = 1 + random() % (code.size() - 1);
        const unsigned kind = random() % 4;
        return kind == 0   ? code
               : kind == 1 ? code.substr(0, split)
               : kind == 2 ? code.substr(split)
                           : std::string(1, "%%DSEIY \r\n\x80\xff"[random() % 12]);
    };
    const auto randomText = [&](unsigned maxTokens) {
        std::string text;
        for (unsigned n = random() % maxTokens; n > 0; --n) {
            text += token();
        }
        return text;
    };
    for (int round = 0; round < 2000; ++round) {
        for (auto& [key, value] : pages.texts) {
            value = randomText(5);
            if (round % 2 == 0) {
                std::erase(value, '%');   // values that are plain words or loose code letters
            }
        }
        const std::string text = randomText(40);
        std::string expanded = text;
        ASSERT_FALSE(Expand(expanded, pages, clock, formatter).capped);
        ASSERT_EQ(expanded, ReferenceExpand(text)) << text;
    }
}

const struct {
    const char* why;
    const char* before;      // text before the macro, giving the line ends
    const char* character;   // the innermost value is made of it
    bool translated;
} kCapCases[] = {
    {"one-byte characters, line feeds", "a\n", "y", false},
    {"two-byte characters, CR LF", "a\r\nb", "\xC3\xA9", true},
    {"three-byte characters, no line end", "", "\xE2\x82\xAC", false},
    {"four-byte characters", "ab", "\xF0\x9F\x98\x80", true},
};

TEST_F(SubstitutionTest, NestedValuesStopAtTheLimitWithANote)
{
    // Language texts holding codes: each level multiplies the text, here to 204 * 204 * 404 characters.
    pages.texts[{MacroSource::General, 1064}] = Repeat("%ise%", 204);
    pages.texts[{MacroSource::General, 1045}] = Repeat("%ISG%", 204);
    FakeMessages messages;
    messages.Override(kExpansionCutMessage, "[cut]");
    for (const auto& c : kCapCases) {
        SCOPED_TRACE(c.why);
        pages.texts[{MacroSource::Horoscope, 1108}] = Repeat(c.character, 404);
        std::string text = std::string(c.before) + "%IL%";
        ASSERT_TRUE(c.translated ? Expand(text, pages, clock, formatter, messages).capped
                                 : Expand(text, pages, clock, formatter).capped);
        const std::string nl = std::strchr(c.before, '\r') ? "\r\n" : "\n";
        const std::string note = nl + (c.translated ? "[cut]" : std::string(DefaultMessage(kExpansionCutMessage))) + nl;
        ASSERT_TRUE(text.ends_with(note));
        EXPECT_LE(text.size(), kExpansionLimit);
        EXPECT_GT(text.size() + std::strlen(c.character), kExpansionLimit) << "cut no earlier than needed";
        // Whole characters after `before`: a repetition of one character equals itself shifted by one.
        const std::string_view before = c.before, character = c.character;
        const std::string_view cut = std::string_view(text).substr(0, text.size() - note.size());
        const std::string_view repeated = cut.substr(before.size());
        EXPECT_TRUE(cut.starts_with(before) && repeated.starts_with(character) &&
                    repeated.size() % character.size() == 0 &&
                    repeated.substr(character.size()) == repeated.substr(0, repeated.size() - character.size()));
    }
    // The text outgrows the limit at one step though a later macro would shrink it back.
    pages.texts[{MacroSource::Difference, 1050}] = Repeat("y", 200);
    pages.texts[{MacroSource::Calculation, 1058}] = "-";
    EXPECT_TRUE(ExpandMenuItemText("Years\t%DY%" + Repeat("%EY%", 1000), pages, clock, formatter)
                    .ends_with("\n" + std::string(DefaultMessage(kExpansionCutMessage)) + "\n"));
    pages.texts[{MacroSource::Horoscope, 1108}] = "y";
    const std::string cut = ExpandMenuItemText("Leap\t%IL%", pages, clock, formatter);
    EXPECT_EQ(cut.size(), 5 + kMenuItemLimit) << "a menu item stops much earlier";
    EXPECT_TRUE(cut.ends_with("\n" + std::string(DefaultMessage(kExpansionCutMessage)) + "\n"));
}

}   // namespace
