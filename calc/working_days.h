#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/date_time.h"

// Working weekdays as the WorkingWeekdays setting stores them: bit 0 = Monday ... bit 6 = Sunday.
inline constexpr std::uint32_t kMondayToFriday = 0x1F;

// Which days are working days: a working weekday that is no holiday. Days are numbered from 1970-01-01
// (day 0), as civil::DaysFromCivil numbers them. Every count costs the same whatever the span: whole weeks
// by arithmetic, holidays by binary search.
class WorkingCalendar {
public:
    // `holidays` in any order, repeats allowed; those on days that are no working weekday count for nothing.
    explicit WorkingCalendar(std::uint32_t workingWeekdays = kMondayToFriday, std::vector<std::int64_t> holidays = {});

    std::uint32_t WorkingWeekdays() const;
    // False for a week without a working day: such a week is refused where it is chosen, and the counts
    // below must not be asked of it.
    bool HasWorkingDay() const;
    // The working days d with startDay <= d < finalDay; for finalDay < startDay, minus the count the other way.
    std::int64_t Between(std::int64_t startDay, std::int64_t finalDay) const;
    // The n-th working day after startDay (n > 0), the |n|-th before it (n < 0), startDay itself for n = 0.
    std::int64_t Add(std::int64_t startDay, std::int64_t n) const;
    // The holidays that fall on working weekdays between the two days (the earlier counted, the later not).
    std::int64_t HolidaysBetween(std::int64_t startDay, std::int64_t finalDay) const;

private:
    // Working weekdays before each day: whole weeks times the week's count, plus the week's prefix.
    std::int64_t WeekdaysBefore(std::int64_t day) const;
    // Working days before `day`, counted from the same fixed origin.
    std::int64_t WorkingBefore(std::int64_t day) const;
    // The least day with `count` working weekdays before it (count >= 1).
    std::int64_t FirstWithWeekdaysBefore(std::int64_t count) const;

    std::uint32_t m_weekdays = 0;
    // m_prefix[i]: working weekdays among the first i days of a week from Monday.
    std::array<std::int64_t, 8> m_prefix{};
    // Holidays on working weekdays only, sorted, each once.
    std::vector<std::int64_t> m_holidays;
};

// The same on the pages' date-times (their times of day play no part). Empty when either is invalid or the
// calendar has no working day.
std::optional<std::int64_t> WorkingDaysBetween(const WorkingCalendar& calendar, const DateTime& start,
                                               const DateTime& final);
// `start` moved by n working days, its time of day kept; invalid when `start` is, the calendar has no
// working day, or the result leaves the range DateTime holds.
DateTime AddWorkingDays(const WorkingCalendar& calendar, const DateTime& start, std::int64_t n);
