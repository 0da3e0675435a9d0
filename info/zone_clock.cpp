#include "info/zone_clock.h"

#include "core/civil.h"

namespace {

// Beyond this no offset can be added without overflow, and no calendar reaches it.
constexpr std::int64_t kInstantLimit = std::int64_t{1} << 50;

}   // namespace

SystemTime ZoneClock::Now() const
{
    const std::optional<std::int64_t> now = m_base.UnixNow();
    return now ? LocalTimeAt(*now).value_or(SystemTime{}) : SystemTime{};
}

std::optional<SystemTime> ZoneClock::LocalTimeAt(std::int64_t unixSeconds) const
{
    if (unixSeconds < -kInstantLimit || unixSeconds > kInstantLimit) {
        return std::nullopt;
    }
    const std::int64_t wall = unixSeconds + m_zone.At(unixSeconds).offsetSeconds;
    const std::int64_t days = civil::FloorDiv(wall, civil::kSecondsPerDay);
    const std::int64_t second = wall - days * civil::kSecondsPerDay;
    const civil::YearMonthDay date = civil::CivilFromDays(days);
    if (date.year < 0 || date.year > 65535) {
        return std::nullopt;
    }
    SystemTime time;
    time.year = static_cast<std::uint16_t>(date.year);
    time.month = static_cast<std::uint16_t>(date.month);
    time.dayOfWeek = static_cast<std::uint16_t>(civil::WeekdayFromDays(days));
    time.day = static_cast<std::uint16_t>(date.day);
    time.hour = static_cast<std::uint16_t>(second / 3600);
    time.minute = static_cast<std::uint16_t>(second / 60 % 60);
    time.second = static_cast<std::uint16_t>(second % 60);
    return time;
}

std::optional<std::int64_t> ZoneClock::UnixTimeAt(const SystemTime& local) const
{
    if (!DateTime::FromParts(local.year, local.month, local.day, local.hour, local.minute, local.second).IsValid()) {
        return std::nullopt;
    }
    const std::int64_t days = civil::DaysFromCivil(local.year, local.month, local.day);
    return m_zone.InstantOf(days * civil::kSecondsPerDay + local.hour * 3600 + local.minute * 60 + local.second);
}
