#include "calc/working_days.h"

#include <algorithm>
#include <utility>

#include "core/civil.h"

namespace {

// Day 0, 1970-01-01, was a Thursday: three days after a Monday.
constexpr std::int64_t kMondayOffset = 3;

// DateTime holds 0100-01-01 to 9999-12-31: no move of more working days than that range has days can land in it.
constexpr std::int64_t kFirstDay = civil::DaysFromCivil(100, 1, 1);
constexpr std::int64_t kLastDay = civil::DaysFromCivil(9999, 12, 31);

// The day's place in a week from Monday, as the working weekdays' bits number it.
unsigned MondayBased(std::int64_t day)
{
    return static_cast<unsigned>(day + kMondayOffset - 7 * civil::FloorDiv(day + kMondayOffset, 7));
}

std::optional<std::int64_t> DayOf(const DateTime& moment)
{
    const auto parts = moment.GetParts();
    if (!parts) {
        return std::nullopt;
    }
    return civil::DaysFromCivil(parts->year, static_cast<unsigned>(parts->month), static_cast<unsigned>(parts->day));
}

}   // namespace

WorkingCalendar::WorkingCalendar(std::uint32_t workingWeekdays, std::vector<std::int64_t> holidays)
    : m_weekdays(workingWeekdays & 0x7F),
      m_holidays(std::move(holidays))
{
    for (std::size_t i = 0; i < 7; ++i) {
        m_prefix[i + 1] = m_prefix[i] + ((m_weekdays >> i) & 1U);
    }
    std::erase_if(m_holidays, [this](std::int64_t day) { return ((m_weekdays >> MondayBased(day)) & 1U) == 0; });
    std::sort(m_holidays.begin(), m_holidays.end());
    m_holidays.erase(std::unique(m_holidays.begin(), m_holidays.end()), m_holidays.end());
}

std::uint32_t WorkingCalendar::WorkingWeekdays() const
{
    return m_weekdays;
}

bool WorkingCalendar::HasWorkingDay() const
{
    return m_weekdays != 0;
}

std::int64_t WorkingCalendar::WeekdaysBefore(std::int64_t day) const
{
    return civil::FloorDiv(day + kMondayOffset, 7) * m_prefix[7] + m_prefix[MondayBased(day)];
}

std::int64_t WorkingCalendar::WorkingBefore(std::int64_t day) const
{
    const auto holidaysBefore = std::lower_bound(m_holidays.begin(), m_holidays.end(), day) - m_holidays.begin();
    return WeekdaysBefore(day) - holidaysBefore;
}

std::int64_t WorkingCalendar::FirstWithWeekdaysBefore(std::int64_t count) const
{
    const std::int64_t weeks = civil::FloorDiv(count - 1, m_prefix[7]);
    const std::int64_t rest = count - weeks * m_prefix[7];   // [1, working weekdays per week]
    const auto within = std::lower_bound(m_prefix.begin() + 1, m_prefix.end(), rest) - m_prefix.begin();
    return weeks * 7 + within - kMondayOffset;
}

std::int64_t WorkingCalendar::Between(std::int64_t startDay, std::int64_t finalDay) const
{
    return WorkingBefore(finalDay) - WorkingBefore(startDay);
}

std::int64_t WorkingCalendar::HolidaysBetween(std::int64_t startDay, std::int64_t finalDay) const
{
    const auto [earlier, later] = std::minmax(startDay, finalDay);
    return std::lower_bound(m_holidays.begin(), m_holidays.end(), later) -
           std::lower_bound(m_holidays.begin(), m_holidays.end(), earlier);
}

std::int64_t WorkingCalendar::Add(std::int64_t startDay, std::int64_t n) const
{
    if (n == 0 || !HasWorkingDay()) {
        return startDay;
    }
    // The answer t is the working day after which `target` working days have passed: the least x with
    // WorkingBefore(x) >= target is t + 1.
    const std::int64_t target = n > 0 ? WorkingBefore(startDay + 1) + n : WorkingBefore(startDay) + n + 1;
    // The holidays before that x are exactly those with fewer than `target` working days before them, and
    // that count rises with the holiday's index: a binary search over the holidays, not over the days.
    std::size_t low = 0, high = m_holidays.size();
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        if (WeekdaysBefore(m_holidays[mid]) - static_cast<std::int64_t>(mid) < target) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return FirstWithWeekdaysBefore(target + static_cast<std::int64_t>(low)) - 1;
}

std::optional<std::int64_t> WorkingDaysBetween(const WorkingCalendar& calendar, const DateTime& start,
                                               const DateTime& final)
{
    const auto startDay = DayOf(start), finalDay = DayOf(final);
    if (!startDay || !finalDay || !calendar.HasWorkingDay()) {
        return std::nullopt;
    }
    return calendar.Between(*startDay, *finalDay);
}

DateTime AddWorkingDays(const WorkingCalendar& calendar, const DateTime& start, std::int64_t n)
{
    const auto parts = start.GetParts();
    if (!parts || !calendar.HasWorkingDay() || n > kLastDay - kFirstDay || n < kFirstDay - kLastDay) {
        return DateTime::Invalid();
    }
    const std::int64_t day = calendar.Add(*DayOf(start), n);
    if (day < kFirstDay || day > kLastDay) {
        return DateTime::Invalid();
    }
    const civil::YearMonthDay date = civil::CivilFromDays(day);
    return DateTime::FromParts(date.year, date.month, date.day, parts->hour, parts->minute, parts->second);
}
