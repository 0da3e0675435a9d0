#include "desktop/system_clock_setter.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include <cerrno>
#include <cstring>

#include "core/date_time.h"
#include "platform/system_clock.h"

namespace {

// polkit may be waiting for the user to type a password; a short timeout would report a failure for
// a change that is still about to happen.
constexpr int kTimedatedTimeoutMs = 5 * 60 * 1000;

SystemClockSetter::BusReply CallTimedated(std::int64_t usecUtc)
{
    using Reply = SystemClockSetter::BusReply;
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return Reply{Reply::Kind::NoService, bus.lastError().message().toStdString()};
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("SetTime"));
    // usec_utc, relative, interactive
    call << static_cast<qlonglong>(usecUtc) << false << true;
    call.setInteractiveAuthorizationAllowed(true);
    // Block without running the event loop: the notice of this very change must not be handled before
    // the caller has learnt that the change succeeded.
    const QDBusMessage reply = bus.call(call, QDBus::Block, kTimedatedTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) {
        return Reply{Reply::Kind::Ok, {}};
    }
    if (MeansNoTimedated(reply.errorName().toStdString())) {
        return Reply{Reply::Kind::NoService, reply.errorMessage().toStdString()};
    }
    return Reply{Reply::Kind::Error, reply.errorMessage().toStdString()};
}

int SetRealtimeClock(const timespec& time)
{
    return clock_settime(CLOCK_REALTIME, &time) == 0 ? 0 : errno;
}

}   // namespace

SystemClockSetter::SystemClockSetter() : SystemClockSetter(CallTimedated, SetRealtimeClock) {}

SystemClockSetter::SystemClockSetter(TimedatedCall timedated, SettimeCall settime)
    : m_timedated(std::move(timedated)),
      m_settime(std::move(settime))
{
}

SetTimeResult SystemClockSetter::SetClock(const SystemTime& time)
{
    const std::optional<std::int64_t> seconds = LocalFieldsToUnixSeconds(time);
    if (!seconds) {
        return SetTimeResult{false, std::strerror(EINVAL)};
    }
    const BusReply reply = m_timedated(*seconds * 1'000'000);
    switch (reply.kind) {
    case BusReply::Kind::Ok:
        return SetTimeResult{true, {}};
    case BusReply::Kind::Error:
        return SetTimeResult{false, reply.message};
    case BusReply::Kind::NoService:
        break;
    }
    // timedated may be missing (containers, minimal installs): set the clock ourselves.
    timespec value{};
    value.tv_sec = static_cast<std::time_t>(*seconds);
    const int error = m_settime(value);
    return error == 0 ? SetTimeResult{true, {}} : SetTimeResult{false, std::strerror(error)};
}

bool MeansNoTimedated(std::string_view errorName)
{
    constexpr std::string_view kNoService[] = {
        "org.freedesktop.DBus.Error.ServiceUnknown", "org.freedesktop.DBus.Error.NameHasNoOwner",
        "org.freedesktop.DBus.Error.UnknownObject",  "org.freedesktop.DBus.Error.UnknownInterface",
        "org.freedesktop.DBus.Error.UnknownMethod",  "org.freedesktop.DBus.Error.Disconnected",
        "org.freedesktop.systemd1.NoSuchUnit",       "org.freedesktop.systemd1.UnitMasked",
    };
    for (const std::string_view name : kNoService) {
        if (errorName == name) {
            return true;
        }
    }
    // Activation failures: Spawn.ServiceNotFound, Spawn.ChildExited, Spawn.ExecFailed, ...
    return errorName.starts_with("org.freedesktop.DBus.Error.Spawn.");
}
