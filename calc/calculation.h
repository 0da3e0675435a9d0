#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "calc/working_days.h"
#include "core/date_time.h"
#include "core/field_text.h"
#include "core/locale_format.h"
#include "core/messages.h"

// The seven count fields of the Calculation page, in this order everywhere below.
enum CountField { kYears, kMonths, kWeeks, kDays, kHours, kMinutes, kSeconds, kCountFieldCount };

inline constexpr std::array<int, kCountFieldCount> kCountEditIds = {1058, 1059, 1060, 1061, 1062, 1049, 1075};
inline constexpr std::array<int, kCountFieldCount> kZeroButtonIds = {1113, 1114, 1115, 1116, 1117, 1118, 1119};
inline constexpr int kLargestCount = 2147483647;

struct CalculationInput {
    DateTime start;   // from the start pickers; an invalid start fails both results
    std::array<std::string, kCountFieldCount> countTexts;
    bool monthsSelected = true;   // decides alone between the months and the weeks count
    bool weeksSelected = false;
    bool current = false;   // the start follows the clock
    // Set: the Days count counts this calendar's working days.
    const WorkingCalendar* workingDays = nullptr;
};

// Why a result reads "*": a year or month step onto a day its month lacks (January 31 plus one month), or
// a moment the fields cannot show (see ShownEarliest and ShownLatest). None for a shown result, and for
// one the locale could not give a text for within the range.
enum class ResultFailure { None, NoSuchDate, OutsideRange };

// The first and last moments a result field can show: the locale formats nothing before 1601.
DateTime ShownEarliest();
DateTime ShownLatest();

struct CalculationResult {
    // The count texts after clamping; `clamped` marks the edits whose text was replaced (the page beeps
    // and puts the selection back).
    std::array<std::string, kCountFieldCount> countTexts;
    std::array<bool, kCountFieldCount> clamped{};

    // The start moved back by the amount, and forward; each usable only when available.
    DateTime difference = DateTime::Invalid();
    DateTime sum = DateTime::Invalid();
    bool differenceAvailable = false;
    bool sumAvailable = false;
    ResultFailure differenceFailure = ResultFailure::None;
    ResultFailure sumFailure = ResultFailure::None;

    // Date and time of the difference (1095, 1096) and of the sum (1097, 1098); "*" for a failed result.
    std::array<FieldText, 4> fields;

    // Start pickers and Now (1070, 1071, 1074), the months and weeks edits (1059, 1060), the two
    // Time Info buttons (1055, 1056) and the seven "0" buttons (1113 ... 1119).
    std::array<ControlState, 14> controls;
};

// One recompute of the Calculation page: years first, then months (or nothing when weeks are chosen),
// then the span of weeks, days, hours, minutes and seconds together; the difference result applies the
// same order backwards in each unit. With working days the weeks go first, then the Days count of working
// days (AddWorkingDays, the time of day kept), then hours, minutes and seconds. A step onto a missing day, a result
// outside 0100..9999 or a date the locale cannot show (before 1601) fails that result alone.
CalculationResult ComputeCalculation(const CalculationInput& input, const LocaleFormatter& formatter);

// The reason a "*" field gives the user: message 115, or message 116 with the shown range's ends as
// long dates; empty for None.
std::string FailureText(ResultFailure failure, const LocaleFormatter& formatter, const MessageSource& messages);
