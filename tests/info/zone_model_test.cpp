#include "info/zone_model.h"

#include <gtest/gtest.h>

#include <ctime>
#include <random>
#include <string>
#include <tuple>

#include "core/calendar.h"
#include "fakes/date_at.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_zone_source.h"
#include "info/model_zone_source.h"

namespace {

const char* const kZones[] = {"Europe/Berlin", "America/New_York", "Australia/Sydney", "Europe/Dublin",
                              "Australia/Lord_Howe"};

ZoneModel Load(const std::string& zone)
{
    return ZoneModel::FromTzif(TestZoneFolder().Read(zone)).value();
}

std::int64_t WallSeconds(const DateTime& wall)
{
    return SpanToSeconds(wall - At(1970, 1, 1));
}

// A repeated wall time is its first instance, a skipped one is read by the offset before the change.
TEST(ZoneModel, SkippedAndRepeatedWallTimes)
{
    using E = LocalElapsed;
    const std::tuple<const char*, const char*, DateTime, DateTime, std::optional<LocalElapsed>> cases[] = {
        {"a day of 23 hours", "Europe/Berlin", At(2026, 3, 28, 2), At(2026, 3, 30, 2), E{47 * 3600, true, true}},
        {"skipped 02:30 is 03:30, read in winter time", "Europe/Berlin", At(2026, 3, 29, 2, 30), At(2026, 3, 29, 3, 30),
         E{0, true, true}},
        {"repeated 02:30 is the first", "Europe/Berlin", At(2026, 10, 25, 2, 30), At(2026, 10, 25, 3),
         E{5400, true, true}},
        {"skipped 01:30 is 02:30 IST, read by winter's GMT", "Europe/Dublin", At(2026, 3, 29, 1, 30),
         At(2026, 3, 29, 2, 30), E{0, true, true}},
        {"repeated 01:30 is the one in IST", "Europe/Dublin", At(2026, 10, 25, 1, 30), At(2026, 10, 25, 2),
         E{5400, true, true}},
        {"skipped 02:30 in New York is 03:30 EDT", "America/New_York", At(2026, 3, 8, 2, 30), At(2026, 3, 8, 3, 30),
         E{0, true, true}},
        {"half an hour skipped", "Australia/Lord_Howe", At(2026, 10, 4, 2, 15), At(2026, 10, 4, 2, 45),
         E{0, true, true}},
        {"half an hour repeated", "Australia/Lord_Howe", At(2026, 4, 5, 1, 45), At(2026, 4, 5, 2), E{2700, true, true}},
        {"beyond the file's transitions: skipped to repeated", "Europe/Berlin", At(9999, 3, 28, 2, 30),
         At(9999, 10, 31, 2, 30), E{217 * 86400 - 3600, true, true}},
        {"local mean time to CET: no daylight saving", "Europe/Berlin", At(1890, 1, 1), At(1900, 1, 1),
         E{3652 * 86400 - 392, true, false}},
        {"summer time of 1916", "Europe/Berlin", At(1916, 4, 30, 12), At(1916, 5, 1, 12), E{23 * 3600, true, true}},
        {"no daylight saving", "Asia/Kolkata", At(2026, 3, 28), At(2026, 3, 30), std::nullopt},
        {"an invalid wall time", "Europe/Berlin", DateTime::Invalid(), At(2026, 3, 30), std::nullopt},
    };
    for (const auto& [why, zone, from, to, elapsed] : cases) {
        EXPECT_EQ(Load(zone).ElapsedBetween(from, to), elapsed) << why;
    }
}

// The instants within 15 hours that show `wall`, in quarter hours: one for a wall time that exists once.
int InstancesOf(const DateTime& wall)
{
    int found = 0;
    for (std::int64_t offset = -15 * 3600; offset <= 15 * 3600; offset += 900) {
        const auto instant = static_cast<std::time_t>(WallSeconds(wall) - offset);
        std::tm t{};
        found += localtime_r(&instant, &t) &&
                 At(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec) == wall;
    }
    return found;
}

// Random pairs of wall times that exist once, in years with and without rules and far beyond the zone
// files' own transitions, most of them at the hours and in the weeks of the changes.
TEST(ZoneModel, ElapsedTimeAgreesWithMktime)
{
    std::mt19937 random(20260328);
    std::uniform_int_distribution<int> years(1754, 2100), months(1, 12), days(0, 30), hours(0, 23), sixty(0, 59);
    const auto wallTime = [&](int year) {
        const int month = months(random), hour = hours(random) % 4 == 0 ? hours(random) : hours(random) % 4;
        const int day = sixty(random) < 30 ? days(random) % 14 + 1 : DaysInMonth(year, month) - days(random) % 7;
        return At(year, month, day, hour, sixty(random), sixty(random));
    };
    const auto mktimeOf = [](const DateTime& wall) {
        std::tm t{};
        t.tm_year = wall.GetYear() - 1900, t.tm_mon = wall.GetMonth() - 1, t.tm_mday = wall.GetDay();
        t.tm_hour = wall.GetHour(), t.tm_min = wall.GetMinute(), t.tm_sec = wall.GetSecond(), t.tm_isdst = -1;
        const std::time_t instant = std::mktime(&t);
        return std::pair{std::int64_t{instant}, t.tm_isdst};
    };
    int compared = 0;
    for (const char* zone : kZones) {
        const ScopedZoneEnv tz("TZ", ":" + TestZoneFolder().Path(zone));
        const ZoneModel model = Load(zone);
        for (int i = 0; i < 2400; ++i) {
            const int year = years(random) + (i % 10 == 0 ? 7000 : 0);
            const DateTime from = wallTime(year), to = wallTime(year + i % 2);
            if (InstancesOf(from) != 1 || InstancesOf(to) != 1) {
                continue;
            }
            const auto [start, startDst] = mktimeOf(from);
            const auto [end, endDst] = mktimeOf(to);
            const std::int64_t seconds = end - start;
            const bool offsetChanged = seconds != SpanToSeconds(to - from);
            ASSERT_EQ(model.ElapsedBetween(from, to),
                      (LocalElapsed{seconds, offsetChanged, offsetChanged && startDst != endDst}))
                << zone << " " << from.Format("%F %T") << " " << to.Format("%F %T");
            ++compared;
        }
    }
    EXPECT_GE(compared, 10000);
}

// What the clocks show, against localtime_r, on random instants from 1800 to beyond the last transition
// of the files and for zones given by TZ strings of every change form; and the instant back from the
// wall time where that exists once.
TEST(ZoneModel, AtAgreesWithLocaltime)
{
    const ScopedZoneEnv tzdir("TZDIR", TestZoneFolder().Root().string());
    std::vector<std::pair<std::string, ZoneModel>> zones;
    for (const char* zone : kZones) {
        zones.emplace_back(":" + TestZoneFolder().Path(zone), Load(zone));
    }
    for (const char* text :
         {"IST-1GMT0,M10.5.0,M3.5.0/1", "<+0330>-3:30<+0430>,J79/24,J263/24", "<-03>3<-02>,M3.5.0/-2,M10.5.0/-1",
          "EST5EDT,59/1,300/50", "EST5EDT", "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0"}) {
        zones.emplace_back(text, ZoneModel::FromTzString(text).value());
    }
    std::mt19937_64 random(8536);
    std::uniform_int_distribution<std::int64_t> instants(-5'364'662'400, 253'402'300'799);   // 1800 to 9999
    for (const auto& [tzValue, model] : zones) {
        const ScopedZoneEnv tz("TZ", tzValue);
        for (int i = 0; i < 20000; ++i) {
            // First the instants of changes in Europe and New York and the seconds before them.
            const std::time_t changes[] = {1774746000, 1792890000, 1772953200};
            std::time_t instant =
                i < 6 ? changes[i / 2] - i % 2 : (i % 2 == 0 ? instants(random) : instants(random) % 3'000'000'000);
            // The C library reads a TZ string's changes before 1970 as those of 1970.
            instant = tzValue[0] != ':' && instant < 0 ? -instant : instant;
            std::tm t{};
            ASSERT_TRUE(localtime_r(&instant, &t));
            const ZoneModel::LocalTime shown = model.At(instant);
            ASSERT_EQ(std::tuple(shown.offsetSeconds, shown.isDst, shown.abbreviation),
                      std::tuple(t.tm_gmtoff, t.tm_isdst > 0, std::string_view(t.tm_zone)))
                << tzValue << " " << instant;
            if (i % 4 == 1 && InstancesOf(DateTime::FromParts(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                                                              t.tm_min, t.tm_sec)) == 1) {
                ASSERT_EQ(model.InstantOf(instant + t.tm_gmtoff), instant) << tzValue << " " << instant;
            }
        }
    }
}

TEST(ZoneModel, RefusesWhatIsNoZone)
{
    const std::string berlin = TestZoneFolder().Read("Europe/Berlin");
    for (const std::string& bytes : {std::string(), std::string("TZif2"), berlin.substr(0, 60),
                                     berlin.substr(0, berlin.size() / 2), std::string("not a zone file at all")}) {
        EXPECT_FALSE(ZoneModel::FromTzif(bytes)) << bytes.size();
    }
    for (const char* text : {"", ":Europe/Berlin", "Europe/Berlin", "CET-1CEST,M13.5.0,M10.5.0"}) {
        EXPECT_FALSE(ZoneModel::FromTzString(text)) << text;
    }
}

// The state now by the offset, so that winter in Dublin is the record's standard time.
TEST(ModelZoneSource, RulesOfTheFooterAndTheStateNow)
{
    const ZoneState S = ZoneState::Standard, D = ZoneState::Daylight, U = ZoneState::Unknown;
    const std::tuple<const char*, SystemTime, int, ZoneState> cases[] = {
        {"Europe/Berlin", {2010, 1, 0, 15}, -60, S},     {"Europe/Berlin", {2010, 7, 0, 15}, -60, D},
        {"Europe/Dublin", {2010, 1, 0, 15}, 0, S},       {"Europe/Dublin", {2010, 7, 0, 15}, 0, D},
        {"Australia/Sydney", {2010, 1, 0, 15}, -600, D}, {"Asia/Kolkata", {2010, 7, 0, 15}, -330, U},
    };
    for (const auto& [zone, now, bias, state] : cases) {
        const ZoneModel model = Load(zone);
        const FakeClock clock(now);
        const auto rules = ModelZoneSource(model, clock).CurrentZoneRules();
        ASSERT_TRUE(rules) << zone;
        EXPECT_EQ(std::pair(rules->bias, rules->state), std::pair(bias, state)) << zone << " " << now.month;
    }
}

}   // namespace
