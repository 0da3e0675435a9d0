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

}   // namespace

int WeekNumber(const DateTime& value)
{
    const auto parts = value.GetParts();
    return parts ? WeekNumberOf(*parts) : -1;
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
                               FieldText{kQuarterFieldId, "*"},    FieldText{kSeasonFieldId, "*"}};
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
    return texts;
}
