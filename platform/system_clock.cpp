#include "platform/system_clock.h"

#include <cerrno>
#include <ctime>

namespace {

SystemTime FromTm(const std::tm& tm)
{
    SystemTime time;
    time.year = static_cast<std::uint16_t>(tm.tm_year + 1900);
    time.month = static_cast<std::uint16_t>(tm.tm_mon + 1);
    time.dayOfWeek = static_cast<std::uint16_t>(tm.tm_wday);
    time.day = static_cast<std::uint16_t>(tm.tm_mday);
    time.hour = static_cast<std::uint16_t>(tm.tm_hour);
    time.minute = static_cast<std::uint16_t>(tm.tm_min);
    time.second = static_cast<std::uint16_t>(tm.tm_sec);
    return time;
}

}   // namespace

SystemTime SystemClock::Now() const
{
    // Break the instant into local fields, then let mktime settle daylight saving on them, as the native
    // clock read does.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        return {};
    }
    local.tm_isdst = -1;
    const std::time_t settled = std::mktime(&local);
    std::tm result{};
    if (settled == static_cast<std::time_t>(-1) || localtime_r(&settled, &result) == nullptr) {
        return FromTm(local);
    }
    return FromTm(result);
}

std::optional<std::int64_t> SystemClock::UnixNow() const
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::optional<SystemTime> SystemClock::LocalTimeAt(std::int64_t unixSeconds) const
{
    const auto instant = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    if (localtime_r(&instant, &local) == nullptr || local.tm_year + 1900 < 0 || local.tm_year + 1900 > 65535) {
        return std::nullopt;
    }
    return FromTm(local);
}

std::optional<std::int64_t> SystemClock::UnixTimeAt(const SystemTime& local) const
{
    return LocalFieldsToUnixSeconds(local);
}

std::optional<std::int64_t> LocalFieldsToUnixSeconds(const SystemTime& time)
{
    const std::optional<DateTime::Parts> parts =
        DateTime::FromParts(time.year, time.month, time.day, time.hour, time.minute, time.second).GetParts();
    if (!parts) {
        return std::nullopt;
    }
    std::tm fields = ToTm(*parts, -1);
    errno = 0;
    const std::time_t seconds = std::mktime(&fields);
    // -1 is also 1969-12-31 23:59:59 UTC; only errno tells the two apart.
    if (seconds == static_cast<std::time_t>(-1) && errno != 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(seconds);
}
