#pragma once

#include <array>
#include <string>

#include "core/date_time.h"
#include "core/field_text.h"
#include "core/locale_format.h"
#include "core/messages.h"
#include "info/zone_rules.h"

class ZoneModel;

// Control ids of the Time Zone sub-page.
inline constexpr int kZoneFieldId = 1107;
inline constexpr int kBeginRuleFieldId = 1105;
inline constexpr int kEndRuleFieldId = 1106;
inline constexpr int kNextBeginFieldId = 1108;
inline constexpr int kNextEndFieldId = 1103;
inline constexpr int kBeginButtonId = 1112;
inline constexpr int kEndButtonId = 1047;

// "(GMT+01:00) name" from the base bias alone: hours are bias / -60 truncated toward zero, minutes the
// size of the rest; "+" before a positive hour count, a blank before zero, and a negative count brings
// its own minus ("(GMT-5:00)"). The name is the daylight name while daylight time is in force now, else
// the standard name.
std::string ZoneLine(const ZoneRules& zone);

// True when the rule is one the change search can follow: month 1..12, weekday 0..6, week of the month
// 1..5 and a time of day. A rule with week 0 (no rule) or any other value is not.
bool IsUsableRule(const ChangeRule& rule);

// True when both change rules are usable; otherwise the zone counts as keeping no daylight saving.
bool HasDstRules(const ZoneRules& zone);

// "02:00, Last Sunday, October": time of day, occurrence word, weekday and month names of the locale, laid
// out by message 98. The occurrence word is message 63 + 7 * (weekOfMonth - 1) + weekday where the language
// gives one (words that agree with the weekday), else message 23 + weekOfMonth. A name the locale cannot
// give is an empty piece. Empty for an unusable rule.
std::string RuleText(const ChangeRule& rule, const MessageSource& messages, const LocaleFormatter& formatter);

// The day of the rule's change in `year`, at 00:00:00; invalid for an unusable rule or a year outside
// the range.
DateTime ChangeDay(const ChangeRule& rule, int year);

// The next change after `t`, at the rule's time of day: this year's change day when, taken at midnight,
// it lies after `t`; otherwise next year's, so on the change day itself the answer is a year later.
// Invalid when `t` is invalid, the rule unusable, or the change would fall after 9999.
DateTime NextChange(const ChangeRule& rule, const DateTime& t);

// Everything the Time Zone sub-page shows for the Time Info date-time `t`.
struct TimeZoneTexts {
    // Zone line, begin rule, end rule, next begin, next end: the order the page writes them.
    std::array<FieldText, 5> fields;
    // A button is enabled exactly when the zone has rules and its change lies in the pickers' range.
    std::array<ControlState, 2> buttons;
    // The moments the buttons show; meaningful only with rules (without, the page keeps its old ones).
    bool hasRules = false;
    DateTime nextBegin, nextEnd;
};

// The first change into daylight time and the first back to standard time after wall time `t` in `zone`,
// each shown at the wall time in force before it (as a rule's "02:00"); a change of the standard offset
// alone is neither. Invalid when `t` is, or when there is none up to 9999.
struct DaylightChanges {
    DateTime begin, end;
};
DaylightChanges NextDaylightChanges(const ZoneModel& zone, const DateTime& t);

// Without rules the four daylight-saving fields are empty. A next change that cannot be formatted (or
// falls after 9999) leaves its field empty. With the zone read whole (`model`), the next changes come
// from its history, and present rules the zone record cannot hold (Jn and n days, change times beyond
// 0..24 h) count as rules, shown in words.
TimeZoneTexts ComputeTimeZoneTexts(const ZoneRules& zone, const DateTime& t, const MessageSource& messages,
                                   const LocaleFormatter& formatter, const ZoneModel* model = nullptr);
