#include "info/rule_words.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "core/civil.h"
#include "core/system_time.h"
#include "info/time_zone.h"

namespace {

constexpr int kSecondsPerDay = 86400;

std::uint16_t U16(int value)
{
    return static_cast<std::uint16_t>(value);
}

std::string TimeOfDay(int seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", seconds / 3600, seconds / 60 % 60);
    return text;
}

// 2006 began on a Sunday, so January 1 + weekday falls on that weekday.
std::string WeekdayName(const LocaleFormatter& formatter, int weekday)
{
    return FormatDateName(formatter, SystemTime{2006, 1, U16(weekday), U16(1 + weekday), 0, 0, 0, 0}, false, true)
        .value_or("");
}

std::string MonthName(const LocaleFormatter& formatter, int month)
{
    return FormatDateName(formatter, SystemTime{2006, U16(month), 0, 1, 0, 0, 0, 0}, true, true).value_or("");
}

// The language's word for the week-th weekday agreeing with it, else the week-th of the shared list.
std::string OccurrenceWord(const MessageSource& messages, int week, int weekday)
{
    std::string word = messages.GetString(kOccurrenceByWeekdayMessage + 7 * (week - 1) + weekday);
    if (!word.empty()) {
        return word;
    }
    const std::string words = messages.GetString(kRuleOccurrenceWordsMessage);
    std::size_t begin = 0;
    for (int i = 1; i < week && begin != std::string::npos; ++i) {
        begin = words.find('|', begin);
        begin = begin == std::string::npos ? begin : begin + 1;
    }
    return begin == std::string::npos ? std::string() : words.substr(begin, words.find('|', begin) - begin);
}

std::string JulianDayWords(const TzChange& change, int shift, const std::string& time, const MessageSource& messages,
                           const LocaleFormatter& formatter)
{
    // Jn never counts February 29, so day n is the same month and day in every year; 2005 has no leap day.
    const int day = ((change.day - 1 + shift) % 365 + 365) % 365;
    const civil::YearMonthDay date = civil::CivilFromDays(civil::DaysFromCivil(2005, 1, 1) + day);
    const std::string pieces[] = {time, MonthName(formatter, date.month), std::to_string(date.day)};
    return FillLayout(messages.GetString(kRuleJulianDayMessage), pieces);
}

std::string ZeroBasedDayWords(const TzChange& change, int shift, const std::string& time, const MessageSource& messages)
{
    const int day = change.day + shift;
    if (day >= 0 && day <= 365) {
        const std::string pieces[] = {time, std::to_string(day + 1)};
        return FillLayout(messages.GetString(kRuleDayOfYearMessage), pieces);
    }
    const std::string pieces[] = {time, std::to_string(std::abs(shift)), std::to_string(change.day + 1)};
    return FillLayout(messages.GetString(shift > 0 ? kRuleDaysAfterDayOfYearMessage : kRuleDaysBeforeDayOfYearMessage),
                      pieces);
}

std::string ShiftedWeekdayWords(const TzChange& change, int shift, const std::string& time,
                                const MessageSource& messages, const LocaleFormatter& formatter)
{
    const int layout = shift == 1    ? kRuleDayAfterMessage
                       : shift == -1 ? kRuleDayBeforeMessage
                       : shift > 0   ? kRuleDaysAfterMessage
                                     : kRuleDaysBeforeMessage;
    const std::string pieces[] = {time,
                                  WeekdayName(formatter, ((change.weekday + shift) % 7 + 7) % 7),
                                  OccurrenceWord(messages, change.week, change.weekday),
                                  WeekdayName(formatter, change.weekday),
                                  MonthName(formatter, change.month),
                                  std::to_string(std::abs(shift))};
    return FillLayout(messages.GetString(layout), pieces);
}

}   // namespace

std::string FillLayout(std::string_view layout, std::span<const std::string> pieces)
{
    std::string text;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const char next = i + 1 < layout.size() ? layout[i + 1] : '\0';
        const auto piece = static_cast<std::size_t>(next - '1');
        if (layout[i] == '%' && next >= '1' && piece < pieces.size()) {
            text += pieces[piece];
            ++i;
        } else {
            text += layout[i];
        }
    }
    return text;
}

std::string RuleWords(const TzChange& change, const MessageSource& messages, const LocaleFormatter& formatter)
{
    const int shift = static_cast<int>(civil::FloorDiv(change.timeSeconds, kSecondsPerDay));
    const std::string time = TimeOfDay(change.timeSeconds - shift * kSecondsPerDay);
    switch (change.form) {
    case TzChange::Form::JulianNoLeap:
        return JulianDayWords(change, shift, time, messages, formatter);
    case TzChange::Form::ZeroBased:
        return ZeroBasedDayWords(change, shift, time, messages);
    case TzChange::Form::MonthWeekDay:
        break;
    }
    if (shift == 0) {
        const int t = change.timeSeconds;
        return RuleText({change.month, change.weekday, change.week, t / 3600, t / 60 % 60, t % 60}, messages,
                        formatter);
    }
    return ShiftedWeekdayWords(change, shift, time, messages, formatter);
}

std::optional<DstRule> ChangesBeyondRecord(const PosixTzRules& rules)
{
    if (rules.dstName.empty() || !rules.dst) {
        return std::nullopt;
    }
    const std::optional<ZoneRules> zone = ZoneFromPosixTz(rules);
    if (zone && HasDstRules(*zone)) {
        return std::nullopt;
    }
    DstRule changes = *rules.dst;
    if (rules.dstOffsetSeconds < rules.stdOffsetSeconds) {
        std::swap(changes.start, changes.end);
    }
    return changes;
}
