#include "core/clock.h"

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"

namespace {

TEST(Clock, NowComesFromTheClock)
{
    FakeClock clock(SystemTime{2004, 3, 0, 1, 13, 5, 9, 0});
    EXPECT_EQ(GetNow(clock), DateTime::FromParts(2004, 3, 1, 13, 5, 9));
    clock.Set(SystemTime{2004, 2, 0, 30, 0, 0, 0, 0});
    EXPECT_FALSE(GetNow(clock).IsValid()) << "a clock reading that is no moment gives an invalid value";
}

TEST(Clock, UnixTimeInTheLocalZone)
{
    const FakeClock utc(SystemTime{}, 0);
    const FakeClock berlin(SystemTime{}, 3600);
    const FakeClock newYork(SystemTime{}, -5 * 3600);
    EXPECT_EQ(EpochMarker(utc), DateTime::FromParts(1970, 1, 1, 0, 0, 0));
    EXPECT_EQ(EpochMarker(berlin), DateTime::FromParts(1970, 1, 1, 1, 0, 0));
    EXPECT_EQ(EpochMarker(newYork), DateTime::FromParts(1969, 12, 31, 19, 0, 0));
    EXPECT_EQ(FromUnixTime(1078146309, utc), DateTime::FromParts(2004, 3, 1, 13, 5, 9));
    EXPECT_FALSE(FromUnixTime(-1, utc).IsValid()) << "instants before 1970 cannot be converted";
}

}  // namespace
