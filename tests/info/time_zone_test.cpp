#include "info/time_zone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <vector>

#include "fakes/date_at.h"
#include "fakes/fake_locale_formatter.h"
#include "fakes/fake_messages.h"
#include "fakes/fake_zone_source.h"
#include "info/zone_model.h"

namespace {

// A change rule at 02:00 unless told otherwise.
ChangeRule Rule(int month, int weekday, int weekOfMonth, int hour = 2, int minute = 0, int second = 0)
{
    return ChangeRule{month, weekday, weekOfMonth, hour, minute, second};
}

TEST(TimeZone, ZoneLine)
{
    // A whole hour east, and the name by the state, are in the Texts table below.
    const std::pair<int, const char*> cases[] = {
        {-330, "(GMT+05:30) X"}, {-780, "(GMT+13:00) X"}, {0, "(GMT 00:00) X"},   // UTC has a blank, not a sign
        {300, "(GMT-5:00) X"},                             // west: the minus comes with the hour, unpadded
        {570, "(GMT-9:30) X"},   {-30, "(GMT 00:30) X"},   // half an hour either way has no hour sign
        {30, "(GMT 00:30) X"},
    };
    for (const auto& [bias, line] : cases) {
        EXPECT_EQ(ZoneLine({bias, "X", "Y", {}, {}, ZoneState::Standard}), line) << bias;
    }
}

TEST(TimeZone, RuleText)
{
    FakeMessages messages;
    const FakeLocaleFormatter english;
    const std::pair<ChangeRule, const char*> cases[] = {
        {Rule(4, 0, 1), "02:00, 1st Sunday, April"},
        {Rule(10, 0, 5, 3), "03:00, Last Sunday, October"},
        {Rule(2, 4, 5, 23, 59, 59), "23:59, Last Thursday, February"},   // seconds are not shown
        {Rule(3, 6, 2, 0, 30), "00:30, 2nd Saturday, March"},
        {Rule(0, 0, 0), ""},
        {Rule(4, 0, 6), ""},
    };
    for (const auto& [rule, text] : cases) {
        EXPECT_EQ(RuleText(rule, messages, english), text);
    }
    messages.Override(28, "Letzter");
    EXPECT_EQ(RuleText(Rule(10, 0, 5), messages, english), "02:00, Letzter Sunday, October");
    // A language whose word agrees with the weekday gives one per weekday, and its own layout.
    messages.Override(63 + 7 * 4 + 0, "последнее");
    messages.Override(63 + 7 * 0 + 3, "первая");
    messages.Override(98, "%1, %2 %3 %4");
    EXPECT_EQ(RuleText(Rule(10, 0, 5), messages, english), "02:00, последнее Sunday October");
    EXPECT_EQ(RuleText(Rule(4, 3, 1), messages, english), "02:00, первая Wednesday April");
    EXPECT_EQ(RuleText(Rule(4, 1, 5), messages, english), "02:00, Letzter Monday April") << "no word: the shared one";
}

// Changes by the last and first Sunday, the change day itself and the evening before are walked day by
// day against the zone files below.
TEST(TimeZone, NextChange)
{
    const DateTime y2004 = At(2004, 1, 1), none = DateTime::Invalid();
    const std::tuple<ChangeRule, DateTime, DateTime> cases[] = {
        {Rule(10, 0, 4), y2004, At(2004, 10, 24, 2)},           // the fourth Sunday is not the last
        {Rule(2, 0, 5), y2004, At(2004, 2, 29, 2)},             // the last Sunday of a leap February
        {Rule(1, 6, 5, 0), At(2005, 1, 1), At(2005, 1, 29)},    // the month's last day is the weekday
        {Rule(1, 6, 1), At(2004, 12, 31), At(2005, 1, 1, 2)},   // and its first
        {Rule(3, 0, 5, 23, 59, 59), y2004, At(2004, 3, 28, 23, 59, 59)},
        {Rule(3, 0, 5), At(9998, 12, 31), At(9999, 3, 28, 2)},
        {Rule(3, 0, 5), At(9999, 12, 31), none},
        {Rule(3, 0, 5), none, none},
        // Rules that are no rule are never searched.
        {Rule(0, 0, 0), y2004, none},
        {Rule(3, 0, 6), y2004, none},
        {Rule(3, 7, 1), y2004, none},
        {Rule(13, 0, 1), y2004, none},
        {Rule(3, 0, 1, 24), y2004, none},
    };
    for (const auto& [rule, t, next] : cases) {
        EXPECT_EQ(NextChange(rule, t), next) << t.Format("%F %T");
    }
}

// The Time Zone sub-page's texts, and its buttons only for changes the Time Info pickers can show.
TEST(TimeZone, Texts)
{
    const ChangeRule none = Rule(0, 0, 0, 0), march = Rule(3, 0, 5), october = Rule(10, 0, 5, 3);
    const std::string rules = "(GMT+01:00) Daylight|02:00, Last Sunday, March|03:00, Last Sunday, October|";
    const std::tuple<ChangeRule, ChangeRule, DateTime, std::string, bool, bool> cases[] = {
        {march, october, At(2004, 3, 1, 12), rules + "Sunday, March 28, 2004|Sunday, October 31, 2004", true, true},
        // Next changes past the pickers' last day.
        {march, october, At(9998, 12, 31, 12), rules + "Sunday, March 28, 9999|Sunday, October 31, 9999", false, false},
        {march, october, At(9998, 7, 1), rules + "Sunday, March 28, 9999|Sunday, October 25, 9998", false, true},
        // No daylight saving; a rule with a week of the month out of range is none either.
        {none, none, At(2004, 3, 1), "(GMT+01:00) Standard||||", false, false},
        {march, Rule(10, 0, 9), At(2004, 3, 1), "(GMT+01:00) Standard||||", false, false},
    };
    const FakeMessages messages;
    const FakeLocaleFormatter english;
    const int ids[] = {kZoneFieldId, kBeginRuleFieldId, kEndRuleFieldId, kNextBeginFieldId, kNextEndFieldId};
    for (const auto& [daylight, standard, t, fields, begin, end] : cases) {
        SCOPED_TRACE(fields);
        // Daylight while a zone has rules; without, an unknown state reads as standard.
        const bool hasRules = fields.find("Daylight") != std::string::npos;
        const ZoneRules zone{-60,      "Standard", "Daylight",
                             daylight, standard,   hasRules ? ZoneState::Daylight : ZoneState::Unknown};
        const TimeZoneTexts texts = ComputeTimeZoneTexts(zone, t, messages, english);
        std::string shown;
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(texts.fields[i].controlId, ids[i]);
            shown += (i > 0 ? "|" : "") + texts.fields[i].text;
        }
        EXPECT_EQ(shown, fields);
        EXPECT_EQ(texts.hasRules, hasRules);
        EXPECT_EQ(texts.buttons, (std::array{ControlState{kBeginButtonId, begin}, ControlState{kEndButtonId, end}}));
    }
}

// Present rules the zone record cannot hold, read whole from their TZ strings: words for the rules
// (those the record holds as today), and the next changes at the wall time before them.
struct WordsCase {
    const char* tz;
    const char *begin, *end;
    DateTime nextBegin, nextEnd;
};

const WordsCase kWordsCases[] = {
    {"IST-2IDT,M3.4.4/26,M10.5.0", "02:00, the Friday after the fourth Thursday of March",
     "02:00, Last Sunday, October", At(2026, 3, 27, 2), At(2026, 10, 25, 2)},
    {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0", "23:00, the Saturday before the last Sunday of March",
     "00:00, Last Sunday, October", At(2026, 3, 28, 23), At(2026, 10, 25)},
    {"AAA3BBB,M3.2.0/-25,M11.1.0/50", "23:00, the Friday 2 days before the second Sunday of March",
     "02:00, the Tuesday 2 days after the first Sunday of November", At(2026, 3, 6, 23), At(2026, 11, 3, 2)},
    {"AAA3BBB,J60,J300/25", "02:00, March 1", "01:00, October 28", At(2026, 3, 1, 2), At(2026, 10, 28, 1)},
    {"AAA3BBB,59,300/-25", "02:00, day 60 of the year", "23:00, day 299 of the year", At(2026, 3, 1, 2),
     At(2026, 10, 26, 23)},
    {"AAA3BBB,0/-1,M10.5.0", "23:00, 1 days before day 1 of the year", "02:00, Last Sunday, October",
     At(2026, 12, 31, 23), At(2026, 10, 25, 2)},
    // Negative daylight saving: the change into the larger offset begins daylight time.
    {"IST-1GMT0,M10.5.0/26,M3.5.0/1", "01:00, Last Sunday, March", "02:00, the Monday after the last Sunday of October",
     At(2026, 3, 29, 1), At(2026, 10, 26, 2)},
    {"CET-1CEST,M3.5.0,M10.5.0/3", "02:00, Last Sunday, March", "03:00, Last Sunday, October", At(2026, 3, 29, 2),
     At(2026, 10, 25, 3)},
};

TEST(TimeZone, RulesInWordsAndNextChangesFromTzStrings)
{
    const FakeMessages messages;
    const FakeLocaleFormatter english;
    for (const WordsCase& c : kWordsCases) {
        SCOPED_TRACE(c.tz);
        const auto model = ZoneModel::FromTzString(c.tz);
        ASSERT_TRUE(model.has_value());
        const TimeZoneTexts texts =
            ComputeTimeZoneTexts(*model->PresentRules(), At(2026, 3, 1), messages, english, &*model);
        EXPECT_TRUE(texts.hasRules);
        EXPECT_EQ(texts.fields[1].text, c.begin);
        EXPECT_EQ(texts.fields[2].text, c.end);
        EXPECT_EQ(texts.nextBegin, c.nextBegin);
        EXPECT_EQ(texts.nextEnd, c.nextEnd);
    }
}

// The wall-clock moments at which a zone's offset rose (begins daylight time) and fell (ends it), as the
// C library computes them from the zone file: the local time just before the switch, plus a second. By
// the offset, not tm_isdst: with negative daylight saving the C library calls winter daylight time.
struct RealChanges {
    std::vector<DateTime> begins, ends;
};

std::tm Local(std::time_t instant)
{
    std::tm local{};
    return *localtime_r(&instant, &local);
}

RealChanges ChangesOf(const std::string& zoneFile, int fromYear, int toYear)
{
    const ScopedZoneEnv tz("TZ", (":" + zoneFile).c_str());
    const auto offset = [](std::time_t instant) { return Local(instant).tm_gmtoff; };
    std::tm start{}, stop{};
    start.tm_mday = stop.tm_mday = 1, start.tm_year = fromYear - 1900, stop.tm_year = toYear + 1 - 1900;
    RealChanges changes;
    for (std::time_t day = timegm(&start), last = timegm(&stop); day < last; day += 86400) {
        const long before = offset(day);
        if (offset(day + 86400) == before) {
            continue;
        }
        std::time_t low = day, high = day + 86400;   // offset(low) == before, offset(high) != before
        while (high - low > 1) {
            const std::time_t mid = low + (high - low) / 2;
            (offset(mid) == before ? low : high) = mid;
        }
        // Step a second on in wall-clock terms, without any zone: 01:59:59 becomes 02:00:00.
        std::tm wall = Local(low);
        const std::time_t next = timegm(&wall) + 1;
        gmtime_r(&next, &wall);
        (offset(high) < before ? changes.ends : changes.begins)
            .push_back(At(wall.tm_year + 1900, wall.tm_mon + 1, wall.tm_mday, wall.tm_hour, wall.tm_min, wall.tm_sec));
    }
    return changes;
}

// The first change after t; by the rule record, the first whose day, taken at midnight, lies after t.
DateTime FirstAfter(const std::vector<DateTime>& changes, const DateTime& t, bool byDay)
{
    const auto it = std::ranges::find_if(
        changes, [&](const DateTime& c) { return (byDay ? At(c.GetYear(), c.GetMonth(), c.GetDay()) : c) > t; });
    return it != changes.end() ? *it : DateTime::Invalid();
}

TEST(TimeZone, NextChangesMatchTheZoneFiles)
{
    const FakeZoneFolder folder(CHRONEL_TEST_DATA_DIR "/tz");
    ASSERT_TRUE(folder.Ok());
    for (const char* id : {"Europe/Berlin", "America/New_York", "Australia/Sydney", "Europe/Dublin"}) {
        SCOPED_TRACE(id);
        const auto model = ZoneModel::FromTzif(folder.Read(id));
        ASSERT_TRUE(model.has_value());
        const auto zone = model->PresentRules();
        ASSERT_TRUE(zone.has_value());
        ASSERT_TRUE(HasDstRules(*zone));
        const RealChanges real = ChangesOf(folder.Path(id), 2010, 2036);
        ASSERT_EQ(real.begins.size(), 27u);
        ASSERT_EQ(real.ends.size(), 27u);
        for (DateTime day = At(2010, 1, 1); day < At(2036, 1, 1); day += DateTimeSpan(1.0)) {
            for (const double timeOfDay : {0.0, 0.5, 86399.0 / 86400.0}) {
                const DateTime t = day + DateTimeSpan(timeOfDay);
                ASSERT_EQ(NextChange(zone->toDaylight, t), FirstAfter(real.begins, t, true)) << t.Format("%F %T");
                ASSERT_EQ(NextChange(zone->toStandard, t), FirstAfter(real.ends, t, true)) << t.Format("%F %T");
                const DaylightChanges next = NextDaylightChanges(*model, t);
                ASSERT_EQ(next.begin, FirstAfter(real.begins, t, false)) << t.Format("%F %T");
                ASSERT_EQ(next.end, FirstAfter(real.ends, t, false)) << t.Format("%F %T");
            }
        }
    }
}

}   // namespace
