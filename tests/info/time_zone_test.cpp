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
    const auto u = [](int v) { return static_cast<std::uint16_t>(v); };
    return SystemTime{0, u(month), u(dayOfWeek), u(occurrence), u(hour), u(minute), u(second), 0};
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

TEST(TimeZone, ZoneLine)
{
    const struct {
        const char* why;
        TimeZoneInformation zone;
        const char* line;
    } cases[] = {
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(ZoneLine(c.zone), c.line);
    }
}

TEST(TimeZone, RuleText)
{
    const struct {
        const char* why;
        SystemTime rule;
        const char* text;
    } cases[] = {
        {"first Sunday of April", Rule(4, 0, 1), "02:00, 1st Sunday, April"},
        {"last Sunday of October", Rule(10, 0, 5, 3), "03:00, Last Sunday, October"},
        {"seconds are not shown", Rule(2, 4, 5, 23, 59, 59), "23:59, Last Thursday, February"},
        {"Saturday, the last weekday", Rule(3, 6, 2, 0, 30), "00:30, 2nd Saturday, March"},
        {"fourth occurrence", Rule(11, 1, 4), "02:00, 4th Monday, November"},
        {"no rule", Rule(0, 0, 0), ""},
        {"occurrence beyond last", Rule(4, 0, 6), ""},
    };
    const FakeMessages messages;
    const FakeLocaleFormatter english;
    for (const auto& c : cases) {
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

TEST(TimeZone, NextChange)
{
    const struct {
        const char* why;
        SystemTime rule;
        DateTime t;
        DateTime next;
    } cases[] = {
        // Changes by the last Sunday, the change day itself and the evening before are walked day by day
        // against the zone files below.
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(NextChange(c.rule, c.t), c.next);
    }
}

// The Time Zone sub-page's texts, and its buttons only for changes the Time Info pickers can show.
TEST(TimeZone, Texts)
{
    const SystemTime none = Rule(0, 0, 0, 0), march = Rule(3, 0, 5), october = Rule(10, 0, 5, 3);
    const struct {
        const char* why;
        SystemTime daylight, standard;
        DateTime t;
        std::array<const char*, 5> fields;
        bool begin, end;
    } cases[] = {
        {"rules and their next changes", march, october, At(2004, 3, 1, 12),
         {"(GMT+01:00) Daylight", "02:00, Last Sunday, March", "03:00, Last Sunday, October", "Sunday, March 28, 2004",
          "Sunday, October 31, 2004"}, true, true},
        {"both next changes past the pickers' last day", march, october, At(9998, 12, 31, 12),
         {"(GMT+01:00) Daylight", "02:00, Last Sunday, March", "03:00, Last Sunday, October", "Sunday, March 28, 9999",
          "Sunday, October 31, 9999"}, false, false},
        {"only the next begin past it", march, october, At(9998, 7, 1),
         {"(GMT+01:00) Daylight", "02:00, Last Sunday, March", "03:00, Last Sunday, October", "Sunday, March 28, 9999",
          "Sunday, October 25, 9998"}, false, true},
        {"a zone without daylight saving", none, none, At(2004, 3, 1), {"(GMT+01:00) Standard", "", "", "", ""},
         false, false},
        {"only one rule", march, none, At(2004, 3, 1), {"(GMT+01:00) Standard", "", "", "", ""}, false, false},
        {"occurrence out of range", march, Rule(10, 0, 9), At(2004, 3, 1), {"(GMT+01:00) Standard", "", "", "", ""},
         false, false},
    };
    const FakeMessages messages;
    const FakeLocaleFormatter english;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        // Daylight while a zone has rules; without, an unknown state reads as standard.
        const bool hasRules = c.fields[1][0] != '\0';
        TimeZoneInformation zone = Zone(-60, hasRules ? ZoneState::Daylight : ZoneState::Unknown);
        zone.daylightDate = c.daylight;
        zone.standardDate = c.standard;
        const TimeZoneTexts texts = ComputeTimeZoneTexts(zone, c.t, messages, english);
        const std::array<int, 5> ids = {kZoneFieldId, kBeginRuleFieldId, kEndRuleFieldId, kNextBeginFieldId,
                                        kNextEndFieldId};
        for (std::size_t i = 0; i < ids.size(); ++i) {
            EXPECT_EQ(std::pair(texts.fields[i].controlId, texts.fields[i].text), std::pair(ids[i], std::string(c.fields[i])));
        }
        EXPECT_EQ(texts.hasRules, hasRules);
        EXPECT_EQ(texts.buttons[0], (ControlState{kBeginButtonId, c.begin}));
        EXPECT_EQ(texts.buttons[1], (ControlState{kEndButtonId, c.end}));
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
