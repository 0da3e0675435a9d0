#include "calc/calculation.h"

#include <limits>

#include "core/calendar.h"

namespace {

// The count of `text`, saturated at the limits of the type.
template <typename Integer>
Integer ReadSaturating(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                               text[i] == '\v' || text[i] == '\f')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate toward the sign so the most negative value is reachable without overflow.
    constexpr Integer kMax = std::numeric_limits<Integer>::max();
    constexpr Integer kMin = std::numeric_limits<Integer>::min();
    Integer value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        if (negative) {
            if (value < (kMin + digit) / 10) {
                return kMin;
            }
            value = static_cast<Integer>(value * 10 - digit);
        } else {
            if (value > (kMax - digit) / 10) {
                return kMax;
            }
            value = static_cast<Integer>(value * 10 + digit);
        }
    }
    return value;
}

void SetFields(std::array<FieldText, 4>& fields, std::size_t first, const std::optional<std::string>& date,
               const std::optional<std::string>& time)
{
    fields[first].text = date && time ? *date : "*";
    fields[first + 1].text = date && time ? *time : "*";
}

}  // namespace

std::int32_t ReadCount(std::string_view text)
{
    return ReadSaturating<std::int32_t>(text);
}

std::int64_t ReadCount64(std::string_view text)
{
    return ReadSaturating<std::int64_t>(text);
}

CalculationResult ComputeCalculation(const CalculationInput& input, const LocaleFormatter& formatter)
{
    CalculationResult result;
    const bool useMonths = input.monthsSelected;

    std::array<std::int32_t, kCountFieldCount> counts{};
    for (int i = 0; i < kCountFieldCount; ++i) {
        result.countTexts[i] = input.countTexts[i];
        if (ReadCount64(input.countTexts[i]) > kLargestCount) {
            result.countTexts[i] = std::to_string(kLargestCount);
            result.clamped[i] = true;
        }
        counts[i] = ReadCount(result.countTexts[i]);
    }

    DateTime a = input.start;
    DateTime b = input.start;
    bool okA = SubtractYears(a, counts[kYears]);
    bool okB = AddYears(b, counts[kYears]);
    std::int64_t dayTotal = 0;
    if (useMonths) {
        okA = okA && SubtractMonths(a, counts[kMonths]);
        okB = okB && AddMonths(b, counts[kMonths]);
    } else {
        dayTotal = std::int64_t{counts[kWeeks]} * 7;
    }
    dayTotal += counts[kDays];
    DateTimeSpan span;
    span.SetDateTimeSpan(dayTotal, counts[kHours], counts[kMinutes], counts[kSeconds]);

    std::optional<std::string> dateA, timeA, dateB, timeB;
    if (okA) {
        a -= span;
        dateA = FormatLongDate(formatter, a);
        timeA = dateA ? FormatTime(formatter, a) : std::nullopt;
    }
    if (okB) {
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
    for (int i = 0; i < kCountFieldCount; ++i) {
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
