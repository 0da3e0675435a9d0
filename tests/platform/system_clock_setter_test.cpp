#include "platform/system_clock_setter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "fakes/temp_folder.h"

// Every test hands the setter its own timedated and clock_settime: none may ever set the real clock.

namespace {

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

TEST(SystemClockSetter, TimedatedFirstThenClockSettime)
{
    const ScopedEnv zone("TZ", "UTC0");   // POSIX rules, not the machine's zone
    const struct {
        const char* why;
        SystemClockSetter::BusReply reply;
        int settimeError;
        bool ok;
        std::string message;
        std::size_t settimeCalls;
    } cases[] = {
        {"timedated sets it", {Kind::Ok, {}}, 0, true, "", 0},
        {"timedated refuses in its own words",
         {Kind::Error, "Automatic time synchronization is enabled"}, 0, false,
         "Automatic time synchronization is enabled", 0},
        {"no timedated: clock_settime sets it", {Kind::NoService, "The name is not activatable"}, 0, true, "", 1},
        {"no timedated and no right", {Kind::NoService, {}}, EPERM, false, std::strerror(EPERM), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Calls calls;
        SystemClockSetter setter = Setter(calls, c.reply, c.settimeError);
        const SetTimeResult result = setter.SetLocalTime(SystemTime{2004, 1, 0, 1, 12, 0, 0});
        EXPECT_EQ(result.ok, c.ok);
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(calls.timedated, std::vector<std::int64_t>{1072958400LL * 1000000}) << "microseconds of UTC";
        EXPECT_EQ(calls.settime, std::vector<std::int64_t>(c.settimeCalls, 1072958400));
    }
}

TEST(SystemClockSetter, FieldsThatNameNoMomentReachNoClock)
{
    Calls calls;
    SystemClockSetter setter = Setter(calls, {Kind::Ok, {}}, 0);
    for (const SystemTime time : {SystemTime{2004, 2, 0, 30}, SystemTime{2004, 13, 0, 1}, SystemTime{2004, 1, 0, 1, 24},
                                  SystemTime{}}) {
        const SetTimeResult result = setter.SetLocalTime(time);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, std::strerror(EINVAL));
    }
    EXPECT_TRUE(calls.timedated.empty() && calls.settime.empty());
}

TEST(SystemClockSetter, LocalFieldsFollowTheZone)
{
    const struct {
        const char* why;
        const char* tz;
        SystemTime local;
        std::int64_t unix;
    } cases[] = {
        {"UTC", "UTC0", SystemTime{2004, 11, 0, 20, 15, 30, 0}, 1100964600},
        {"east of UTC in winter", "CET-1CEST,M3.5.0,M10.5.0/3", SystemTime{2004, 1, 0, 1, 13, 0, 0}, 1072958400},
        {"east of UTC in summer", "CET-1CEST,M3.5.0,M10.5.0/3", SystemTime{2004, 7, 0, 1, 14, 0, 0}, 1088683200},
        {"first second of the range", "UTC0", SystemTime{1971, 1, 0, 1}, 31536000},
        {"last second of the range", "UTC0", SystemTime{2036, 12, 0, 31, 23, 59, 59}, 2114380799},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const ScopedEnv zone("TZ", c.tz);
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
