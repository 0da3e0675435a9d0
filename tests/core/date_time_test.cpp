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
    // Invalid unless marked: a failed set keeps the old value.
    const struct {
        int y, mo, d, h, mi, s;
        bool valid = false;
    } cases[] = {
        {2005, 2, 29, 0, 0, 0}, {2004, 2, 29, 0, 0, 0, true}, {99, 1, 1, 0, 0, 0},
        {10000, 1, 1, 0, 0, 0}, {2004, 1, 1, 24, 0, 0},       {2004, 1, 1, 0, 60, 0},
        {2004, 1, 1, 0, 0, 60}, {2004, 1, 1, 0, 0, -1},       {2004, 0, 1, 0, 0, 0},
        {2004, 13, 1, 0, 0, 0}, {2004, 1, 0, 0, 0, 0},        {2004, 4, 31, 0, 0, 0},
        {1900, 2, 29, 0, 0, 0}, {100, 1, 1, 0, 0, 0, true},   {9999, 12, 31, 23, 59, 59, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << '-' << c.mo << '-' << c.d << ' ' << c.h << ':' << c.mi << ':' << c.s);
        DateTime value = At(2001, 2, 3, 4, 5, 6);
        EXPECT_EQ(value.SetDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s) == DateTime::Status::Valid, c.valid);
        EXPECT_EQ(value.IsValid(), c.valid);
        if (c.valid) {
            EXPECT_EQ(std::tuple(value.GetYear(), value.GetMonth(), value.GetDay(), value.GetHour(), value.GetMinute(),
                                 value.GetSecond()),
                      std::tuple(c.y, c.mo, c.d, c.h, c.mi, c.s));
        } else {
            EXPECT_EQ(value.GetStoredValue(), At(2001, 2, 3, 4, 5, 6).GetStoredValue());
            EXPECT_EQ(std::tuple(value.GetYear(), value.GetDayOfWeek(), value.GetDayOfYear()), std::tuple(-1, -1, -1));
        }
    }
}

TEST(DateTime, StoredAndContinuousForms)
{
    // The stored form counts the fraction forward also before day 0; the continuous form does not. A fresh
    // value is day 0 and valid.
    for (const auto& [value, stored, continuous] : {std::tuple{At(1899, 12, 30), 0.0, 0.0},
                                                    {DateTime(), 0.0, 0.0},
                                                    {At(1899, 12, 29, 6), -1.25, -0.75},
                                                    {At(1899, 12, 29, 18), -1.75, -0.25},
                                                    {At(2004, 3, 1, 12), 38047.5, 38047.5},
                                                    {At(100, 1, 1), -657434.0, -657434.0},
                                                    {At(9999, 12, 31), 2958465.0, 2958465.0}}) {
        EXPECT_DOUBLE_EQ(value.GetStoredValue(), stored);
        EXPECT_DOUBLE_EQ(value.GetContinuousValue(), continuous) << stored;
        EXPECT_EQ(DateTime::FromStoredValue(stored), value);
    }
    EXPECT_FALSE(DateTime::FromStoredValue(std::nan("")).IsValid());
    EXPECT_FALSE(DateTime::FromStoredValue(2958466.0).IsValid());
}

TEST(DateTime, ArithmeticAcrossDayZero)
{
    EXPECT_DOUBLE_EQ((At(1899, 12, 29, 18) - At(1899, 12, 30, 6)).GetTotalDays(), -0.5);
    EXPECT_DOUBLE_EQ((At(1899, 12, 29, 6) + DateTimeSpan(1.0)).GetStoredValue(), 0.25);
    EXPECT_EQ(At(1899, 12, 30, 3) - DateTimeSpan(0.25), At(1899, 12, 29, 21)) << "crossing day 0 backwards";
}

TEST(DateTime, AddingPastEitherEndIsInvalid)
{
    // Adding `days`, and subtracting their negation, is valid only when marked.
    const struct {
        DateTime from;
        double days;
        bool valid = false;
    } cases[] = {
        {At(9999, 12, 31, 23, 59, 59), kSecond},
        {At(9999, 12, 31, 23, 59, 58), kSecond, true},
        {At(100, 1, 1), -kSecond},
        {At(100, 1, 1, 0, 0, 1), -kSecond, true},
        {At(2000, 1, 1), 1e300},
        {At(2000, 1, 1), -1e300},
        {At(2000, 1, 1), std::numeric_limits<double>::infinity()},
        {At(2000, 1, 1), std::numeric_limits<double>::quiet_NaN()},
        {At(100, 1, 1), 2958465.0 + 657434.0, true},   // the whole range
    };
    for (const auto& c : cases) {
        EXPECT_EQ((c.from + DateTimeSpan(c.days)).IsValid(), c.valid) << c.from.GetStoredValue() << " + " << c.days;
        EXPECT_EQ((c.from - DateTimeSpan(-c.days)).IsValid(), c.valid) << c.from.GetStoredValue() << " - " << -c.days;
    }
}

TEST(DateTime, InvalidityPropagates)
{
    const DateTime invalid = DateTime::Invalid();
    EXPECT_FALSE((invalid + DateTimeSpan(1.0)).IsValid());
    EXPECT_FALSE((invalid - DateTimeSpan(-1.0)).IsValid());
    EXPECT_FALSE((At(2000, 1, 1) + DateTimeSpan::Invalid()).IsValid());
    EXPECT_FALSE((invalid - At(2000, 1, 1)).IsValid());
    EXPECT_FALSE((At(2000, 1, 1) - invalid).IsValid());
    EXPECT_FALSE(invalid.GetAsSystemTime().has_value());
    EXPECT_NE(invalid, DateTime()) << "equality looks at the status too";
}

TEST(DateTime, TakingApartRoundsToTheSecond)
{
    // Seconds before midnight of March 2; the day, hour, minute and second it shows.
    for (const auto& [before, shown] :
         {std::pair{0.5, std::tuple(2, 0, 0, 0)}, {0.7, {1, 23, 59, 59}}, {1.0, {1, 23, 59, 59}}}) {
        for (int year : {1850, 2004}) {   // on both sides of day 0
            const DateTime value = At(year, 3, 2) - DateTimeSpan(before * kSecond);
            EXPECT_EQ(std::tuple(value.GetDay(), value.GetHour(), value.GetMinute(), value.GetSecond()), shown)
                << year << ' ' << before;
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
    for (; expected <= last; expected += days{1}, value += DateTimeSpan(1.0)) {
        const year_month_day ymd{expected};
        const auto parts = value.GetParts();
        ASSERT_TRUE(parts.has_value());
        ASSERT_EQ(std::tuple(parts->year, parts->month, parts->day, parts->hour),
                  std::tuple(static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                             static_cast<int>(static_cast<unsigned>(ymd.day())), 12));
        ASSERT_EQ(parts->dayOfWeek, static_cast<int>(weekday{expected}.c_encoding()));
        ASSERT_EQ(parts->dayOfYear, (expected - sys_days{ymd.year() / January / 1}).count() + 1);
        ASSERT_EQ(DateTime::FromParts(parts->year, parts->month, parts->day, 12, 0, 0), value);
    }
}

TEST(DateTime, SystemTimeRecords)
{
    EXPECT_EQ(At(2004, 3, 1, 13, 5, 9).GetAsSystemTime(), (SystemTime{2004, 3, 1, 1, 13, 5, 9, 0}))
        << "Monday is day of week 1";
    EXPECT_EQ(At(2004, 3, 7).GetDayOfWeek(), 1) << "Sunday is 1 here";
    DateTime fromRecord;
    fromRecord.SetDateTime(SystemTime{2004, 3, 6, 6, 13, 5, 9, 999});
    EXPECT_EQ(fromRecord, At(2004, 3, 6, 13, 5, 9)) << "day of week and milliseconds are ignored";
}

DateTimeSpan Made(std::int64_t d, int h, int mi, int s)
{
    DateTimeSpan span;
    span.SetDateTimeSpan(d, h, mi, s);
    return span;
}

TEST(DateTimeSpan, PartsAfterRoundingToTheSecond)
{
    constexpr int kInt = 2147483647;
    constexpr std::int64_t kWeeks = std::int64_t{kInt} * 7;
    // Days, hours, minutes, seconds and the total in seconds. Beyond 32 bits of days; every part at its
    // largest; 1e300 saturates instead of overflowing; not a number reads as nothing.
    for (const auto& [span, days, hours, minutes, seconds, total] :
         {std::tuple{Made(0, 25, 0, 0), std::int64_t{1}, 1, 0, 0, std::int64_t{90000}},
          {DateTimeSpan(-1.25), -1, -6, 0, 0, -108000},
          {Made(1, 2, 3, 4), 1, 2, 3, 4, 93784},
          {Made(0, 0, 90, 3600), 0, 2, 30, 0, 9000},
          {Made(1, -1, 0, 0), 0, 23, 0, 0, 82800},
          {DateTimeSpan(0.9999 * kSecond), 0, 0, 0, 1, 1},
          {Made(kWeeks, 0, 0, 0), kWeeks, 0, 0, 0, kWeeks * 86400},
          {Made(kInt, kInt, kInt, kInt), 2238478295, 12, 21, 7, 193404524732467},
          {DateTimeSpan(1e300), 104166666666666, 16, 0, 0, 9000000000000000000},
          {DateTimeSpan(std::nan("")), 0, 0, 0, 0, 0}}) {
        EXPECT_EQ(std::tuple(span.GetDays(), span.GetHours(), span.GetMinutes(), span.GetSeconds()),
                  std::tuple(days, hours, minutes, seconds));
        EXPECT_EQ(span.GetTotalSeconds(), total);
    }
}

}   // namespace
