#include "core/calendar.h"
#include "fakes/date_at.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

namespace {

TEST(Calendar, LeapYears)
{
    for (int year : {2000, 2004, 0, -400, 400, 9996}) {
        EXPECT_TRUE(IsLeapYear(year)) << year;
    }
    for (int year : {1900, 2100, 2003, -4}) {
        EXPECT_FALSE(IsLeapYear(year)) << year;
    }
}

TEST(Calendar, EveryMonthsLengthAgreesWithStdChrono)
{
    using namespace std::chrono;
    for (const int y : {1900, 2000, 2003, 2004}) {
        for (unsigned m = 1; m <= 12; ++m) {
            const unsigned days = static_cast<unsigned>((year{y} / month{m} / last).day());
            EXPECT_EQ(GetDaysInMonth(At(y, static_cast<int>(m), 1)), static_cast<int>(days)) << y << '-' << m;
        }
    }
    EXPECT_EQ(GetDaysInMonth(DateTime::Invalid()), 0);
    EXPECT_EQ(DaysInMonth(2003, 13), 0);
}

TEST(Calendar, YearAndMonthStepsNeverClamp)
{
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const DateTime F = DateTime::Invalid();   // the step fails
    const struct {
        const char* why;
        DateTime (*step)(const DateTime&, std::int32_t);
        DateTime from;
        std::int32_t count;
        DateTime expected;
    } cases[] = {
        {"leap day to a common year", AddYears, At(2004, 2, 29), 1, F},
        {"leap day to the next leap year", AddYears, At(2004, 2, 29), 4, At(2008, 2, 29)},
        {"negative years step back", AddYears, At(2004, 5, 6), -4, At(2000, 5, 6)},
        {"year past 9999", AddYears, At(9999, 1, 1), 1, F},
        {"year before 100", SubtractYears, At(100, 12, 31), 1, F},
        {"largest count does not wrap", AddYears, At(2004, 1, 1), kMax, F},
        {"smallest count does not wrap", SubtractYears, At(2004, 1, 1), kMin, F},
        {"January 31 plus a month", AddMonths, At(2004, 1, 31), 1, F},
        {"January 29 to a leap February", AddMonths, At(2004, 1, 29), 1, At(2004, 2, 29)},
        {"March 31 minus a month", SubtractMonths, At(2004, 3, 31), 1, F},
        {"over a year end", AddMonths, At(2004, 11, 15), 14, At(2006, 1, 15)},
        {"onto December, no year end", AddMonths, At(2004, 10, 31), 2, At(2004, 12, 31)},
        {"back onto January, no year end", SubtractMonths, At(2004, 2, 29), 1, At(2004, 1, 29)},
        {"January minus one", SubtractMonths, At(2004, 1, 10, 1, 2, 3), 1, At(2003, 12, 10, 1, 2, 3)},
        {"negative months are ignored", AddMonths, At(2004, 1, 31), -3, At(2004, 1, 31)},
        {"largest month count", AddMonths, At(2004, 1, 1), kMax, F},
        {"an invalid value stays invalid", AddMonths, F, 0, F},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const DateTime value = c.step(c.from, c.count);
        EXPECT_EQ(value.IsValid(), c.expected.IsValid());
        if (c.expected.IsValid()) {
            EXPECT_EQ(value, c.expected);
        }
    }
}

}   // namespace
