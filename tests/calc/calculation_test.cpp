#include "calc/calculation.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/calendar.h"
#include "fakes/date_at.h"
#include "fakes/fake_locale_formatter.h"
#include "fakes/fake_messages.h"

namespace {

const DateTime F = DateTime::Invalid();   // the result fails
const std::string kMax = "2147483647";
const std::string kAll = kMax + "|" + kMax + "|" + kMax + "|" + kMax + "|" + kMax + "|" + kMax + "|" + kMax;
const DateTime kLast = At(9999, 12, 31, 23, 59, 59);
const DateTimeSpan kSecond(1.0 / 86400);

TEST(Calculation, Results)
{
    const struct {
        const char* why;
        DateTime start;
        std::string counts;   // years|months|weeks|days|hours|minutes|seconds as typed; missing ones empty
        bool months;          // "Months" selected, else "Weeks"
        DateTime difference, sum;
        const char* failed = "--";   // why the difference and the sum fail: no such date (N), outside (O)
    } cases[] = {
        {"month step onto February 31", At(2004, 1, 31, 10), "0|1", true, At(2003, 12, 31, 10), F, "-N"},
        {"leap day plus four years", At(2004, 2, 29), "4", true, At(2000, 2, 29), At(2008, 2, 29)},
        {"a month step across the year end", At(2003, 12, 31), "0|1", true, F, At(2004, 1, 31), "N-"},
        {"years before months onto a leap day", At(2003, 1, 29), "1|1", true, At(2001, 12, 29), At(2004, 2, 29)},
        {"31st to 30-day months both ways", At(2004, 3, 31, 12), "0|1", true, F, F, "NN"},
        {"leap day plus one year", At(2004, 2, 29), "1", true, F, F, "NN"},
        {"a month step past 9999", At(9999, 1, 31), "0|12", true, At(9998, 1, 31), F, "-O"},
        {"weeks replace the months count", At(2004, 3, 15), "0|5|2|3", false, At(2004, 2, 27), At(2004, 4, 1)},
        {"hours, seconds combine", At(2004, 1, 1), "0|0|0|0|25|0|3600", true, At(2003, 12, 30, 22), At(2004, 1, 2, 2)},
        {"before 1601 cannot be shown", At(1800, 6, 1), "250", true, F, At(2050, 6, 1), "O-"},
        {"before 1754 has no Time Info", At(1754, 1, 1, 12), "100", true, At(1654, 1, 1, 12), At(1854, 1, 1, 12)},
        {"empty counts read as zero", At(2004, 5, 6, 7), "||||||", true, At(2004, 5, 6, 7), At(2004, 5, 6, 7)},
        // Blanks, a plus, junk after the digits, leading zeros; a blank after the sign reads as zero.
        {"read as typed", At(2004, 1, 1), " 1|\t+1|0|1x 2|007|- 3", true, At(2002, 11, 29, 17), At(2005, 2, 2, 7)},
        {"negative months are ignored", At(2004, 5, 6), "0|-3", true, At(2004, 5, 6), At(2004, 5, 6)},
        {"negative years turn around", At(2004, 5, 6), "-3", true, At(2007, 5, 6), At(2001, 5, 6)},
        {"a negative count beyond 32 bits", At(2004, 5, 6), "0|0|0|-9999999999", true, F, F, "OO"},
        {"years, months, then the span", At(2004, 1, 31), "1|1|0|1", true, At(2002, 12, 30), F, "-N"},
        {"difference steps in the same order", At(2004, 3, 1), "0|1|0|1", true, At(2004, 1, 31), At(2004, 4, 2)},
        {"largest week count does not wrap", At(2004, 1, 1), "0|0|" + kMax, false, F, F, "OO"},
        {"every count at its largest", At(2004, 1, 1), kAll, false, F, F, "OO"},
        {"to the last moment", At(9999, 12, 31, 23, 59, 58), "||||||1", true, At(9999, 12, 31, 23, 59, 57), kLast},
        {"past the last moment", kLast, "||||||1", true, kLast - kSecond, F, "-O"},
        {"an invalid start fails both", F, "0", true, F, F, "OO"},
    };
    const FakeLocaleFormatter english;
    const auto text = [&](const DateTime& v, bool date) {
        return v.IsValid() ? *(date ? FormatLongDate(english, v) : FormatTime(english, v)) : std::string("*");
    };
    const auto reason = [](char code) {
        return code == 'N'   ? ResultFailure::NoSuchDate
               : code == 'O' ? ResultFailure::OutsideRange
                             : ResultFailure::None;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        CalculationInput input{c.start, {}, c.months, !c.months, false};
        std::istringstream counts(c.counts);
        for (std::string& t : input.countTexts) {
            std::getline(counts, t, '|');
        }
        const CalculationResult r = ComputeCalculation(input, english);
        EXPECT_EQ(r.differenceAvailable ? r.difference : F, c.difference);
        EXPECT_EQ(r.sumAvailable ? r.sum : F, c.sum);
        const std::array<FieldText, 4> fields{{{1095, text(c.difference, true)},
                                               {1096, text(c.difference, false)},
                                               {1097, text(c.sum, true)},
                                               {1098, text(c.sum, false)}}};
        EXPECT_EQ(r.fields, fields);
        EXPECT_EQ(r.differenceFailure, reason(c.failed[0]));
        EXPECT_EQ(r.sumFailure, reason(c.failed[1]));
        // A Time Info button leads only to a moment the Time Info pickers can hold.
        EXPECT_EQ(r.controls[5], (ControlState{1055, IsInPickerRange(c.difference)}));
        EXPECT_EQ(r.controls[6], (ControlState{1056, IsInPickerRange(c.sum)}));
    }
}

TEST(Calculation, CountsAboveTheLargestAreClamped)
{
    const FakeLocaleFormatter english;
    for (const auto& [typed, shown] : {std::pair{"2147483647", "2147483647"},
                                       {"2147483648", "2147483647"},
                                       {"99999999999999999999999", "2147483647"},
                                       {"-9999999999", "-9999999999"},
                                       {"12abc", "12abc"}}) {
        for (int field = 0; field < kCountFieldCount; ++field) {
            CalculationInput input{At(2004, 1, 1), {"0", "0", "0", "0", "0", "0", "0"}, true, false, false};
            input.countTexts[field] = typed;
            const CalculationResult r = ComputeCalculation(input, english);
            EXPECT_EQ(r.countTexts[field], shown);
            for (int other = 0; other < kCountFieldCount; ++other) {
                EXPECT_EQ(r.clamped[other], other == field && typed != std::string(shown)) << typed << " in " << field;
            }
        }
    }
}

// A long date that ends with a period takes the place of the sentence's own, and only there.
TEST(Calculation, OutsideTextEndsWithOnePeriod)
{
    struct : LocaleFormatter {
        std::string LongDate(const SystemTime& d) const override { return std::to_string(d.year) + " г."; }
        std::string Time(const SystemTime&) const override { return {}; }
        std::string DatePicture(const SystemTime&, std::string_view) const override { return {}; }
    } russian;
    FakeMessages messages;
    messages.Override(kOutsideRangeMessage, "%1.. %2.");
    EXPECT_EQ(FailureText(ResultFailure::OutsideRange, russian, messages), "1601 г.. 9999 г.");
}

}   // namespace
