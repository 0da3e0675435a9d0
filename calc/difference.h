#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/date_time.h"
#include "core/field_text.h"
#include "core/messages.h"
#include "info/zone_source.h"

// Whole years, then months, then days between two calendar dates (time of day plays no part).
struct CalendarSpan {
    int years = 0;
    int months = 0;
    int days = 0;
};

// Whole weeks and days between the days of the year of two dates, within the last partial year.
struct WeekSpan {
    int weeks = 0;
    int days = 0;
};

// Both are all zero unless `later` is strictly after `earlier`. The borrowed month of the day count is
// always the earlier date's month.
CalendarSpan CalendarDifference(const DateTime& earlier, const DateTime& later);
WeekSpan WeekDifference(const DateTime& earlier, const DateTime& later);

// Control ids of the fifteen result fields of the Difference page, in the order ComputeDifference
// returns them: overall years, months, days, hours, minutes, seconds, weeks, week-days; then particular
// years, months, weeks, days, hours, minutes, seconds.
inline constexpr std::array<int, 15> kDifferenceFieldIds = {1050, 1051, 1053, 1055, 1056, 1057, 1052, 1054,
                                                            1141, 1123, 1124, 1126, 1127, 1128, 1129};

using DifferenceTexts = std::array<FigureField, 15>;

// Enabled states of the Difference page's inputs: an end that follows the clock disables its pickers,
// its Now button and the other end's Current box, so at most one end can follow the clock.
// Order: start date, start time, Now, final Current (1001, 1120, 1003, 1012), then final date, final
// time, No&w, start Current (1002, 1122, 1010, 1009).
std::array<ControlState, 8> DifferenceControlStates(bool startCurrent, bool finalCurrent);

// The fifteen figures of ComputeDifference, in its order; empty where it gives "*".
std::optional<std::array<std::int64_t, 15>> DifferenceFigures(const DateTime& start, const DateTime& final);

// Every result field of the distance from `start` to `final`, negated when the final is earlier.
// All fifteen read "*" when either value is invalid, the start is before 1754-01-01 00:00:00 or the
// final after 9998-12-31 23:59:59.
DifferenceTexts ComputeDifference(const DateTime& start, const DateTime& final);

// The Difference page's line with the real elapsed time, under the results.
inline constexpr int kElapsedLineId = 1132;

struct ElapsedLine {
    bool shown = false;
    FieldText field{kElapsedLineId, {}};   // empty while hidden
    std::string value;                     // the field without its label, as macros and Copy >> give it
    std::string toolTip;                   // the total in seconds; empty while hidden
};

// Shown only when the zone reads the two wall times with different UTC offsets, so the page's wall-clock
// figures differ from the real time: "Elapsed: 47 h 30 min (a daylight-saving change lies between)"
// (message kElapsedLineMessage) when the two differ in daylight saving, else "Elapsed: ... (the zone's UTC
// offset changed between)" (kOffsetChangeLineMessage), from the language's layout and units, zero units
// left out (a zero span is "0 s"), each figure negated when the final is earlier, as the page's figures
// are; the tooltip "Total seconds: 171000". Hidden when the fields read "*" or the zone gives no answer.
ElapsedLine ComputeElapsedLine(const DateTime& start, const DateTime& final, const ZoneSource& zones,
                               const MessageSource& messages);

// The line of the page whose two ends lie in different zones: the real time between them, `elapsed` (as
// ElapsedBetweenZones gives it), shown whenever it is known and the fields are in range, "Elapsed: 9 h
// 25 min" (kZonesElapsedLineMessage), figures and tooltip as above.
ElapsedLine ElapsedLineBetweenZones(const DateTime& start, const DateTime& final,
                                    const std::optional<LocalElapsed>& elapsed, const MessageSource& messages);

// The elapsed line's text without its label: the part of any layout (messages kElapsedLineMessage,
// kOffsetChangeLineMessage and kZonesElapsedLineMessage, in the current language) before "%1" ("Elapsed: "), where the
// text starts with it; otherwise the text as it is.
std::string ElapsedLineValue(std::string_view lineText, const MessageSource& messages);
