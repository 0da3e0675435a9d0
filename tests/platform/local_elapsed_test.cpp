#include "platform/local_elapsed.h"

#include <gtest/gtest.h>

#include <ctime>
#include <random>
#include <string>
#include <tuple>

#include "core/calendar.h"
#include "fakes/date_at.h"
#include "fakes/fake_zone_source.h"

namespace {

// Skipped wall times read as glibc's mktime reads them: mostly by the offset before the change.
TEST(LocalElapsedTime, KnownCases)
{
    using E = LocalElapsed;
    const std::tuple<const char*, const char*, DateTime, DateTime, std::optional<LocalElapsed>> cases[] = {
        {"a day of 23 hours", "Europe/Berlin", At(2026, 3, 28, 2), At(2026, 3, 30, 2), E{47 * 3600, true, true}},
        {"skipped 02:30 is 03:30, read in winter time", "Europe/Berlin", At(2026, 3, 29, 2, 30), At(2026, 3, 29, 3, 30),
         E{0, true, true}},
        {"repeated 02:30 is the first", "Europe/Berlin", At(2026, 10, 25, 2, 30), At(2026, 10, 25, 3),
         E{5400, true, true}},
        {"skipped, by the new offset", "Europe/Dublin", At(2026, 3, 29, 1, 30), At(2026, 3, 29, 2, 30), E{3600, false}},
        {"half an hour skipped", "Australia/Lord_Howe", At(2026, 10, 4, 2, 15), At(2026, 10, 4, 2, 45),
         E{0, true, true}},
        {"local mean time to CET: no daylight saving", "Europe/Berlin", At(1890, 1, 1), At(1900, 1, 1),
         E{3652 * 86400 - 392, true, false}},
        {"summer time of 1916", "Europe/Berlin", At(1916, 4, 30, 12), At(1916, 5, 1, 12), E{23 * 3600, true, true}},
        {"no daylight saving", "Asia/Kolkata", At(2026, 3, 28), At(2026, 3, 30), std::nullopt},
    };
    for (const auto& [why, zone, from, to, elapsed] : cases) {
        const ScopedZoneEnv tz("TZ", ":" + TestZoneFolder().Path(zone));
        EXPECT_EQ(ElapsedBetweenWallTimes(from, to), elapsed) << why;
    }
}

// The earliest instant that shows the wall time, from every offset of -15:00 to +15:00 in quarter hours,
// and its tm_isdst; none for a skipped wall time or one of local mean time.
std::optional<std::pair<std::int64_t, int>> ScannedInstant(const DateTime& wall)
{
    const std::int64_t asUtc = SpanToSeconds(wall - At(1970, 1, 1));
    for (std::int64_t offset = 15 * 3600; offset >= -15 * 3600; offset -= 900) {
        const auto instant = static_cast<std::time_t>(asUtc - offset);
        std::tm t{};
        if (localtime_r(&instant, &t) &&
            At(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec) == wall) {
            return std::pair{asUtc - offset, t.tm_isdst};
        }
    }
    return std::nullopt;
}

// Random pairs in years with and without rules and far beyond the zone files' own transitions, most of them
// at the hours and in the weeks of the changes.
TEST(LocalElapsedTime, RandomPairsAgreeWithAScanOfOffsets)
{
    ASSERT_TRUE(TestZoneFolder().Ok());
    std::mt19937 random(20260328);
    std::uniform_int_distribution<int> years(1754, 2100), months(1, 12), days(0, 30), hours(0, 23), sixty(0, 59);
    const auto wallTime = [&](int year) {
        const int month = months(random), hour = hours(random) % 4 == 0 ? hours(random) : hours(random) % 4;
        const int day = sixty(random) < 30 ? days(random) % 14 + 1 : DaysInMonth(year, month) - days(random) % 7;
        return At(year, month, day, hour, sixty(random), sixty(random));
    };
    for (const char* zone :
         {"Europe/Berlin", "America/New_York", "Australia/Sydney", "Europe/Dublin", "Australia/Lord_Howe"}) {
        const ScopedZoneEnv tz("TZ", ":" + TestZoneFolder().Path(zone));
        for (int i = 0; i < 3000; ++i) {
            const int year = years(random) + (i % 10 == 0 ? 7000 : 0);
            const DateTime from = wallTime(year), to = wallTime(year + i % 2);
            const auto start = ScannedInstant(from), end = ScannedInstant(to);
            if (start && end) {
                const std::int64_t seconds = end->first - start->first;
                ASSERT_EQ(ElapsedBetweenWallTimes(from, to),
                          (LocalElapsed{seconds, seconds != SpanToSeconds(to - from), start->second != end->second}))
                    << zone << " " << from.Format("%F %T") << " " << to.Format("%F %T");
            }
        }
    }
}

}   // namespace
