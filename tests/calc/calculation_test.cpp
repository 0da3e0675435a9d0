#include "calc/calculation.h"
#include "core/count_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "core/calendar.h"
#include "fakes/date_at.h"
#include "fakes/fake_locale_formatter.h"

namespace {

const DateTime kFails = DateTime::Invalid();

struct CalcCase {
    const char* why;
    DateTime start;
    const char* counts;   // years|months|weeks|days|hours|minutes|seconds as typed
    bool months;          // "Months" selected, else "Weeks"
    DateTime difference, sum;
};

const CalcCase kCases[] = {
    {"month step onto February 31", At(2004, 1, 31, 10), "0|1|0|0|0|0|0", true, At(2003, 12, 31, 10), kFails},
    {"leap day plus a year", At(2004, 2, 29), "1|0|0|0|0|0|0", true, kFails, kFails},
    {"leap day plus four years", At(2004, 2, 29), "4|0|0|0|0|0|0", true, At(2000, 2, 29), At(2008, 2, 29)},
    {"31st to 30-day months both ways", At(2004, 3, 31, 12), "0|1|0|0|0|0|0", true, kFails, kFails},
    {"weeks replace the months count", At(2004, 3, 15), "0|5|2|3|0|0|0", false, At(2004, 2, 27), At(2004, 4, 1)},
    {"hours and seconds combine", At(2004, 1, 1), "0|0|0|0|25|0|3600", true, At(2003, 12, 30, 22), At(2004, 1, 2, 2)},
    {"a result before 1601 cannot be shown", At(1800, 6, 1), "250|0|0|0|0|0|0", true, kFails, At(2050, 6, 1)},
    {"a result before 1754 has no Time Info", At(1754, 1, 1, 12), "100|0|0|0|0|0|0", true,
     At(1654, 1, 1, 12), At(1854, 1, 1, 12)},
    {"largest year count", At(2004, 1, 1), "2147483647|0|0|0|0|0|0", true, kFails, kFails},
    {"all counts zero", At(2004, 5, 6, 7, 8, 9), "0|0|0|0|0|0|0", true,
     At(2004, 5, 6, 7, 8, 9), At(2004, 5, 6, 7, 8, 9)},
    {"empty counts read as zero", At(2004, 5, 6), "||||||", true, At(2004, 5, 6), At(2004, 5, 6)},
    {"negative months are ignored", At(2004, 5, 6), "0|-3|0|0|0|0|0", true, At(2004, 5, 6), At(2004, 5, 6)},
    {"negative years turn around", At(2004, 5, 6), "-3|0|0|0|0|0|0", true, At(2007, 5, 6), At(2001, 5, 6)},
    {"years, then months, then the span", At(2004, 1, 31), "1|1|0|1|0|0|0", true, At(2002, 12, 30), kFails},
    {"the difference steps in the same order, not reversed", At(2004, 3, 1), "0|1|0|1|0|0|0", true,
     At(2004, 1, 31), At(2004, 4, 2)},
    {"largest week count does not wrap", At(2004, 1, 1), "0|0|2147483647|0|0|0|0", false, kFails, kFails},
    {"every count at its largest", At(2004, 1, 1),
     "2147483647|2147483647|2147483647|2147483647|2147483647|2147483647|2147483647", false, kFails, kFails},
    {"span to the last moment of the range", At(9999, 12, 31, 23, 59, 58), "0|0|0|0|0|0|1", true,
     At(9999, 12, 31, 23, 59, 57), At(9999, 12, 31, 23, 59, 59)},
    {"span past the last moment", At(9999, 12, 31, 23, 59, 59), "0|0|0|0|0|0|1", true,
     At(9999, 12, 31, 23, 59, 58), kFails},
    {"an invalid start fails both", kFails, "0|0|0|0|0|0|0", true, kFails, kFails},
};

TEST(Calculation, Results)
{
    const FakeLocaleFormatter english;
    for (const CalcCase& c : kCases) {
        SCOPED_TRACE(c.why);
        CalculationInput input{c.start, {}, c.months, !c.months, false};
        std::istringstream counts(c.counts);
        for (std::string& text : input.countTexts) {
            std::getline(counts, text, '|');
        }
        const CalculationResult r = ComputeCalculation(input, english);
        EXPECT_EQ(r.differenceAvailable ? r.difference : kFails, c.difference);
        EXPECT_EQ(r.sumAvailable ? r.sum : kFails, c.sum);
        const auto text = [&](const DateTime& v, bool date) {
            return v.IsValid() ? *(date ? FormatLongDate(english, v) : FormatTime(english, v)) : std::string("*");
        };
        EXPECT_EQ(r.fields[0], (FieldText{1095, text(c.difference, true)}));
        EXPECT_EQ(r.fields[1], (FieldText{1096, text(c.difference, false)}));
        EXPECT_EQ(r.fields[2], (FieldText{1097, text(c.sum, true)}));
        EXPECT_EQ(r.fields[3], (FieldText{1098, text(c.sum, false)}));
        // A Time Info button leads only to a moment the Time Info pickers can hold.
        EXPECT_EQ(r.controls[5], (ControlState{1055, IsInPickerRange(c.difference)}));
        EXPECT_EQ(r.controls[6], (ControlState{1056, IsInPickerRange(c.sum)}));
    }
}

TEST(Calculation, CountsAboveTheLargestAreClamped)
{
    const struct {
        const char* why;
        const char* typed;
        const char* shown;
        bool clamped;
    } cases[] = {
        {"a tenth digit past the largest count", "9999999999", "2147483647", true},
        {"the largest count stays", "2147483647", "2147483647", false},
        {"one past the largest count", "2147483648", "2147483647", true},
        {"beyond 64 bits", "99999999999999999999999", "2147483647", true},
        {"large negative counts are not clamped", "-9999999999", "-9999999999", false},
        {"junk after the digits", "12abc", "12abc", false},
    };
    const FakeLocaleFormatter english;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        for (int field = 0; field < kCountFieldCount; ++field) {
            CalculationInput input{At(2004, 1, 1), {"0", "0", "0", "0", "0", "0", "0"}, true, false, false};
            input.countTexts[field] = c.typed;
            const CalculationResult r = ComputeCalculation(input, english);
            EXPECT_EQ(r.countTexts[field], c.shown);
            for (int other = 0; other < kCountFieldCount; ++other) {
                EXPECT_EQ(r.clamped[other], other == field && c.clamped);
            }
        }
    }
}

TEST(Calculation, ReadingACountAsTyped)
{
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const std::pair<const char*, std::int32_t> cases[] = {
        {"", 0},    {"abc", 0}, {"  12", 12}, {"\t+7", 7}, {"-3", -3}, {"12abc", 12}, {"1 2", 1}, {"- 3", 0}, {"007", 7},
        {"2147483647", 2147483647}, {"2147483648", 2147483647}, {"-2147483648", kMin}, {"-2147483649", kMin},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadCount(c.first), c.second) << '"' << c.first << '"';
    }
    EXPECT_EQ(ReadCount64("9999999999"), 9999999999);
    EXPECT_EQ(ReadCount64("99999999999999999999"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(ReadCount64("-99999999999999999999"), std::numeric_limits<std::int64_t>::min());
}

}  // namespace
