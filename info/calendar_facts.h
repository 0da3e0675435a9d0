#pragma once

#include <array>
#include <optional>

#include "core/date_time.h"
#include "core/field_text.h"
#include "core/locale_format.h"
#include "core/messages.h"

// Control ids of the General sub-page.
inline constexpr int kDayOfWeekFieldId = 1039;
inline constexpr int kLeapYearFieldId = 1064;
inline constexpr int kDayNumberFieldId = 1065;
inline constexpr int kWeekNumberFieldId = 1043;
inline constexpr int kQuarterFieldId = 1044;
inline constexpr int kSeasonFieldId = 1045;
inline constexpr int kIsoWeekFieldId = 1131;

// One plus the number of Sundays from January 1 up to and including the date: weeks change on Sunday,
// the days before the year's first Sunday are week 1, and a year that begins on a Sunday has no week 1.
// [1, 54]; -1 for an invalid value.
int WeekNumber(const DateTime& value);

// The week of ISO 8601: weeks start on Monday and week 1 holds the year's first Thursday, so the first
// and last days of a calendar year may belong to the week-based year before or after it.
struct IsoWeek {
    int year = 0;
    int week = 0;   // [1, 53]
    friend bool operator==(const IsoWeek&, const IsoWeek&) = default;
};
// Empty for an invalid value.
std::optional<IsoWeek> IsoWeekOf(const DateTime& value);

// The message id of the season of a month (meteorological, northern hemisphere): 35 "Winter" for
// December to February, 36 "Spring", 37 "Summer", 38 "Autumn"; -1 for a month outside 1..12.
int SeasonMessageId(int month);

// Leap year, day number, week number, day of the week, quarter, season and ISO week ("49 (2026)": the
// week, then its week-based year): the order the page writes them. The time of day plays no part. The
// day of the week is empty when the locale cannot name it (before 1601); every field is "*" for an
// invalid value.
using CalendarFactTexts = std::array<FieldText, 7>;
CalendarFactTexts ComputeCalendarFacts(const DateTime& value, const MessageSource& messages,
                                       const LocaleFormatter& formatter);
