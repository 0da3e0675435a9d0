#include "platform/system_clock.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/temp_folder.h"

namespace {

TEST(SystemClock, LocalTimeOfAnInstantAndBack)
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
        EXPECT_EQ(clock.UnixTimeAt(local.GetAsSystemTime().value()), unix) << tz;
    }
    const ScopedEnv utc("TZ", "UTC0");
    EXPECT_EQ(clock.LocalTimeAt(0), (SystemTime{1970, 1, 4, 1, 0, 0, 0, 0}));
    // mktime's failure value is a valid instant here; the far past converts too.
    EXPECT_EQ(clock.UnixTimeAt(SystemTime{1969, 12, 0, 31, 23, 59, 59}), -1);
    EXPECT_EQ(clock.UnixTimeAt(SystemTime{100, 1, 0, 1}), -59011459200);
}

}   // namespace
