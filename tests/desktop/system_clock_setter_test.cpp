#include "desktop/system_clock_setter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <tuple>
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
    // timedated's reply, clock_settime's error, then the result and how often clock_settime was called.
    const std::string refusal = "Automatic time synchronization is enabled";
    const std::tuple<SystemClockSetter::BusReply, int, bool, std::string, std::size_t> cases[] = {
        {{Kind::Ok, {}}, 0, true, "", 0},
        {{Kind::Error, refusal}, 0, false, refusal, 0},   // in timedated's own words
        {{Kind::NoService, "The name is not activatable"}, 0, true, "", 1},
        {{Kind::NoService, {}}, EPERM, false, std::strerror(EPERM), 1},
    };
    for (const auto& [reply, settimeError, ok, message, settimeCalls] : cases) {
        SCOPED_TRACE(message);
        Calls calls;
        const SetTimeResult result = Setter(calls, reply, settimeError).SetClock(SystemTime{2004, 1, 0, 1, 12});
        EXPECT_EQ(result.ok, ok);
        EXPECT_EQ(result.message, message);
        EXPECT_EQ(calls.timedated, std::vector<std::int64_t>{1072958400LL * 1000000}) << "microseconds of UTC";
        EXPECT_EQ(calls.settime, std::vector<std::int64_t>(settimeCalls, 1072958400));
    }
    // Fields that name no moment reach no clock.
    Calls calls;
    SystemClockSetter setter = Setter(calls, {Kind::Ok, {}}, 0);
    const SystemTime times[] = {{2004, 2, 0, 30}, {2004, 13, 0, 1}, {2004, 1, 0, 1, 24}, {}};
    for (const SystemTime& time : times) {
        const SetTimeResult result = setter.SetClock(time);
        EXPECT_TRUE(!result.ok && result.message == std::strerror(EINVAL)) << result.message;
    }
    EXPECT_TRUE(calls.timedated.empty() && calls.settime.empty());
}

TEST(SystemClockSetter, WhichBusErrorsMeanNoTimedated)
{
    const std::pair<const char*, bool> cases[] = {
        {"org.freedesktop.DBus.Error.ServiceUnknown", true},
        {"org.freedesktop.DBus.Error.Spawn.ChildExited", true},
        {"org.freedesktop.systemd1.UnitMasked", true},
        {"org.freedesktop.DBus.Error.AccessDenied", false},
        {"org.freedesktop.timedate1.AutomaticTimeSyncEnabled", false},
        {"org.freedesktop.DBus.Error.NoReply", false},   // polkit may still be asking
        {"", false},
    };
    for (const auto& [name, noTimedated] : cases) {
        EXPECT_EQ(MeansNoTimedated(name), noTimedated) << name;
    }
}

}   // namespace
