#include "core/calendar.h"
#include "fakes/date_at.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(Calendar, LeapYears)
{
    const struct {
        int year;
        bool leap;
    } cases[] = {{1900, false}, {2000, true}, {2004, true}, {2100, false}, {2003, false},
                 {0, true},     {-400, true}, {-4, false}, {400, true},   {9996, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(IsLeapYear(c.year), c.leap) << c.year;
    }
}

TEST(Calendar, DaysInMonth)
{
    EXPECT_EQ(GetDaysInMonth(At(2000, 2, 13)), 29);
    EXPECT_EQ(GetDaysInMonth(At(1900, 2, 1)), 28);
    EXPECT_EQ(GetDaysInMonth(At(2003, 4, 30)), 30);
    EXPECT_EQ(GetDaysInMonth(At(2003, 12, 1)), 31);
    EXPECT_EQ(GetDaysInMonth(DateTime::Invalid()), 0);
    EXPECT_EQ(DaysInMonth(2003, 13), 0);
}

enum class Step { AddYears, SubtractYears, AddMonths, SubtractMonths };

struct StepCase {
    const char* why;
    Step step;
    DateTime from;
    std::int32_t count;
    DateTime expected;   // invalid when the step must fail
};

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

const StepCase kStepCases[] = {
    {"leap day to a common year", Step::AddYears, At(2004, 2, 29), 1, DateTime::Invalid()},
    {"leap day to the next leap year", Step::AddYears, At(2004, 2, 29), 4, At(2008, 2, 29)},
    {"time of day is kept", Step::AddYears, At(2004, 5, 6, 7, 8, 9), 3, At(2007, 5, 6, 7, 8, 9)},
    {"negative years step back", Step::AddYears, At(2004, 5, 6), -4, At(2000, 5, 6)},
    {"year past 9999", Step::AddYears, At(9999, 1, 1), 1, DateTime::Invalid()},
    {"year before 100", Step::SubtractYears, At(100, 12, 31), 1, DateTime::Invalid()},
    {"largest count does not wrap", Step::AddYears, At(2004, 1, 1), kMax, DateTime::Invalid()},
    {"smallest count does not wrap", Step::SubtractYears, At(2004, 1, 1), kMin, DateTime::Invalid()},
    {"January 31 plus a month", Step::AddMonths, At(2004, 1, 31), 1, DateTime::Invalid()},
    {"January 29 to a common February", Step::AddMonths, At(2005, 1, 29), 1, DateTime::Invalid()},
    {"January 29 to a leap February", Step::AddMonths, At(2004, 1, 29), 1, At(2004, 2, 29)},
    {"March 31 minus a month", Step::SubtractMonths, At(2004, 3, 31), 1, DateTime::Invalid()},
    {"over a year end", Step::AddMonths, At(2004, 11, 15), 14, At(2006, 1, 15)},
    {"exactly twelve months", Step::AddMonths, At(2004, 11, 15), 12, At(2005, 11, 15)},
    {"December plus one", Step::AddMonths, At(2004, 12, 15), 1, At(2005, 1, 15)},
    {"back over a year end", Step::SubtractMonths, At(2004, 3, 10), 3, At(2003, 12, 10)},
    {"back more than a year", Step::SubtractMonths, At(2004, 3, 10), 15, At(2002, 12, 10)},
    {"January minus one", Step::SubtractMonths, At(2004, 1, 10, 1, 2, 3), 1, At(2003, 12, 10, 1, 2, 3)},
    {"zero months change nothing", Step::AddMonths, At(2004, 1, 31), 0, At(2004, 1, 31)},
    {"negative months are ignored", Step::AddMonths, At(2004, 1, 31), -3, At(2004, 1, 31)},
    {"negative months are ignored backwards", Step::SubtractMonths, At(2004, 1, 31), -3, At(2004, 1, 31)},
    {"largest month count", Step::AddMonths, At(2004, 1, 1), kMax, DateTime::Invalid()},
    {"largest month count backwards", Step::SubtractMonths, At(2004, 1, 1), kMax, DateTime::Invalid()},
    {"an invalid value stays invalid", Step::AddMonths, DateTime::Invalid(), 0, DateTime::Invalid()},
    {"an invalid value stays invalid by years", Step::AddYears, DateTime::Invalid(), 0, DateTime::Invalid()},
};

bool Apply(Step step, DateTime& value, std::int32_t count)
{
    switch (step) {
    case Step::AddYears:
        return AddYears(value, count);
    case Step::SubtractYears:
        return SubtractYears(value, count);
    case Step::AddMonths:
        return AddMonths(value, count);
    case Step::SubtractMonths:
        return SubtractMonths(value, count);
    }
    return false;
}

TEST(Calendar, YearAndMonthStepsNeverClamp)
{
    for (const StepCase& c : kStepCases) {
        SCOPED_TRACE(c.why);
        DateTime value = c.from;
        EXPECT_EQ(Apply(c.step, value, c.count), c.expected.IsValid());
        EXPECT_EQ(value.IsValid(), c.expected.IsValid());
        if (c.expected.IsValid()) {
            EXPECT_EQ(value, c.expected);
        }
    }
}

TEST(Calendar, SpanToSeconds)
{
    DateTimeSpan span;
    span.SetDateTimeSpan(1, 2, 3, 4);
    EXPECT_EQ(SpanToSeconds(span), 93784);
    EXPECT_EQ(SpanToSeconds(DateTimeSpan(-1.25)), -108000);
}

TEST(Calendar, PickerHalves)
{
    const SystemTime date{2004, 3, 0, 1, 23, 59, 59, 500};
    const SystemTime time{1990, 7, 0, 9, 13, 5, 9, 0};
    EXPECT_EQ(CombineDateAndTime(date, time), At(2004, 3, 1, 13, 5, 9));
    EXPECT_EQ(DateOfRecord(date), At(2004, 3, 1));
    EXPECT_EQ(TimeOfRecord(time), At(1971, 3, 9, 13, 5, 9));
    EXPECT_FALSE(CombineDateAndTime(SystemTime{2005, 2, 0, 29}, time).IsValid());
}

}  // namespace
