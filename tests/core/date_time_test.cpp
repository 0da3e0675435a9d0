#include "core/date_time.h"
#include "fakes/date_at.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <tuple>

namespace {

constexpr double kSecond = 1.0 / 86400.0;

TEST(DateTime, SetDateTimeChecksEveryComponent)
{
    const struct {
        const char* why;
        int y, mo, d, h, mi, s;
        bool valid;
    } cases[] = {
        {"leap day of a common year", 2005, 2, 29, 0, 0, 0, false},
        {"leap day of a leap year", 2004, 2, 29, 0, 0, 0, true},
        {"year before the range", 99, 1, 1, 0, 0, 0, false},
        {"year after the range", 10000, 1, 1, 0, 0, 0, false},
        {"hour 24", 2004, 1, 1, 24, 0, 0, false},
        {"minute 60", 2004, 1, 1, 0, 60, 0, false},
        {"second 60", 2004, 1, 1, 0, 0, 60, false},
        {"negative second", 2004, 1, 1, 0, 0, -1, false},
        {"month 0", 2004, 0, 1, 0, 0, 0, false},
        {"month 13", 2004, 13, 1, 0, 0, 0, false},
        {"day 0", 2004, 1, 0, 0, 0, 0, false},
        {"April 31", 2004, 4, 31, 0, 0, 0, false},
        {"February 29 of 1900", 1900, 2, 29, 0, 0, 0, false},
        {"February 29 of 2000", 2000, 2, 29, 0, 0, 0, true},
        {"first moment of the range", 100, 1, 1, 0, 0, 0, true},
        {"last moment of the range", 9999, 12, 31, 23, 59, 59, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        DateTime value = At(2001, 2, 3, 4, 5, 6);
        const double before = value.GetStoredValue();
        const DateTime::Status status = value.SetDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s);
        EXPECT_EQ(status == DateTime::Status::Valid, c.valid);
        EXPECT_EQ(value.IsValid(), c.valid);
        if (c.valid) {
            EXPECT_EQ(std::tuple(value.GetYear(), value.GetMonth(), value.GetDay(), value.GetHour(), value.GetMinute(),
                                 value.GetSecond()),
                      std::tuple(c.y, c.mo, c.d, c.h, c.mi, c.s));
        } else {
            EXPECT_EQ(value.GetStoredValue(), before) << "a failed set keeps the old value";
            EXPECT_EQ(std::tuple(value.GetYear(), value.GetDayOfWeek(), value.GetDayOfYear()), std::tuple(-1, -1, -1));
        }
    }
}

TEST(DateTime, StoredAndContinuousForms)
{
    const struct {
        const char* why;
        DateTime value;
        double stored;
        double continuous;
    } cases[] = {
        {"the encoding's day 0", At(1899, 12, 30), 0.0, 0.0},
        {"fraction counts forward before day 0", At(1899, 12, 29, 6), -1.25, -0.75},
        {"evening before day 0", At(1899, 12, 29, 18), -1.75, -0.25},
        {"Unix epoch", At(1970, 1, 1), 25569.0, 25569.0},
        {"noon of a leap-year March", At(2004, 3, 1, 12), 38047.5, 38047.5},
        {"first day of the range", At(100, 1, 1), -657434.0, -657434.0},
        {"last day of the range", At(9999, 12, 31), 2958465.0, 2958465.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_DOUBLE_EQ(c.value.GetStoredValue(), c.stored);
        EXPECT_DOUBLE_EQ(c.value.GetContinuousValue(), c.continuous);
        EXPECT_EQ(DateTime::FromStoredValue(c.stored), c.value);
    }
    EXPECT_EQ(DateTime(), At(1899, 12, 30)) << "a fresh value is day 0 and valid";
}

TEST(DateTime, ArithmeticUsesTheContinuousForm)
{
    EXPECT_LT(At(1899, 12, 29, 6), At(1899, 12, 29, 18));
    EXPECT_GT(At(1899, 12, 29, 18), At(1899, 12, 29, 6));
    EXPECT_DOUBLE_EQ((At(1899, 12, 29, 18) - At(1899, 12, 30, 6)).GetTotalDays(), -0.5);
    const DateTime next = At(1899, 12, 29, 6) + DateTimeSpan(1.0);
    EXPECT_EQ(next, At(1899, 12, 30, 6));
    EXPECT_DOUBLE_EQ(next.GetStoredValue(), 0.25);
    EXPECT_DOUBLE_EQ((At(2004, 3, 1) - At(2004, 2, 28)).GetTotalDays(), 2.0);
    EXPECT_DOUBLE_EQ((At(2005, 3, 1) - At(2005, 2, 28)).GetTotalDays(), 1.0);
    EXPECT_EQ(At(1899, 12, 30, 3) - DateTimeSpan(0.25), At(1899, 12, 29, 21)) << "crossing day 0 backwards";
    DateTime moved = At(2004, 1, 1);
    moved += DateTimeSpan(1.5);
    EXPECT_EQ(moved, At(2004, 1, 2, 12));
    moved -= DateTimeSpan(2.0);
    EXPECT_EQ(moved, At(2003, 12, 31, 12));
}

TEST(DateTime, AddingLeavesTheRangeAsInvalid)
{
    const struct {
        const char* why;
        DateTime from;
        double days;
        bool valid;
    } cases[] = {
        {"one second past the last moment", At(9999, 12, 31, 23, 59, 59), kSecond, false},
        {"onto the last moment", At(9999, 12, 31, 23, 59, 58), kSecond, true},
        {"one second before the first moment", At(100, 1, 1), -kSecond, false},
        {"onto the first moment", At(100, 1, 1, 0, 0, 1), -kSecond, true},
        {"far beyond the range", At(2000, 1, 1), 1e300, false},
        {"far before the range", At(2000, 1, 1), -1e300, false},
        {"infinite span", At(2000, 1, 1), std::numeric_limits<double>::infinity(), false},
        {"not a number", At(2000, 1, 1), std::numeric_limits<double>::quiet_NaN(), false},
        {"the whole range", At(100, 1, 1), 2958465.0 + 657434.0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ((c.from + DateTimeSpan(c.days)).IsValid(), c.valid);
        EXPECT_EQ((c.from - DateTimeSpan(-c.days)).IsValid(), c.valid);
    }
}

TEST(DateTime, InvalidityPropagates)
{
    const DateTime invalid = DateTime::Invalid();
    EXPECT_FALSE((invalid + DateTimeSpan(1.0)).IsValid());
    EXPECT_FALSE((At(2000, 1, 1) + DateTimeSpan::Invalid()).IsValid());
    EXPECT_FALSE((invalid - At(2000, 1, 1)).IsValid());
    EXPECT_FALSE((At(2000, 1, 1) - invalid).IsValid());
    EXPECT_FALSE(invalid.GetAsSystemTime().has_value());
    EXPECT_EQ(invalid.Format("%Y"), "");
    EXPECT_NE(invalid, DateTime()) << "equality looks at the status too";
    EXPECT_FALSE(DateTime::FromStoredValue(std::nan("")).IsValid());
    EXPECT_FALSE(DateTime::FromStoredValue(2958466.0).IsValid());
}

TEST(DateTime, TakingApartRoundsToTheSecond)
{
    const struct {
        const char* why;
        double secondsBeforeMidnight;
        int day, hour, minute, second;
    } cases[] = {
        {"half a second before midnight is the next day", 0.5, 2, 0, 0, 0},
        {"less than half a second", 0.2, 2, 0, 0, 0},
        {"more than half a second", 0.7, 1, 23, 59, 59},
        {"a whole second", 1.0, 1, 23, 59, 59},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        for (int year : {1850, 2004}) {   // on both sides of day 0
            const DateTime value = At(year, 3, 2) - DateTimeSpan(c.secondsBeforeMidnight * kSecond);
            EXPECT_EQ(std::tuple(value.GetDay(), value.GetHour(), value.GetMinute(), value.GetSecond()),
                      std::tuple(c.day, c.hour, c.minute, c.second));
        }
    }
}

TEST(DateTime, EveryDayOfTheRangeAgreesWithStdChrono)
{
    // About 3.6 million days: checking every one leaves no gaps and is cheap.
    using namespace std::chrono;
    sys_days expected = sys_days{year{100} / January / 1};
    const sys_days last = sys_days{year{9999} / December / 31};
    DateTime value = At(100, 1, 1, 12);
    int previousWeekday = -1;
    for (; expected <= last; expected += days{1}, value += DateTimeSpan(1.0)) {
        const year_month_day ymd{expected};
        const auto parts = value.GetParts();
        ASSERT_TRUE(parts.has_value());
        ASSERT_EQ(parts->year, static_cast<int>(ymd.year()));
        ASSERT_EQ(parts->month, static_cast<int>(static_cast<unsigned>(ymd.month())));
        ASSERT_EQ(parts->day, static_cast<int>(static_cast<unsigned>(ymd.day())));
        ASSERT_EQ(parts->hour, 12);
        ASSERT_EQ(parts->dayOfWeek, static_cast<int>(weekday{expected}.c_encoding()));
        const auto dayOfYear = (expected - sys_days{ymd.year() / January / 1}).count() + 1;
        ASSERT_EQ(parts->dayOfYear, dayOfYear);
        if (previousWeekday >= 0) {
            ASSERT_EQ(parts->dayOfWeek, (previousWeekday + 1) % 7);
        }
        previousWeekday = parts->dayOfWeek;
        ASSERT_EQ(DateTime::FromParts(parts->year, parts->month, parts->day, 12, 0, 0), value);
    }
}

TEST(DateTime, SystemTimeAndFormat)
{
    const auto time = At(2004, 3, 1, 13, 5, 9).GetAsSystemTime();
    ASSERT_TRUE(time.has_value());
    EXPECT_EQ(*time, (SystemTime{2004, 3, 1, 1, 13, 5, 9, 0})) << "Monday is day of week 1";
    EXPECT_EQ(At(2004, 3, 7).GetDayOfWeek(), 1) << "Sunday is 1 here";
    DateTime fromRecord;
    fromRecord.SetDateTime(SystemTime{2004, 3, 6, 6, 13, 5, 9, 999});
    EXPECT_EQ(fromRecord, At(2004, 3, 6, 13, 5, 9)) << "day of week and milliseconds are ignored";
    EXPECT_EQ(At(2004, 3, 1, 13, 5, 9).Format("%Y-%m-%d %H:%M:%S"), "2004-03-01 13:05:09");
    EXPECT_EQ(At(2004, 1, 4).Format("%U %j %w"), "01 004 0");
    EXPECT_EQ(At(2004, 1, 3).Format("%U"), "00");
}

struct SpanCase {
    const char* why;
    DateTimeSpan span;
    std::int64_t days;
    int hours, minutes, seconds;
    std::int64_t total;
};

DateTimeSpan Made(std::int64_t d, int h, int mi, int s)
{
    DateTimeSpan span;
    span.SetDateTimeSpan(d, h, mi, s);
    return span;
}

const SpanCase kSpanCases[] = {
    {"25 hours carry into a day", Made(0, 25, 0, 0), 1, 1, 0, 0, 90000},
    {"parts carry the sign", DateTimeSpan(-1.25), -1, -6, 0, 0, -108000},
    {"one of each", Made(1, 2, 3, 4), 1, 2, 3, 4, 93784},
    {"minutes and seconds combine", Made(0, 0, 90, 3600), 0, 2, 30, 0, 9000},
    {"negative counts subtract", Made(1, -1, 0, 0), 0, 23, 0, 0, 82800},
    {"a hair under a second rounds up", DateTimeSpan(0.9999 * kSecond), 0, 0, 0, 1, 1},
    {"beyond 32 bits of days", Made(std::int64_t{2147483647} * 7, 0, 0, 0), std::int64_t{2147483647} * 7, 0, 0, 0,
     std::int64_t{2147483647} * 7 * 86400},
    {"largest counts of every part", Made(2147483647, 2147483647, 2147483647, 2147483647), 2238478295, 12, 21, 7,
     193404524732467},
    {"saturates instead of overflowing", DateTimeSpan(1e300), 104166666666666, 16, 0, 0, 9000000000000000000},
    {"not a number reads as nothing", DateTimeSpan(std::nan("")), 0, 0, 0, 0, 0},
};

TEST(DateTimeSpan, PartsAfterRoundingToTheSecond)
{
    for (const SpanCase& c : kSpanCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(std::tuple(c.span.GetDays(), c.span.GetHours(), c.span.GetMinutes(), c.span.GetSeconds(),
                             c.span.GetTotalSeconds()),
                  std::tuple(c.days, c.hours, c.minutes, c.seconds, c.total));
    }
}

}  // namespace
