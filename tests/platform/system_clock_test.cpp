#include "platform/system_clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// Sets TZ to a POSIX rule (no zone files needed) for one test and puts the old one back.
class ScopedTz {
public:
    explicit ScopedTz(const char* tz)
    {
        if (const char* old = std::getenv("TZ")) {
            m_old = old;
            m_hadOld = true;
        }
        setenv("TZ", tz, 1);
        tzset();
    }
    ~ScopedTz()
    {
        if (m_hadOld) {
            setenv("TZ", m_old.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::string m_old;
    bool m_hadOld = false;
};

TEST(SystemClock, LocalTimeOfAnInstant)
{
    const SystemClock clock;
    {
        const ScopedTz utc("UTC0");
        EXPECT_EQ(clock.LocalTimeAt(0), (SystemTime{1970, 1, 4, 1, 0, 0, 0, 0}));
        EXPECT_EQ(EpochMarker(clock), DateTime::FromParts(1970, 1, 1, 0, 0, 0));
    }
    {
        const ScopedTz east("<+0130>-1:30");
        EXPECT_EQ(EpochMarker(clock), DateTime::FromParts(1970, 1, 1, 1, 30, 0));
    }
    {
        const ScopedTz west("EST5EDT,M3.2.0,M11.1.0");
        // 2004-07-01 12:00:00 UTC falls in daylight saving time: 08:00 local.
        EXPECT_EQ(FromUnixTime(1088683200, clock), DateTime::FromParts(2004, 7, 1, 8, 0, 0));
        EXPECT_EQ(EpochMarker(clock), DateTime::FromParts(1969, 12, 31, 19, 0, 0));
    }
}

}  // namespace
