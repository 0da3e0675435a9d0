#include "calc/calculation.h"

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

}   // namespace

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

    DateTime a = SubtractYears(input.start, counts[kYears]);
    DateTime b = AddYears(input.start, counts[kYears]);
    std::int64_t dayTotal = 0;
    if (useMonths) {
        a = SubtractMonths(a, counts[kMonths]);
        b = AddMonths(b, counts[kMonths]);
    } else {
        dayTotal = std::int64_t{counts[kWeeks]} * 7;
    }
    dayTotal += counts[kDays];
    DateTimeSpan span;
    span.SetDateTimeSpan(dayTotal, counts[kHours], counts[kMinutes], counts[kSeconds]);

    std::optional<std::string> dateA, timeA, dateB, timeB;
    if (a.IsValid()) {
        a -= span;
        dateA = FormatLongDate(formatter, a);
        timeA = dateA ? FormatTime(formatter, a) : std::nullopt;
    }
    if (b.IsValid()) {
        b += span;
        dateB = FormatLongDate(formatter, b);
        timeB = dateB ? FormatTime(formatter, b) : std::nullopt;
    }
    result.differenceAvailable = dateA && timeA;
    result.sumAvailable = dateB && timeB;
    if (result.differenceAvailable) {
        result.difference = a;
    }
    if (result.sumAvailable) {
        result.sum = b;
    }
    result.fields = {FieldText{1095, {}}, FieldText{1096, {}}, FieldText{1097, {}}, FieldText{1098, {}}};
    SetFields(result.fields, 0, dateA, timeA);
    SetFields(result.fields, 2, dateB, timeB);

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
