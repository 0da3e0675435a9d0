#include "info/time_zone.h"

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "fakes/date_at.h"
#include "fakes/fake_locale_formatter.h"
#include "fakes/fake_messages.h"
#include "fakes/fake_zone_source.h"
#include "info/tzif.h"

namespace {

// wMonth, wDayOfWeek, wDay (occurrence) and the time of day of a change rule.
SystemTime Rule(int month, int dayOfWeek, int occurrence, int hour = 2, int minute = 0, int second = 0)
{
    SystemTime rule;
    rule.month = static_cast<std::uint16_t>(month);
    rule.dayOfWeek = static_cast<std::uint16_t>(dayOfWeek);
    rule.day = static_cast<std::uint16_t>(occurrence);
    rule.hour = static_cast<std::uint16_t>(hour);
    rule.minute = static_cast<std::uint16_t>(minute);
    rule.second = static_cast<std::uint16_t>(second);
    return rule;
}

TimeZoneInformation Zone(int bias, ZoneState state = ZoneState::Standard)
{
    TimeZoneInformation zone;
    zone.bias = bias;
    zone.standardName = "Standard";
    zone.daylightName = "Daylight";
    zone.state = state;
    return zone;
}

struct LineCase {
    const char* why;
    TimeZoneInformation zone;
    const char* line;
};

const LineCase kLineCases[] = {
    {"one hour east", Zone(-60), "(GMT+01:00) Standard"},
    {"half hours east", Zone(-330), "(GMT+05:30) Standard"},
    {"UTC has a blank, not a sign", Zone(0), "(GMT 00:00) Standard"},
    {"west: the minus comes with the hour, unpadded", Zone(300), "(GMT-5:00) Standard"},
    {"west with half hours", Zone(210), "(GMT-3:30) Standard"},
    {"half an hour east has no hour sign", Zone(-30), "(GMT 00:30) Standard"},
    {"half an hour west has no hour sign either", Zone(30), "(GMT 00:30) Standard"},
    {"nine and a half hours west", Zone(570), "(GMT-9:30) Standard"},
    {"two-digit hours east", Zone(-780), "(GMT+13:00) Standard"},
    {"daylight in force: daylight name, base offset", Zone(-60, ZoneState::Daylight), "(GMT+01:00) Daylight"},
    {"unknown state reads as standard", Zone(-60, ZoneState::Unknown), "(GMT+01:00) Standard"},
};

TEST(TimeZone, ZoneLine)
{
    for (const LineCase& c : kLineCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(ZoneLine(c.zone), c.line);
    }
}

struct RuleTextCase {
    const char* why;
    SystemTime rule;
    const char* text;
};

const RuleTextCase kRuleTextCases[] = {
    {"first Sunday of April", Rule(4, 0, 1), "02:00, 1st Sunday, April"},
    {"last Sunday of October", Rule(10, 0, 5, 3), "03:00, Last Sunday, October"},
    {"seconds are not shown", Rule(2, 4, 5, 23, 59, 59), "23:59, Last Thursday, February"},
    {"Saturday, the last weekday", Rule(3, 6, 2, 0, 30), "00:30, 2nd Saturday, March"},
    {"fourth occurrence", Rule(11, 1, 4), "02:00, 4th Monday, November"},
    {"no rule", Rule(0, 0, 0), ""},
    {"occurrence beyond last", Rule(4, 0, 6), ""},
};

TEST(TimeZone, RuleText)
{
    const FakeMessages messages;
    const FakeLocaleFormatter english;
    for (const RuleTextCase& c : kRuleTextCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(RuleText(c.rule, messages, english), c.text);
    }
}

TEST(TimeZone, RuleTextAsksTheLanguageForTheOccurrence)
{
    FakeMessages messages;
    messages.Override(28, "Letzter");
    const FakeLocaleFormatter english;
    EXPECT_EQ(RuleText(Rule(10, 0, 5), messages, english), "02:00, Letzter Sunday, October");
    // A language whose word agrees with the weekday gives one per weekday, and its own layout.
    messages.Override(63 + 7 * 4 + 0, "последнее");
    messages.Override(63 + 7 * 0 + 3, "первая");
    messages.Override(98, "%1, %2 %3 %4");
    EXPECT_EQ(RuleText(Rule(10, 0, 5), messages, english), "02:00, последнее Sunday October");
    EXPECT_EQ(RuleText(Rule(4, 3, 1), messages, english), "02:00, первая Wednesday April");
    EXPECT_EQ(RuleText(Rule(4, 1, 5), messages, english), "02:00, Letzter Monday April") << "no word: the shared one";
}

struct NextCase {
    const char* why;
    SystemTime rule;
    DateTime t;
    DateTime next;
};

const NextCase kNextCases[] = {
    {"this year's change is ahead", Rule(4, 0, 1), At(2004, 3, 1, 12), At(2004, 4, 4, 2)},
    {"change day at midnight moves to next year", Rule(4, 0, 1), At(2004, 4, 4), At(2005, 4, 3, 2)},
    {"change day before the change still moves", Rule(4, 0, 1), At(2004, 4, 4, 1, 59, 59), At(2005, 4, 3, 2)},
    {"change day late evening", Rule(4, 0, 1), At(2004, 4, 4, 23), At(2005, 4, 3, 2)},
    {"the evening before keeps this year", Rule(4, 0, 1), At(2004, 4, 3, 23, 59), At(2004, 4, 4, 2)},
    {"last Sunday of October", Rule(10, 0, 5), At(2004, 1, 1), At(2004, 10, 31, 2)},
    {"last Sunday of October, next year", Rule(10, 0, 5), At(2004, 11, 1), At(2005, 10, 30, 2)},
    {"fourth Sunday is not the last", Rule(10, 0, 4), At(2004, 1, 1), At(2004, 10, 24, 2)},
    {"third Sunday of February, passed", Rule(2, 0, 3), At(2004, 2, 29), At(2005, 2, 20, 2)},
    {"last Sunday of a leap February", Rule(2, 0, 5), At(2004, 1, 1), At(2004, 2, 29, 2)},
    {"last day of the month is the weekday", Rule(1, 6, 5, 0, 0, 0), At(2005, 1, 1), At(2005, 1, 29)},
    {"first day of the month is the weekday", Rule(1, 6, 1), At(2004, 12, 31), At(2005, 1, 1, 2)},
    {"rule seconds kept in the moment", Rule(3, 0, 5, 23, 59, 59), At(2004, 1, 1), At(2004, 3, 28, 23, 59, 59)},
    {"late in 9998 still fits", Rule(3, 0, 5), At(9998, 12, 31), At(9999, 3, 28, 2)},
    {"past the last year of the range", Rule(3, 0, 5), At(9999, 12, 31), DateTime::Invalid()},
    {"invalid moment", Rule(3, 0, 5), DateTime::Invalid(), DateTime::Invalid()},
    {"no rule never searches", Rule(0, 0, 0), At(2004, 1, 1), DateTime::Invalid()},
    {"occurrence 6 never searches", Rule(3, 0, 6), At(2004, 1, 1), DateTime::Invalid()},
    {"occurrence 65535 never searches", Rule(3, 0, 65535), At(2004, 1, 1), DateTime::Invalid()},
    {"weekday 7 never searches", Rule(3, 7, 1), At(2004, 1, 1), DateTime::Invalid()},
    {"month 13 never searches", Rule(13, 0, 1), At(2004, 1, 1), DateTime::Invalid()},
    {"hour 24 is no time of day", Rule(3, 0, 1, 24), At(2004, 1, 1), DateTime::Invalid()},
};

TEST(TimeZone, NextChange)
{
    for (const NextCase& c : kNextCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(NextChange(c.rule, c.t), c.next);
    }
}

TEST(TimeZone, TextsOfAZoneWithRules)
{
    const FakeMessages messages;
    const FakeLocaleFormatter english;
    TimeZoneInformation zone = Zone(-60, ZoneState::Daylight);
    zone.daylightDate = Rule(3, 0, 5);
    zone.standardDate = Rule(10, 0, 5, 3);
    const TimeZoneTexts texts = ComputeTimeZoneTexts(zone, At(2004, 3, 1, 12), messages, english);
    const std::array<FieldText, 5> expected = {
        FieldText{kZoneFieldId, "(GMT+01:00) Daylight"},
        FieldText{kBeginRuleFieldId, "02:00, Last Sunday, March"},
        FieldText{kEndRuleFieldId, "03:00, Last Sunday, October"},
        FieldText{kNextBeginFieldId, "Sunday, March 28, 2004"},
        FieldText{kNextEndFieldId, "Sunday, October 31, 2004"},
    };
    EXPECT_EQ(texts.fields, expected);
    EXPECT_TRUE(texts.hasRules);
    EXPECT_EQ(texts.buttons[0], (ControlState{kBeginButtonId, true}));
    EXPECT_EQ(texts.buttons[1], (ControlState{kEndButtonId, true}));
    EXPECT_EQ(texts.nextBegin, At(2004, 3, 28, 2));
    EXPECT_EQ(texts.nextEnd, At(2004, 10, 31, 3));
}

TEST(TimeZone, ButtonsOnlyForChangesTheTimeInfoPageCanShow)
{
    const FakeMessages messages;
    const FakeLocaleFormatter english;
    TimeZoneInformation zone = Zone(-60, ZoneState::Standard);
    zone.daylightDate = Rule(3, 0, 5);
    zone.standardDate = Rule(10, 0, 5, 3);
    // At the end of 9998 both next changes fall in 9999, past the pickers' last day.
    const TimeZoneTexts last = ComputeTimeZoneTexts(zone, At(9998, 12, 31, 12), messages, english);
    EXPECT_EQ(last.buttons[0], (ControlState{kBeginButtonId, false}));
    EXPECT_EQ(last.buttons[1], (ControlState{kEndButtonId, false}));
    const TimeZoneTexts summer = ComputeTimeZoneTexts(zone, At(9998, 7, 1), messages, english);
    EXPECT_EQ(summer.buttons[0], (ControlState{kBeginButtonId, false}));
    EXPECT_EQ(summer.buttons[1], (ControlState{kEndButtonId, true}));
}

TEST(TimeZone, TextsWithoutUsableRules)
{
    const FakeMessages messages;
    const FakeLocaleFormatter english;
    struct Case {
        const char* why;
        SystemTime daylight, standard;
    };
    const Case cases[] = {
        {"a zone without daylight saving", Rule(0, 0, 0, 0), Rule(0, 0, 0, 0)},
        {"only one rule", Rule(3, 0, 5), Rule(0, 0, 0, 0)},
        {"occurrence out of range", Rule(3, 0, 5), Rule(10, 0, 9)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TimeZoneInformation zone = Zone(-330, ZoneState::Unknown);
        zone.daylightDate = c.daylight;
        zone.standardDate = c.standard;
        const TimeZoneTexts texts = ComputeTimeZoneTexts(zone, At(2004, 3, 1), messages, english);
        EXPECT_FALSE(texts.hasRules);
        EXPECT_EQ(texts.fields[0], (FieldText{kZoneFieldId, "(GMT+05:30) Standard"}));
        for (std::size_t i = 1; i < texts.fields.size(); ++i) {
            EXPECT_EQ(texts.fields[i].text, "");
        }
        EXPECT_FALSE(texts.buttons[0].enabled);
        EXPECT_FALSE(texts.buttons[1].enabled);
    }
}

// The wall-clock moments at which a zone switched into (begins) and out of (ends) daylight time, as
// the C library computes them from the zone file: the local time just before the switch, plus a second.
struct RealChanges {
    std::vector<DateTime> begins, ends;
};

DateTime WallTimeAt(std::time_t instant)
{
    std::tm local{};
    localtime_r(&instant, &local);
    // Step a second on in wall-clock terms, without any zone: 01:59:59 becomes 02:00:00.
    std::time_t wall = timegm(&local) + 1;
    std::tm next{};
    gmtime_r(&wall, &next);
    return At(next.tm_year + 1900, next.tm_mon + 1, next.tm_mday, next.tm_hour, next.tm_min, next.tm_sec);
}

bool IsDst(std::time_t instant)
{
    std::tm local{};
    localtime_r(&instant, &local);
    return local.tm_isdst > 0;
}

RealChanges ChangesOf(const std::string& zoneFile, int fromYear, int toYear)
{
    const ScopedZoneEnv tz("TZ", (":" + zoneFile).c_str());
    std::tm start{};
    start.tm_year = fromYear - 1900;
    start.tm_mday = 1;
    std::tm stop = start;
    stop.tm_year = toYear + 1 - 1900;
    RealChanges changes;
    const std::time_t last = timegm(&stop);
    for (std::time_t day = timegm(&start); day < last; day += 86400) {
        const bool before = IsDst(day);
        if (IsDst(day + 86400) == before) {
            continue;
        }
        std::time_t low = day;
        std::time_t high = day + 86400;   // IsDst(low) == before, IsDst(high) != before
        while (high - low > 1) {
            const std::time_t mid = low + (high - low) / 2;
            (IsDst(mid) == before ? low : high) = mid;
        }
        (before ? changes.ends : changes.begins).push_back(WallTimeAt(low));
    }
    return changes;
}

// The first change whose day, taken at midnight, lies after t.
DateTime FirstAfter(const std::vector<DateTime>& changes, const DateTime& t)
{
    for (const DateTime& change : changes) {
        if (At(change.GetYear(), change.GetMonth(), change.GetDay()) > t) {
            return change;
        }
    }
    return DateTime::Invalid();
}

TEST(TimeZone, NextChangesMatchTheZoneFiles)
{
    const FakeZoneFolder folder(CHRONEL_TEST_DATA_DIR "/tz");
    ASSERT_TRUE(folder.Ok());
    for (const char* id : {"Europe/Berlin", "America/New_York", "Australia/Sydney"}) {
        SCOPED_TRACE(id);
        const auto zone = ZoneFromTzif(folder.Read(id));
        ASSERT_TRUE(zone.has_value());
        ASSERT_TRUE(HasDstRules(*zone));
        const RealChanges real = ChangesOf(folder.Path(id), 2010, 2036);
        ASSERT_EQ(real.begins.size(), 27u);
        ASSERT_EQ(real.ends.size(), 27u);
        for (DateTime day = At(2010, 1, 1); day < At(2036, 1, 1); day += DateTimeSpan(1.0)) {
            for (const double timeOfDay : {0.0, 0.5, 86399.0 / 86400.0}) {
                const DateTime t = day + DateTimeSpan(timeOfDay);
                ASSERT_EQ(NextChange(zone->daylightDate, t), FirstAfter(real.begins, t)) << t.Format("%F %T");
                ASSERT_EQ(NextChange(zone->standardDate, t), FirstAfter(real.ends, t)) << t.Format("%F %T");
            }
        }
    }
}

}  // namespace
