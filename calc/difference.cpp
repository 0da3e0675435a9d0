#include "calc/difference.h"

#include <charconv>
#include <cstdint>
#include <string>

#include "core/calendar.h"

namespace {

template <typename Integer>
std::string Decimal(Integer value)
{
    std::string text(20, '\0');
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    text.resize(static_cast<std::size_t>(result.ptr - text.data()));
    return text;
}

// Day of the year with every day of a leap year moved back by one, January and February included.
int ShiftedDayOfYear(const DateTime::Parts& parts)
{
    return parts.dayOfYear - (IsLeapYear(parts.year) ? 1 : 0);
}

}   // namespace

CalendarSpan CalendarDifference(const DateTime& earlier, const DateTime& later)
{
    CalendarSpan span;
    if (!earlier.IsValid() || !later.IsValid() || !(later > earlier)) {
        return span;
    }
    const DateTime::Parts from = *earlier.GetParts();
    const DateTime::Parts to = *later.GetParts();
    span.years = to.year - from.year;
    span.months = to.year != from.year ? 12 - from.month + to.month : to.month - from.month;
    if (to.day < from.day) {
        span.days = DaysInMonth(from.year, from.month) - from.day + to.day;
        --span.months;
    } else {
        span.days = to.day - from.day;
    }
    if (span.months <= 11) {
        if (span.years > 0) {
            --span.years;
        }
    } else {
        span.months -= 12;
    }
    return span;
}

WeekSpan WeekDifference(const DateTime& earlier, const DateTime& later)
{
    WeekSpan span;
    if (!earlier.IsValid() || !later.IsValid() || !(later > earlier)) {
        return span;
    }
    const int d0 = ShiftedDayOfYear(*earlier.GetParts());
    const int d1 = ShiftedDayOfYear(*later.GetParts());
    const int n = d1 > d0 ? d1 - d0 : (d1 < d0 ? d1 - d0 + 365 : 0);
    span.weeks = n / 7;
    span.days = n % 7;
    return span;
}

DifferenceTexts ComputeDifference(const DateTime& start, const DateTime& final)
{
    DifferenceTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i].controlId = kDifferenceFieldIds[i];
    }
    if (!start.IsValid() || !final.IsValid() || start < PickerEarliest() || final > PickerLatest()) {
        for (FieldText& field : texts) {
            field.text.assign(1, '*');
        }
        return texts;
    }

    const bool reversed = final < start;
    const int sign = reversed ? -1 : 1;
    const DateTime& earlier = reversed ? final : start;
    const DateTime& later = reversed ? start : final;

    const CalendarSpan calendar = CalendarDifference(earlier, later);
    const WeekSpan weeks = WeekDifference(earlier, later);
    const DateTimeSpan span = later - earlier;
    // Within the page's range the span is below 3.1 million days, so the day count fits 32 bits.
    const auto days = static_cast<std::int32_t>(span.GetDays());
    const std::int64_t hours = span.GetHours();
    const std::int64_t minutes = span.GetMinutes();
    const std::int64_t seconds = span.GetSeconds();
    const std::int64_t sign64 = sign;

    texts[0].text = Decimal(calendar.years * sign);
    texts[1].text = Decimal(calendar.months * sign);
    texts[2].text = Decimal(calendar.days * sign);
    texts[3].text = Decimal(static_cast<int>(hours) * sign);
    texts[4].text = Decimal(static_cast<int>(minutes) * sign);
    texts[5].text = Decimal(static_cast<int>(seconds) * sign);
    texts[6].text = Decimal(weeks.weeks * sign);
    texts[7].text = Decimal(weeks.days * sign);
    texts[8].text = Decimal(calendar.years * sign);
    texts[9].text = Decimal((calendar.years * 12 + calendar.months) * sign);
    texts[10].text = Decimal(days / 7 * sign);
    texts[11].text = Decimal(days * sign);
    texts[12].text = Decimal((days * std::int64_t{24} + hours) * sign64);
    texts[13].text = Decimal((days * std::int64_t{1440} + hours * 60 + minutes) * sign64);
    texts[14].text = Decimal((days * std::int64_t{86400} + hours * 3600 + minutes * 60 + seconds) * sign64);
    return texts;
}

std::array<ControlState, 8> DifferenceControlStates(bool startCurrent, bool finalCurrent)
{
    return {{
        {1001, !startCurrent},
        {1120, !startCurrent},
        {1003, !startCurrent},
        {1012, !startCurrent},
        {1002, !finalCurrent},
        {1122, !finalCurrent},
        {1010, !finalCurrent},
        {1009, !finalCurrent},
    }};
}
