#include "info/calendar_facts.h"

#include <string>

#include "core/calendar.h"

namespace {

constexpr int kMessageYes = 33;
constexpr int kMessageNo = 34;
constexpr int kMessageWinter = 35;

int WeekNumberOf(const DateTime::Parts& parts)
{
    return (parts.dayOfYear - 1 + 7 - parts.dayOfWeek) / 7 + 1;
}

// The Monday-based week of a day counted from the year's first Monday-based week that holds a Thursday:
// 0 for the days before it, 53 for days that may already belong to the next year's week 1.
int IsoWeekCount(int dayOfYear, int dayOfWeek)
{
    const int isoDay = (dayOfWeek + 6) % 7 + 1;   // Monday 1 ... Sunday 7
    return (dayOfYear - isoDay + 10) / 7;
}

IsoWeek IsoWeekOfParts(const DateTime::Parts& parts)
{
    const int week = IsoWeekCount(parts.dayOfYear, parts.dayOfWeek);
    if (week < 1) {
        // The last week of the year before, like its December 31.
        const int lastDay = IsLeapYear(parts.year - 1) ? 366 : 365;
        const int lastDayOfWeek = ((parts.dayOfWeek - parts.dayOfYear) % 7 + 7) % 7;
        return {parts.year - 1, IsoWeekCount(lastDay, lastDayOfWeek)};
    }
    if (week == 53) {
        // The week belongs to the year that holds its Thursday: this one only when December 31 is a
        // Thursday or later in the week.
        const int yearLength = IsLeapYear(parts.year) ? 366 : 365;
        const int december31 = (parts.dayOfWeek + yearLength - parts.dayOfYear) % 7;
        if (december31 >= 1 && december31 <= 3) {
            return {parts.year + 1, 1};
        }
    }
    return {parts.year, week};
}

}   // namespace

int WeekNumber(const DateTime& value)
{
    const auto parts = value.GetParts();
    return parts ? WeekNumberOf(*parts) : -1;
}

std::optional<IsoWeek> IsoWeekOf(const DateTime& value)
{
    const auto parts = value.GetParts();
    return parts ? std::optional<IsoWeek>(IsoWeekOfParts(*parts)) : std::nullopt;
}

int SeasonMessageId(int month)
{
    if (month < 1 || month > 12) {
        return -1;
    }
    return kMessageWinter + month % 12 / 3;
}

CalendarFactTexts ComputeCalendarFacts(const DateTime& value, const MessageSource& messages,
                                       const LocaleFormatter& formatter)
{
    CalendarFactTexts texts = {FieldText{kLeapYearFieldId, "*"},   FieldText{kDayNumberFieldId, "*"},
                               FieldText{kWeekNumberFieldId, "*"}, FieldText{kDayOfWeekFieldId, "*"},
                               FieldText{kQuarterFieldId, "*"},    FieldText{kSeasonFieldId, "*"},
                               FieldText{kIsoWeekFieldId, "*"}};
    const auto parts = value.GetParts();
    if (!parts) {
        return texts;
    }
    texts[0].text = messages.GetString(IsLeapYear(parts->year) ? kMessageYes : kMessageNo);
    texts[1].text = std::to_string(parts->dayOfYear);
    texts[2].text = std::to_string(WeekNumberOf(*parts));
    // The date's record from the parts already taken apart; a name needs no time of day.
    const SystemTime date{static_cast<std::uint16_t>(parts->year), static_cast<std::uint16_t>(parts->month),
                          static_cast<std::uint16_t>(parts->dayOfWeek), static_cast<std::uint16_t>(parts->day)};
    texts[3].text = FormatDateName(formatter, date, false, true).value_or("");
    texts[4].text = std::to_string((parts->month - 1) / 3 + 1);
    texts[5].text = messages.GetString(SeasonMessageId(parts->month));
    const IsoWeek iso = IsoWeekOfParts(*parts);
    texts[6].text = std::to_string(iso.week) + " (" + std::to_string(iso.year) + ")";
    return texts;
}
