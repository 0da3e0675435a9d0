#include "core/clock.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/date_at.h"
#include "fakes/fake_clock.h"

namespace {

TEST(Clock, NowIsTheClocksReading)
{
    FakeClock clock(SystemTime{2004, 3, 0, 1, 13, 5, 9, 0});
    EXPECT_EQ(GetNow(clock), At(2004, 3, 1, 13, 5, 9));
    clock.Set(SystemTime{2004, 2, 0, 30, 0, 0, 0, 0});
    EXPECT_FALSE(GetNow(clock).IsValid()) << "a clock reading that is no moment gives an invalid value";
}

TEST(Clock, UnixTimesInTheLocalZone)
{
    // Unix seconds (0 read as the epoch marker), the zone's offset east of UTC, the local time.
    const std::tuple<std::int64_t, int, DateTime> cases[] = {
        {0, 0, At(1970, 1, 1)},
        {0, 3600, At(1970, 1, 1, 1)},
        {0, -5 * 3600, At(1969, 12, 31, 19)},
        {1078146309, 0, At(2004, 3, 1, 13, 5, 9)},
        {-1, 0, DateTime::Invalid()},   // instants before 1970 cannot be converted
    };
    for (const auto& [unix, offset, local] : cases) {
        const FakeClock clock(SystemTime{}, offset);
        EXPECT_EQ(unix == 0 ? EpochMarker(clock) : FromUnixTime(unix, clock), local) << unix << " at " << offset;
    }
}

}   // namespace
