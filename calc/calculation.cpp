#include "calc/calculation.h"

#include <optional>
#include <utility>

#include "core/calendar.h"
#include "core/count_text.h"

namespace {

// The texts move into the fields: a long date is past the short-string limit, and a copy would allocate.
void SetFields(std::array<FieldText, 4>& fields, std::size_t first, std::optional<std::string>& date,
               std::optional<std::string>& time)
{
    const bool shown = date && time;
    fields[first].text = shown ? std::move(*date) : "*";
    fields[first + 1].text = shown ? std::move(*time) : "*";
}

// One year or month step that remembers the first reason a result fails. From the first of its month a
// step fails only by leaving the years of the range, so one that fails from the value's own day lands on
// a day its month lacks.
DateTime Step(const DateTime& value, DateTime (*step)(const DateTime&, std::int32_t), std::int32_t count,
              ResultFailure& failure)
{
    const DateTime moved = step(value, count);
    const auto parts = value.GetParts();
    if (!moved.IsValid() && parts && failure == ResultFailure::None) {
        const DateTime first =
            DateTime::FromParts(parts->year, parts->month, 1, parts->hour, parts->minute, parts->second);
        failure = step(first, count).IsValid() ? ResultFailure::NoSuchDate : ResultFailure::OutsideRange;
    }
    return moved;
}

// Moves a stepped value by whole weeks, then by working days; a result outside the range fails.
DateTime StepWorkingDays(const DateTime& value, std::int64_t weekDays, std::int64_t workingDays,
                         const WorkingCalendar& calendar, ResultFailure& failure)
{
    if (!value.IsValid()) {
        return value;
    }
    DateTimeSpan weeks;
    weeks.SetDateTimeSpan(weekDays < 0 ? -weekDays : weekDays, 0, 0, 0);
    const DateTime moved = AddWorkingDays(calendar, weekDays < 0 ? value - weeks : value + weeks, workingDays);
    if (!moved.IsValid() && failure == ResultFailure::None) {
        failure = ResultFailure::OutsideRange;
    }
    return moved;
}

// Moves a stepped value by the span and gives its texts; empty ones for a failed result, whose reason
// goes into `failure` unless an earlier step gave one.
void Finish(DateTime& value, const DateTimeSpan& span, int direction, const LocaleFormatter& formatter,
            std::optional<std::string>& date, std::optional<std::string>& time, ResultFailure& failure)
{
    if (value.IsValid()) {
        value = direction > 0 ? value + span : value - span;
        date = FormatLongDate(formatter, value);
        time = date ? FormatTime(formatter, value) : std::nullopt;
    }
    const bool outside = !value.IsValid() || value < ShownEarliest() || value > ShownLatest();
    if (!(date && time) && failure == ResultFailure::None && outside) {
        failure = ResultFailure::OutsideRange;
    }
}

}   // namespace

DateTime ShownEarliest()
{
    static const DateTime earliest = DateTime::FromParts(1601, 1, 1, 0, 0, 0);
    return earliest;
}

DateTime ShownLatest()
{
    static const DateTime latest = DateTime::FromParts(9999, 12, 31, 23, 59, 59);
    return latest;
}

CalculationResult ComputeCalculation(const CalculationInput& input, const LocaleFormatter& formatter)
{
    CalculationResult result;
    const bool useMonths = input.monthsSelected;

    std::array<std::int32_t, kCountFieldCount> counts{};
    for (std::size_t i = 0; i < kCountFieldCount; ++i) {
        result.countTexts[i] = input.countTexts[i];
        if (ReadCount64(input.countTexts[i]) > kLargestCount) {
            result.countTexts[i] = std::to_string(kLargestCount);
            result.clamped[i] = true;
        }
        counts[i] = ReadCount(result.countTexts[i]);
    }

    ResultFailure& beforeFailure = result.differenceFailure;
    ResultFailure& afterFailure = result.sumFailure;
    DateTime before = Step(input.start, SubtractYears, counts[kYears], beforeFailure);
    DateTime after = Step(input.start, AddYears, counts[kYears], afterFailure);
    std::int64_t dayTotal = 0;
    if (useMonths) {
        before = Step(before, SubtractMonths, counts[kMonths], beforeFailure);
        after = Step(after, AddMonths, counts[kMonths], afterFailure);
    } else {
        dayTotal = std::int64_t{counts[kWeeks]} * 7;
    }
    if (input.workingDays != nullptr) {
        before = StepWorkingDays(before, -dayTotal, -std::int64_t{counts[kDays]}, *input.workingDays, beforeFailure);
        after = StepWorkingDays(after, dayTotal, counts[kDays], *input.workingDays, afterFailure);
        dayTotal = 0;
    } else {
        dayTotal += counts[kDays];
    }
    DateTimeSpan span;
    span.SetDateTimeSpan(dayTotal, counts[kHours], counts[kMinutes], counts[kSeconds]);

    std::optional<std::string> beforeDate, beforeTime, afterDate, afterTime;
    Finish(before, span, -1, formatter, beforeDate, beforeTime, beforeFailure);
    Finish(after, span, +1, formatter, afterDate, afterTime, afterFailure);
    result.differenceAvailable = beforeDate && beforeTime;
    result.sumAvailable = afterDate && afterTime;
    if (result.differenceAvailable) {
        result.difference = before;
    }
    if (result.sumAvailable) {
        result.sum = after;
    }
    result.fields = {FieldText{1095, {}}, FieldText{1096, {}}, FieldText{1097, {}}, FieldText{1098, {}}};
    SetFields(result.fields, 0, beforeDate, beforeTime);
    SetFields(result.fields, 2, afterDate, afterTime);

    const bool pickersEnabled = !input.current;
    result.controls = {
        ControlState{1070, pickersEnabled},
        ControlState{1071, pickersEnabled},
        ControlState{1074, pickersEnabled},
        ControlState{1059, input.monthsSelected},
        ControlState{1060, input.weeksSelected},
        ControlState{1055, result.differenceAvailable && IsInPickerRange(result.difference)},
        ControlState{1056, result.sumAvailable && IsInPickerRange(result.sum)},
    };
    for (std::size_t i = 0; i < kCountFieldCount; ++i) {
        bool enabled = counts[i] != 0;
        if (i == kMonths) {
            enabled = enabled && input.monthsSelected;
        } else if (i == kWeeks) {
            enabled = enabled && input.weeksSelected;
        }
        result.controls[7 + i] = ControlState{kZeroButtonIds[i], enabled};
    }
    return result;
}

std::string FailureText(ResultFailure failure, const LocaleFormatter& formatter, const MessageSource& messages)
{
    if (failure == ResultFailure::NoSuchDate) {
        return messages.GetString(kNoSuchDateMessage);
    }
    if (failure != ResultFailure::OutsideRange) {
        return {};
    }
    // One pass, so that a "%2" inside the first date stays as it is. A date that ends with a period
    // ("31 декабря 9999 г.") takes the place of the sentence's own.
    const std::string layout = messages.GetString(kOutsideRangeMessage);
    const std::string ends[] = {FormatLongDate(formatter, ShownEarliest()).value_or(""),
                                FormatLongDate(formatter, ShownLatest()).value_or("")};
    std::string text;
    bool afterDate = false;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const bool placeholder =
            layout[i] == '%' && i + 1 < layout.size() && (layout[i + 1] == '1' || layout[i + 1] == '2');
        if (placeholder) {
            text += ends[layout[i + 1] == '1' ? 0 : 1];
            ++i;
        } else if (!(afterDate && layout[i] == '.' && text.ends_with('.'))) {
            text += layout[i];
        }
        afterDate = placeholder;
    }
    return text;
}
