#include "info/time_zone.h"

#include <cstdio>
#include <cstdlib>

#include "core/calendar.h"
#include "core/civil.h"

namespace {

constexpr int kOccurrenceMessageBase = 23;   // 24 "1st" ... 28 "Last"
constexpr int kLastOccurrence = 5;

std::string TwoDigits(int hour, int minute)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
    return text;
}

}   // namespace

std::string ZoneLine(const TimeZoneInformation& zone)
{
    const int hours = zone.bias / -60;
    const int minutes = std::abs(zone.bias % 60);
    const char* sign = hours > 0 ? "+" : (hours == 0 ? " " : "");
    char prefix[48];
    std::snprintf(prefix, sizeof prefix, "(GMT%s%02d:%02d) ", sign, hours, minutes);
    return prefix + (zone.state == ZoneState::Daylight ? zone.daylightName : zone.standardName);
}

bool IsUsableRule(const SystemTime& rule)
{
    return rule.month >= 1 && rule.month <= 12 && rule.dayOfWeek <= 6 && rule.day >= 1 && rule.day <= kLastOccurrence &&
           rule.hour <= 23 && rule.minute <= 59 && rule.second <= 59;
}

bool HasDstRules(const TimeZoneInformation& zone)
{
    return IsUsableRule(zone.daylightDate) && IsUsableRule(zone.standardDate);
}

std::string RuleText(const SystemTime& rule, const MessageSource& messages, const LocaleFormatter& formatter)
{
    if (!IsUsableRule(rule)) {
        return {};
    }
    // 2006 began on a Sunday, so January 1 + weekday falls on that weekday.
    SystemTime weekday{2006, 1, rule.dayOfWeek, static_cast<std::uint16_t>(1 + rule.dayOfWeek), 0, 0, 0, 0};
    SystemTime month{2006, rule.month, 0, 1, 0, 0, 0, 0};
    // Where the word agrees with the weekday (Russian: "последнее воскресенье", "последняя среда"), the
    // language gives one per weekday; otherwise the one shared word serves.
    std::string occurrence = messages.GetString(kOccurrenceByWeekdayMessage + 7 * (rule.day - 1) + rule.dayOfWeek);
    if (occurrence.empty()) {
        occurrence = messages.GetString(kOccurrenceMessageBase + rule.day);
    }
    std::string layout = messages.GetString(kRuleLayoutMessage);
    if (layout.empty()) {
        layout = "%1, %2 %3, %4";
    }
    const std::string parts[] = {TwoDigits(rule.hour, rule.minute), occurrence,
                                 FormatDateName(formatter, weekday, false, true).value_or(""),
                                 FormatDateName(formatter, month, true, true).value_or("")};
    std::string text;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const char next = i + 1 < layout.size() ? layout[i + 1] : '\0';
        if (layout[i] == '%' && next >= '1' && next <= '4') {
            text += parts[next - '1'];
            ++i;
        } else {
            text += layout[i];
        }
    }
    return text;
}

namespace {

// The day of the month of the rule's change in `year`, for a usable rule.
int ChangeDayOfMonth(const SystemTime& rule, int year)
{
    const int firstWeekday = civil::WeekdayFromDays(civil::DaysFromCivil(year, rule.month, 1));
    if (rule.day == kLastOccurrence) {
        const int lastDay = DaysInMonth(year, rule.month);
        const int lastWeekday = (firstWeekday + lastDay - 1) % 7;
        return lastDay - (lastWeekday - rule.dayOfWeek + 7) % 7;
    }
    return 1 + (rule.dayOfWeek - firstWeekday + 7) % 7 + 7 * (rule.day - 1);
}

}   // namespace

DateTime ChangeDay(const SystemTime& rule, int year)
{
    if (!IsUsableRule(rule) || year < 100 || year > 9999) {
        return DateTime::Invalid();
    }
    return DateTime::FromParts(year, rule.month, ChangeDayOfMonth(rule, year), 0, 0, 0);
}

DateTime NextChange(const SystemTime& rule, const DateTime& t)
{
    if (!t.IsValid() || !IsUsableRule(rule)) {
        return DateTime::Invalid();
    }
    // The change day is built from its year, month and day, not taken apart again.
    int year = t.GetYear();
    if (ChangeDay(rule, year) <= t) {
        ++year;
    }
    if (year > 9999) {
        return DateTime::Invalid();
    }
    return DateTime::FromParts(year, rule.month, ChangeDayOfMonth(rule, year), rule.hour, rule.minute, rule.second);
}

TimeZoneTexts ComputeTimeZoneTexts(const TimeZoneInformation& zone, const DateTime& t, const MessageSource& messages,
                                   const LocaleFormatter& formatter)
{
    TimeZoneTexts result;
    result.hasRules = HasDstRules(zone);
    result.buttons = {ControlState{kBeginButtonId, false}, ControlState{kEndButtonId, false}};
    result.fields = {FieldText{kZoneFieldId, ZoneLine(zone)}, FieldText{kBeginRuleFieldId, {}},
                     FieldText{kEndRuleFieldId, {}}, FieldText{kNextBeginFieldId, {}}, FieldText{kNextEndFieldId, {}}};
    if (!result.hasRules) {
        return result;
    }
    result.nextBegin = NextChange(zone.daylightDate, t);
    result.nextEnd = NextChange(zone.standardDate, t);
    result.buttons = {ControlState{kBeginButtonId, IsInPickerRange(result.nextBegin)},
                      ControlState{kEndButtonId, IsInPickerRange(result.nextEnd)}};
    result.fields[1].text = RuleText(zone.daylightDate, messages, formatter);
    result.fields[2].text = RuleText(zone.standardDate, messages, formatter);
    result.fields[3].text = FormatLongDate(formatter, result.nextBegin).value_or("");
    result.fields[4].text = FormatLongDate(formatter, result.nextEnd).value_or("");
    return result;
}
