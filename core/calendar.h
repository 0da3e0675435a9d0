#pragma once

#include <cstdint>

#include "core/date_time.h"
#include "core/system_time.h"

// Gregorian leap years extended to every integer: 0 and -400 are leap years, 1900 is not. Inline, as
// taking a date apart asks it every time.
inline bool IsLeapYear(std::int32_t year)
{
    if (year > 0 && year % 4 == 0 && year % 100 != 0) {
        return true;
    }
    return year % 400 == 0;
}

// Length of a month [28, 31]; 0 when the month is not in [1, 12].
inline int DaysInMonth(int year, int month)
{
    constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    return month == 2 && IsLeapYear(year) ? 29 : kLengths[month - 1];
}

// Length of the value's month; 0 for an invalid value.
int GetDaysInMonth(const DateTime& value);

// Year and month steps keep month, day and time of day and never clamp the day: a step onto a day that
// does not exist (February 29 of a common year, April 31) gives an invalid value, as does a year outside
// 100..9999; an invalid value stays invalid.
DateTime AddYears(const DateTime& value, std::int32_t count);
DateTime SubtractYears(const DateTime& value, std::int32_t count);
// A count below 1 gives the value as it is.
DateTime AddMonths(const DateTime& value, std::int32_t count);
DateTime SubtractMonths(const DateTime& value, std::int32_t count);

// Signed whole seconds of the span, rounded to the nearest second: 1 day 2:03:04 is 93784.
std::int64_t SpanToSeconds(const DateTimeSpan& span);

// The pure halves of reading the pickers: the date of one record with the time of day of another, the
// date of a record at 00:00:00, the time of day of a record on 1971-03-09. Invalid when the fields do
// not make a moment of the range.
DateTime CombineDateAndTime(const SystemTime& date, const SystemTime& time);
DateTime DateOfRecord(const SystemTime& date);
DateTime TimeOfRecord(const SystemTime& time);

// The range of the Difference, Calculation and Time Info date pickers; a Time Info button may lead only to
// a moment within it, since the Time Info page could not show any other.
DateTime PickerEarliest();
DateTime PickerLatest();
// True for a valid value within PickerEarliest() .. PickerLatest().
bool IsInPickerRange(const DateTime& value);
