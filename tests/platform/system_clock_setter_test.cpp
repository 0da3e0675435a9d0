#include "platform/system_clock_setter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "fakes/temp_folder.h"

// Every test hands the setter its own timedated and clock_settime: none may ever set the real clock.

namespace {

SystemTime Record(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return SystemTime{static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(mo), 0, static_cast<std::uint16_t>(d),
                      static_cast<std::uint16_t>(h), static_cast<std::uint16_t>(mi), static_cast<std::uint16_t>(s), 0};
}

// TZ set to a POSIX rule for one scope, so the conversions do not depend on the machine's zone.
struct ScopedZone {
    explicit ScopedZone(const char* tz) : env("TZ", tz) { tzset(); }
    ~ScopedZone() { tzset(); }
    ScopedEnv env;
};

using Kind = SystemClockSetter::BusReply::Kind;

struct Calls {
    std::vector<std::int64_t> timedated;
    std::vector<std::int64_t> settime;
};

SystemClockSetter Setter(Calls& calls, SystemClockSetter::BusReply reply, int settimeError)
{
    return SystemClockSetter(
        [&calls, reply](std::int64_t usec) {
            calls.timedated.push_back(usec);
            return reply;
        },
        [&calls, settimeError](const timespec& time) {
            calls.settime.push_back(time.tv_sec);
            return settimeError;
        });
}

struct RouteCase {
    const char* why;
    SystemClockSetter::BusReply reply;
    int settimeError;
    bool ok;
    std::string message;
    std::size_t settimeCalls;
};

TEST(SystemClockSetter, TimedatedFirstThenClockSettime)
{
    const ScopedZone zone("UTC0");
    const RouteCase cases[] = {
        {"timedated sets it", {Kind::Ok, {}}, 0, true, "", 0},
        {"timedated refuses in its own words",
         {Kind::Error, "Automatic time synchronization is enabled"}, 0, false,
         "Automatic time synchronization is enabled", 0},
        {"no timedated: clock_settime sets it", {Kind::NoService, "The name is not activatable"}, 0, true, "", 1},
        {"no timedated and no right", {Kind::NoService, {}}, EPERM, false, std::strerror(EPERM), 1},
    };
    for (const RouteCase& c : cases) {
        SCOPED_TRACE(c.why);
        Calls calls;
        SystemClockSetter setter = Setter(calls, c.reply, c.settimeError);
        const SetTimeResult result = setter.SetLocalTime(Record(2004, 1, 1, 12, 0, 0));
        EXPECT_EQ(result.ok, c.ok);
        EXPECT_EQ(result.message, c.message);
        ASSERT_EQ(calls.timedated.size(), 1u);
        EXPECT_EQ(calls.timedated[0], 1072958400LL * 1000000) << "microseconds of UTC";
        ASSERT_EQ(calls.settime.size(), c.settimeCalls);
        for (const std::int64_t seconds : calls.settime) {
            EXPECT_EQ(seconds, 1072958400);
        }
    }
}

TEST(SystemClockSetter, FieldsThatNameNoMomentReachNoClock)
{
    Calls calls;
    SystemClockSetter setter = Setter(calls, {Kind::Ok, {}}, 0);
    for (const SystemTime& time : {Record(2004, 2, 30), Record(2004, 13, 1), Record(2004, 1, 1, 24), Record(0, 0, 0)}) {
        const SetTimeResult result = setter.SetLocalTime(time);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, std::strerror(EINVAL));
    }
    EXPECT_TRUE(calls.timedated.empty());
    EXPECT_TRUE(calls.settime.empty());
}

TEST(SystemClockSetter, LocalFieldsFollowTheZone)
{
    const struct {
        const char* why;
        const char* tz;
        SystemTime local;
        std::int64_t unix;
    } cases[] = {
        {"UTC", "UTC0", Record(2004, 11, 20, 15, 30, 0), 1100964600},
        {"east of UTC in winter", "CET-1CEST,M3.5.0,M10.5.0/3", Record(2004, 1, 1, 13, 0, 0), 1072958400},
        {"east of UTC in summer", "CET-1CEST,M3.5.0,M10.5.0/3", Record(2004, 7, 1, 14, 0, 0), 1088683200},
        {"first second of the range", "UTC0", Record(1971, 1, 1), 31536000},
        {"last second of the range", "UTC0", Record(2036, 12, 31, 23, 59, 59), 2114380799},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const ScopedZone zone(c.tz);
        EXPECT_EQ(LocalFieldsToUnixSeconds(c.local), c.unix);
    }
}

TEST(SystemClockSetter, WhichBusErrorsMeanNoTimedated)
{
    const struct {
        const char* name;
        bool noTimedated;
    } cases[] = {
        {"org.freedesktop.DBus.Error.ServiceUnknown", true},
        {"org.freedesktop.DBus.Error.NameHasNoOwner", true},
        {"org.freedesktop.DBus.Error.Spawn.ChildExited", true},
        {"org.freedesktop.systemd1.UnitMasked", true},
        {"org.freedesktop.DBus.Error.AccessDenied", false},
        {"org.freedesktop.DBus.Error.InteractiveAuthorizationRequired", false},
        {"org.freedesktop.timedate1.AutomaticTimeSyncEnabled", false},
        {"org.freedesktop.DBus.Error.NoReply", false},   // polkit may still be asking
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MeansNoTimedated(c.name), c.noTimedated) << c.name;
    }
}

}  // namespace
