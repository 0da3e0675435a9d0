#include "info/time_zone.h"

#include <cstdio>
#include <cstdlib>

#include "core/calendar.h"
#include "core/civil.h"
#include "core/system_time.h"
#include "info/rule_words.h"
#include "info/zone_model.h"

namespace {

constexpr int kOccurrenceMessageBase = 23;   // 24 "1st" ... 28 "Last"
constexpr int kLastWeek = 5;

std::string TwoDigits(int hour, int minute)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
    return text;
}

}   // namespace

std::string ZoneLine(const ZoneRules& zone)
{
    const int hours = zone.bias / -60;
    const int minutes = std::abs(zone.bias % 60);
    const char* sign = hours > 0 ? "+" : (hours == 0 ? " " : "");
    char prefix[48];
    std::snprintf(prefix, sizeof prefix, "(GMT%s%02d:%02d) ", sign, hours, minutes);
    return prefix + (zone.state == ZoneState::Daylight ? zone.daylightName : zone.standardName);
}

bool IsUsableRule(const ChangeRule& rule)
{
    const auto within = [](int value, int low, int high) { return value >= low && value <= high; };
    return within(rule.month, 1, 12) && within(rule.weekday, 0, 6) && within(rule.weekOfMonth, 1, kLastWeek) &&
           within(rule.hour, 0, 23) && within(rule.minute, 0, 59) && within(rule.second, 0, 59);
}

bool HasDstRules(const ZoneRules& zone)
{
    return IsUsableRule(zone.toDaylight) && IsUsableRule(zone.toStandard);
}

std::string RuleText(const ChangeRule& rule, const MessageSource& messages, const LocaleFormatter& formatter)
{
    if (!IsUsableRule(rule)) {
        return {};
    }
    // 2006 began on a Sunday, so January 1 + weekday falls on that weekday.
    const auto u = [](int value) { return static_cast<std::uint16_t>(value); };
    const SystemTime weekday{2006, 1, u(rule.weekday), u(1 + rule.weekday), 0, 0, 0, 0};
    const SystemTime month{2006, u(rule.month), 0, 1, 0, 0, 0, 0};
    // Where the word agrees with the weekday (Russian: "последнее воскресенье", "последняя среда"), the
    // language gives one per weekday; otherwise the one shared word serves.
    std::string occurrence =
        messages.GetString(kOccurrenceByWeekdayMessage + 7 * (rule.weekOfMonth - 1) + rule.weekday);
    if (occurrence.empty()) {
        occurrence = messages.GetString(kOccurrenceMessageBase + rule.weekOfMonth);
    }
    std::string layout = messages.GetString(kRuleLayoutMessage);
    if (layout.empty()) {
        layout = "%1, %2 %3, %4";
    }
    const std::string parts[] = {TwoDigits(rule.hour, rule.minute), occurrence,
                                 FormatDateName(formatter, weekday, false, true).value_or(""),
                                 FormatDateName(formatter, month, true, true).value_or("")};
    return FillLayout(layout, parts);
}

namespace {

// The day of the month of the rule's change in `year`, for a usable rule.
int ChangeDayOfMonth(const ChangeRule& rule, int year)
{
    const int firstWeekday = civil::WeekdayFromDays(civil::DaysFromCivil(year, static_cast<unsigned>(rule.month), 1));
    if (rule.weekOfMonth == kLastWeek) {
        const int lastDay = DaysInMonth(year, rule.month);
        const int lastWeekday = (firstWeekday + lastDay - 1) % 7;
        return lastDay - (lastWeekday - rule.weekday + 7) % 7;
    }
    return 1 + (rule.weekday - firstWeekday + 7) % 7 + 7 * (rule.weekOfMonth - 1);
}

}   // namespace

DateTime ChangeDay(const ChangeRule& rule, int year)
{
    if (!IsUsableRule(rule) || year < 100 || year > 9999) {
        return DateTime::Invalid();
    }
    return DateTime::FromParts(year, rule.month, ChangeDayOfMonth(rule, year), 0, 0, 0);
}

DateTime NextChange(const ChangeRule& rule, const DateTime& t)
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

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kUnixEpoch = -civil::kOleEpochFromUnixDays * kSecondsPerDay;   // from DateTime()

DateTime FromWallSeconds(std::int64_t wallSeconds)
{
    const civil::YearMonthDay day = civil::CivilFromDays(civil::FloorDiv(wallSeconds, kSecondsPerDay));
    const auto second = static_cast<int>(wallSeconds - civil::FloorDiv(wallSeconds, kSecondsPerDay) * kSecondsPerDay);
    if (day.year < 100 || day.year > 9999) {
        return DateTime::Invalid();
    }
    return DateTime::FromParts(day.year, day.month, day.day, second / 3600, second / 60 % 60, second % 60);
}

}   // namespace

DaylightChanges NextDaylightChanges(const ZoneModel& zone, const DateTime& t)
{
    DaylightChanges changes{DateTime::Invalid(), DateTime::Invalid()};
    if (!t.IsValid()) {
        return changes;
    }
    std::int64_t instant = zone.InstantOf((t - DateTime()).GetTotalSeconds() - kUnixEpoch);
    // Years of standard offset changes alone before the next daylight change are not worth searching.
    for (int i = 0; i < 64 && !(changes.begin.IsValid() && changes.end.IsValid()); ++i) {
        const std::optional<std::int64_t> change = zone.NextChange(instant);
        if (!change) {
            break;
        }
        const ZoneModel::LocalTime before = zone.At(*change - 1), after = zone.At(*change);
        instant = *change;
        if (before.isDst == after.isDst) {
            continue;
        }
        DateTime& slot = after.offsetSeconds > before.offsetSeconds ? changes.begin : changes.end;
        if (!slot.IsValid()) {
            slot = FromWallSeconds(*change + before.offsetSeconds);
        }
    }
    return changes;
}

TimeZoneTexts ComputeTimeZoneTexts(const ZoneRules& zone, const DateTime& t, const MessageSource& messages,
                                   const LocaleFormatter& formatter, const ZoneModel* model)
{
    TimeZoneTexts result;
    const bool recordRules = HasDstRules(zone);
    const std::optional<PosixTzRules>& footer = model != nullptr ? model->FooterRules() : std::nullopt;
    const std::optional<DstRule> words = footer && !recordRules ? ChangesBeyondRecord(*footer) : std::nullopt;
    result.hasRules = recordRules || words;
    result.buttons = {ControlState{kBeginButtonId, false}, ControlState{kEndButtonId, false}};
    result.fields = {FieldText{kZoneFieldId, ZoneLine(zone)}, FieldText{kBeginRuleFieldId, {}},
                     FieldText{kEndRuleFieldId, {}}, FieldText{kNextBeginFieldId, {}}, FieldText{kNextEndFieldId, {}}};
    if (!result.hasRules) {
        return result;
    }
    if (model != nullptr) {
        const DaylightChanges next = NextDaylightChanges(*model, t);
        result.nextBegin = next.begin;
        result.nextEnd = next.end;
    } else {
        result.nextBegin = NextChange(zone.toDaylight, t);
        result.nextEnd = NextChange(zone.toStandard, t);
    }
    result.buttons = {ControlState{kBeginButtonId, IsInPickerRange(result.nextBegin)},
                      ControlState{kEndButtonId, IsInPickerRange(result.nextEnd)}};
    result.fields[1].text =
        words ? RuleWords(words->start, messages, formatter) : RuleText(zone.toDaylight, messages, formatter);
    result.fields[2].text =
        words ? RuleWords(words->end, messages, formatter) : RuleText(zone.toStandard, messages, formatter);
    result.fields[3].text = FormatLongDate(formatter, result.nextBegin).value_or("");
    result.fields[4].text = FormatLongDate(formatter, result.nextEnd).value_or("");
    return result;
}
