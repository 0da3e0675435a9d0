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
    std::tm fields{};
    fields.tm_year = local.year - 1900;
    fields.tm_mon = local.month - 1;
    fields.tm_mday = local.day;
    fields.tm_hour = local.hour;
    fields.tm_min = local.minute;
    fields.tm_sec = local.second;
    fields.tm_isdst = -1;
    // -1 is also the valid instant one second before 1970 in UTC: only errno tells a failure.
    errno = 0;
    const std::time_t instant = std::mktime(&fields);
    if (instant == static_cast<std::time_t>(-1) && errno != 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(instant);
}
