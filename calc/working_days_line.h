#pragma once

#include <string>

#include "calc/working_days.h"
#include "core/date_time.h"
#include "core/field_text.h"
#include "core/locale_format.h"
#include "core/messages.h"

// The Difference page's working-day count, under the elapsed line.
inline constexpr int kWorkingDaysId = 1133;

struct WorkingDaysLine {
    FieldText field{kWorkingDaysId, {}};   // the count, "*" outside the pickers' range
    std::string toolTip;                   // the weekend and the holidays in the span; empty with "*"
};

// The working days from `start` to `final`, the final day not counted and times of day playing no part,
// negative when the final is earlier; "*" when either end is invalid or outside the pickers' range, or the
// calendar has no working day. The tooltip names the weekend's days (the locale's short names; message
// kNoWeekendMessage for a week without one) and counts the holidays that fell on working weekdays in the
// span (message kWorkingDaysTipMessage).
WorkingDaysLine ComputeWorkingDaysLine(const DateTime& start, const DateTime& final, const WorkingCalendar& calendar,
                                       const LocaleFormatter& formatter, const MessageSource& messages);

// Days from 1970-01-01 of a valid value's date.
std::int64_t DayNumber(const DateTime& value);
