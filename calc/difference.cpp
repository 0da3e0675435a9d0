#include "calc/difference.h"

#include <cstdint>

#include "core/calendar.h"

namespace {

// The fifteen texts from their figures, each written straight into its field.
DifferenceTexts MakeTexts(const std::array<std::int64_t, 15>& figures)
{
    DifferenceTexts texts;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        texts[i].controlId = kDifferenceFieldIds[i];
        char* const first = texts[i].text.data();
        texts[i].text.Resize(static_cast<std::size_t>(WriteFigure(first, figures[i]) - first));
    }
    return texts;
}

// Day of the year with every day of a leap year moved back by one, January and February included.
inline int ShiftedDayOfYear(const DateTime::Parts& parts)
{
    return parts.dayOfYear - (IsLeapYear(parts.year) ? 1 : 0);
}

// The two spans below from the parts of an earlier and a not earlier moment.
[[gnu::always_inline]] inline CalendarSpan CalendarBetween(const DateTime::Parts& from, const DateTime::Parts& to)
{
    CalendarSpan span;
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

[[gnu::always_inline]] inline WeekSpan WeeksBetween(const DateTime::Parts& from, const DateTime::Parts& to)
{
    const int d0 = ShiftedDayOfYear(from);
    const int d1 = ShiftedDayOfYear(to);
    const int n = d1 > d0 ? d1 - d0 : (d1 < d0 ? d1 - d0 + 365 : 0);
    return {n / 7, n % 7};
}

// The message with its "%1" replaced by `figure`.
std::string Fill(std::string layout, const std::string& figure)
{
    if (const std::size_t at = layout.find("%1"); at != std::string::npos) {
        layout.replace(at, 2, figure);
    }
    return layout;
}

bool InFieldRange(const DateTime& start, const DateTime& final)
{
    return start.IsValid() && final.IsValid() && start >= PickerEarliest() && final <= PickerLatest();
}

// The figures of a pair in the fields' range. Inlined into both callers: the page's texts are at the
// floor's pace only when the figures go straight into them.
[[gnu::always_inline]] inline std::array<std::int64_t, 15> FiguresInRange(const DateTime& start, const DateTime& final)
{
    const bool reversed = final < start;
    const std::int64_t sign = reversed ? -1 : 1;
    const DateTime& earlier = reversed ? final : start;
    const DateTime& later = reversed ? start : final;

    // Each moment is taken apart once. Rounding to the second keeps the order, so the later parts are
    // never before the earlier ones and equal moments give zero spans.
    const DateTime::Parts from = *earlier.GetParts();
    const DateTime::Parts to = *later.GetParts();
    const CalendarSpan calendar = CalendarBetween(from, to);
    const WeekSpan weeks = WeeksBetween(from, to);
    // Every total comes from the one count of seconds, which is never negative here.
    const std::int64_t seconds = (later - earlier).GetTotalSeconds();
    const std::int64_t days = seconds / 86400;

    const std::int64_t y = calendar.years, m = calendar.months;
    return {{y * sign, m * sign, calendar.days * sign, seconds % 86400 / 3600 * sign, seconds % 3600 / 60 * sign,
             seconds % 60 * sign, weeks.weeks * sign, weeks.days * sign, y * sign, (y * 12 + m) * sign, days / 7 * sign,
             days * sign, seconds / 3600 * sign, seconds / 60 * sign, seconds * sign}};
}

// The line of a real time: the layout's "%1" filled with the hours, minutes and seconds.
ElapsedLine FilledElapsedLine(const LocalElapsed& elapsed, int layoutId, const MessageSource& messages)
{
    ElapsedLine line;
    const std::int64_t sign = elapsed.seconds < 0 ? -1 : 1;
    const std::int64_t total = elapsed.seconds * sign;
    const std::pair<std::int64_t, int> units[] = {
        {total / 3600, kHoursUnitMessage}, {total % 3600 / 60, kMinutesUnitMessage}, {total % 60, kSecondsUnitMessage}};
    std::string figure;
    for (const auto& [count, unit] : units) {
        if (count != 0 || (unit == kSecondsUnitMessage && figure.empty())) {
            figure += (figure.empty() ? "" : " ") + std::to_string(count * sign) + " " + messages.GetString(unit);
        }
    }
    line.shown = true;
    line.field.text = Fill(messages.GetString(layoutId), figure);
    line.value = ElapsedLineValue(line.field.text, messages);
    line.toolTip = Fill(messages.GetString(kElapsedSecondsMessage), std::to_string(elapsed.seconds));
    return line;
}

}   // namespace

CalendarSpan CalendarDifference(const DateTime& earlier, const DateTime& later)
{
    if (!earlier.IsValid() || !later.IsValid() || !(later > earlier)) {
        return {};
    }
    return CalendarBetween(*earlier.GetParts(), *later.GetParts());
}

WeekSpan WeekDifference(const DateTime& earlier, const DateTime& later)
{
    if (!earlier.IsValid() || !later.IsValid() || !(later > earlier)) {
        return {};
    }
    return WeeksBetween(*earlier.GetParts(), *later.GetParts());
}

std::optional<std::array<std::int64_t, 15>> DifferenceFigures(const DateTime& start, const DateTime& final)
{
    if (!InFieldRange(start, final)) {
        return std::nullopt;
    }
    return FiguresInRange(start, final);
}

DifferenceTexts ComputeDifference(const DateTime& start, const DateTime& final)
{
    if (!InFieldRange(start, final)) {
        DifferenceTexts texts;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            texts[i] = {kDifferenceFieldIds[i], FigureText("*")};
        }
        return texts;
    }
    return MakeTexts(FiguresInRange(start, final));
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

ElapsedLine ComputeElapsedLine(const DateTime& start, const DateTime& final, const ZoneSource& zones,
                               const MessageSource& messages)
{
    const std::optional<LocalElapsed> elapsed =
        InFieldRange(start, final) ? zones.ElapsedBetween(start, final) : std::nullopt;
    if (!elapsed || !elapsed->offsetChanged) {
        return {};
    }
    // A change from local mean time, or of the standard offset, is no daylight saving.
    return FilledElapsedLine(*elapsed, elapsed->daylightChanged ? kElapsedLineMessage : kOffsetChangeLineMessage,
                             messages);
}

ElapsedLine ElapsedLineBetweenZones(const DateTime& start, const DateTime& final,
                                    const std::optional<LocalElapsed>& elapsed, const MessageSource& messages)
{
    if (!elapsed || !InFieldRange(start, final)) {
        return {};
    }
    return FilledElapsedLine(*elapsed, kZonesElapsedLineMessage, messages);
}

std::string ElapsedLineValue(std::string_view lineText, const MessageSource& messages)
{
    for (const int layoutId : {kElapsedLineMessage, kOffsetChangeLineMessage, kZonesElapsedLineMessage}) {
        const std::string layout = messages.GetString(layoutId);
        const std::size_t at = layout.find("%1");
        const std::string_view label = std::string_view(layout).substr(0, at);
        if (at != std::string::npos && at > 0 && lineText.starts_with(label)) {
            return std::string(lineText.substr(label.size()));
        }
    }
    return std::string(lineText);
}
