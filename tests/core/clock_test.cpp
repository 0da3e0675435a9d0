#include "core/clock.h"

#include <gtest/gtest.h>

#include "fakes/date_at.h"
#include "fakes/fake_clock.h"

namespace {

TEST(Clock, NowAndUnixTimeInTheLocalZone)
{
    FakeClock utc(SystemTime{2004, 3, 0, 1, 13, 5, 9, 0}, 0);
    EXPECT_EQ(GetNow(utc), At(2004, 3, 1, 13, 5, 9));
    utc.Set(SystemTime{2004, 2, 0, 30, 0, 0, 0, 0});
    EXPECT_FALSE(GetNow(utc).IsValid()) << "a clock reading that is no moment gives an invalid value";
    EXPECT_EQ(EpochMarker(utc), At(1970, 1, 1));
    EXPECT_EQ(EpochMarker(FakeClock(SystemTime{}, 3600)), At(1970, 1, 1, 1));
    EXPECT_EQ(EpochMarker(FakeClock(SystemTime{}, -5 * 3600)), At(1969, 12, 31, 19));
    EXPECT_EQ(FromUnixTime(1078146309, utc), At(2004, 3, 1, 13, 5, 9));
    EXPECT_FALSE(FromUnixTime(-1, utc).IsValid()) << "instants before 1970 cannot be converted";
}

}   // namespace
