#include "core/calendar.h"

namespace {

DateTime StepYears(const DateTime& value, std::int64_t yearDelta)
{
    const auto parts = value.GetParts();
    if (!parts) {
        return DateTime::Invalid();
    }
    const std::int64_t year = parts->year + yearDelta;
    if (year < 100 || year > 9999) {
        return DateTime::Invalid();
    }
    return DateTime::FromParts(static_cast<int>(year), parts->month, parts->day, parts->hour, parts->minute,
                               parts->second);
}

// Moves by whole years and a month step in (-12, 12), carrying into the year as the month wraps.
DateTime StepMonths(const DateTime& value, std::int32_t count, int direction)
{
    const auto parts = value.GetParts();
    if (!parts) {
        return DateTime::Invalid();
    }
    if (count < 1) {
        return value;
    }
    std::int64_t years = count / 12;
    const int rest = count % 12;
    int month = parts->month + direction * rest;
    if (month > 12) {
        ++years;
        month -= 12;
    } else if (month < 1) {
        ++years;
        month += 12;
    }
    const std::int64_t year = parts->year + direction * years;
    if (year < 100 || year > 9999) {
        return DateTime::Invalid();
    }
    return DateTime::FromParts(static_cast<int>(year), month, parts->day, parts->hour, parts->minute, parts->second);
}

}   // namespace

int GetDaysInMonth(const DateTime& value)
{
    const auto parts = value.GetParts();
    return parts ? DaysInMonth(parts->year, parts->month) : 0;
}

DateTime AddYears(const DateTime& value, std::int32_t count)
{
    return StepYears(value, count);
}

DateTime SubtractYears(const DateTime& value, std::int32_t count)
{
    return StepYears(value, -static_cast<std::int64_t>(count));
}

DateTime AddMonths(const DateTime& value, std::int32_t count)
{
    return StepMonths(value, count, +1);
}

DateTime SubtractMonths(const DateTime& value, std::int32_t count)
{
    return StepMonths(value, count, -1);
}

std::int64_t SpanToSeconds(const DateTimeSpan& span)
{
    return span.GetTotalSeconds();
}

DateTime CombineDateAndTime(const SystemTime& date, const SystemTime& time)
{
    return DateTime::FromParts(date.year, date.month, date.day, time.hour, time.minute, time.second);
}

DateTime DateOfRecord(const SystemTime& date)
{
    return DateTime::FromParts(date.year, date.month, date.day, 0, 0, 0);
}

DateTime TimeOfRecord(const SystemTime& time)
{
    return DateTime::FromParts(1971, 3, 9, time.hour, time.minute, time.second);
}

DateTime PickerEarliest()
{
    static const DateTime earliest = DateTime::FromParts(1754, 1, 1, 0, 0, 0);
    return earliest;
}

DateTime PickerLatest()
{
    static const DateTime latest = DateTime::FromParts(9998, 12, 31, 23, 59, 59);
    return latest;
}

bool IsInPickerRange(const DateTime& value)
{
    return value.IsValid() && value >= PickerEarliest() && value <= PickerLatest();
}
