#include "platform/system_clock.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/temp_folder.h"

namespace {

TEST(SystemClock, LocalTimeOfAnInstant)
{
    // POSIX rules: no zone files needed.
    const std::tuple<const char*, std::int64_t, DateTime> cases[] = {
        {"UTC0", 0, DateTime::FromParts(1970, 1, 1, 0, 0, 0)},
        {"<+0130>-1:30", 0, DateTime::FromParts(1970, 1, 1, 1, 30, 0)},
        {"EST5EDT,M3.2.0,M11.1.0", 0, DateTime::FromParts(1969, 12, 31, 19, 0, 0)},
        {"EST5EDT,M3.2.0,M11.1.0", 1088683200, DateTime::FromParts(2004, 7, 1, 8, 0, 0)},   // daylight saving time
    };
    const SystemClock clock;
    for (const auto& [tz, unix, local] : cases) {
        const ScopedEnv zone("TZ", tz);
        EXPECT_EQ(unix == 0 ? EpochMarker(clock) : FromUnixTime(unix, clock), local) << tz;
    }
    const ScopedEnv utc("TZ", "UTC0");
    EXPECT_EQ(clock.LocalTimeAt(0), (SystemTime{1970, 1, 4, 1, 0, 0, 0, 0}));
}

TEST(SystemClock, InstantOfALocalTime)
{
    const std::tuple<const char*, SystemTime, std::int64_t> cases[] = {
        {"UTC0", SystemTime{1970, 1, 0, 1}, 0},
        {"UTC0", SystemTime{1969, 12, 0, 31, 23, 59, 59}, -1},   // mktime's failure value, valid here
        {"EST5EDT,M3.2.0,M11.1.0", SystemTime{2004, 7, 0, 1, 8}, 1088683200},
        {"<+0130>-1:30", SystemTime{100, 1, 0, 1, 1, 30}, -59011459200},
        {"UTC0", SystemTime{9999, 12, 0, 31, 23, 59, 59}, 253402300799},
    };
    const SystemClock clock;
    for (const auto& [tz, local, unix] : cases) {
        const ScopedEnv zone("TZ", tz);
        EXPECT_EQ(clock.UnixTimeAt(local), unix) << tz << " " << unix;
    }
}

}   // namespace
