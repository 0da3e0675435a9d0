#include "platform/system_clock.h"

#include <gtest/gtest.h>

#include "fakes/temp_folder.h"

namespace {

TEST(SystemClock, LocalTimeOfAnInstant)
{
    const SystemClock clock;
    const struct {
        const char* tz;   // POSIX rules: no zone files needed
        DateTime epoch;
    } cases[] = {
        {"UTC0", DateTime::FromParts(1970, 1, 1, 0, 0, 0)},
        {"<+0130>-1:30", DateTime::FromParts(1970, 1, 1, 1, 30, 0)},
        {"EST5EDT,M3.2.0,M11.1.0", DateTime::FromParts(1969, 12, 31, 19, 0, 0)},
    };
    for (const auto& c : cases) {
        const ScopedEnv tz("TZ", c.tz);
        EXPECT_EQ(EpochMarker(clock), c.epoch) << c.tz;
    }
    const ScopedEnv tz("TZ", "EST5EDT,M3.2.0,M11.1.0");
    EXPECT_EQ(FromUnixTime(1088683200, clock), DateTime::FromParts(2004, 7, 1, 8, 0, 0)) << "daylight saving time";
    const ScopedEnv utc("TZ", "UTC0");
    EXPECT_EQ(clock.LocalTimeAt(0), (SystemTime{1970, 1, 4, 1, 0, 0, 0, 0}));
}

}  // namespace
