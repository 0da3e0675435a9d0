#include "platform/system_zone_source.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "fakes/fake_zone_source.h"
#include "info/time_zone.h"

namespace {

// 2010-01-15 12:00:00 and 2010-07-15 12:00:00 UTC, when all the test zones keep their present rules.
constexpr std::int64_t kJanuary = 1263556800;
constexpr std::int64_t kJuly = 1279195200;

class SystemZoneSourceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Folder().Ok()); }

    static const FakeZoneFolder& Folder() { return TestZoneFolder(); }

    // A source with fixed long names for the zones the table knows, at the Unix time `now`.
    static SystemZoneSource SourceAt(std::int64_t now, std::map<std::string, ZoneNames> names = {})
    {
        return SystemZoneSource(
            [names](const std::string& id) -> std::optional<ZoneNames> {
                const auto found = names.find(id);
                return found != names.end() ? std::optional(found->second) : std::nullopt;
            },
            [now] { return now; });
    }
};

struct StateCase {
    const char* why;
    const char* zoneId;
    std::int64_t now;
    ZoneState state;
    const char* line;
};

const StateCase kStateCases[] = {
    {"northern winter", "Europe/Berlin", kJanuary, ZoneState::Standard, "(GMT+01:00) CET"},
    {"northern summer", "Europe/Berlin", kJuly, ZoneState::Daylight, "(GMT+01:00) CEST"},
    {"west of UTC in summer", "America/New_York", kJuly, ZoneState::Daylight, "(GMT-5:00) EDT"},
    {"southern summer is in January", "Australia/Sydney", kJanuary, ZoneState::Daylight, "(GMT+10:00) AEDT"},
    {"southern winter", "Australia/Sydney", kJuly, ZoneState::Standard, "(GMT+10:00) AEST"},
    {"negative daylight saving: winter is standard", "Europe/Dublin", kJanuary, ZoneState::Standard, "(GMT 00:00) GMT"},
    {"negative daylight saving: summer is daylight", "Europe/Dublin", kJuly, ZoneState::Daylight, "(GMT 00:00) IST"},
    {"no daylight saving: unknown", "Asia/Kolkata", kJuly, ZoneState::Unknown, "(GMT+05:30) IST"},
    {"daylight time without day-in-month rules is unknown", "Test/FixedDays", kJuly, ZoneState::Unknown,
     "(GMT+03:30) +0330"},
};

TEST_F(SystemZoneSourceTest, StateNowFromTheCLibrary)
{
    for (const StateCase& c : kStateCases) {
        SCOPED_TRACE(c.why);
        const ScopedZoneEnv tz("TZ", (":" + Folder().Path(c.zoneId)).c_str());
        const auto zone = SourceAt(c.now).GetTimeZoneInformation();
        ASSERT_TRUE(zone.has_value());
        EXPECT_EQ(zone->state, c.state);
        EXPECT_EQ(ZoneLine(*zone), c.line);
    }
}

struct SpecCase {
    const char* why;
    std::string tz;   // "<unset>" leaves TZ out
    bool ok;
    int bias;
    const char* standardName;
    bool hasRules;
};

TEST_F(SystemZoneSourceTest, WhereTheZoneComesFrom)
{
    const std::string garbage = Folder().Write("garbage", "TZif2 but nothing after it");
    const std::string berlin = Folder().Read("Europe/Berlin");
    const std::string noFooter = Folder().Write("no-footer", berlin.substr(0, berlin.rfind('\n', berlin.size() - 2)));
    const ScopedZoneEnv tzdir("TZDIR", Folder().Root().c_str());
    const SpecCase cases[] = {
        {"absolute path after a colon", ":" + Folder().Path("Europe/Berlin"), true, -60, "CET", true},
        {"absolute path without the colon", Folder().Path("America/New_York"), true, 300, "EST", true},
        {"name below TZDIR", "Australia/Sydney", true, -600, "AEST", true},
        {"name below TZDIR after a colon", ":Asia/Tehran", true, -210, "+0330", false},
        {"a TZ string itself", "EST5EDT,M3.2.0,M11.1.0", true, 300, "EST", true},
        {"a TZ string without rules", "<+0545>-5:45", true, -345, "+0545", false},
        {"empty TZ means UTC", "", true, 0, "UTC", false},
        {"zone file without footer keeps its base offset", noFooter, true, -60, "CET", false},
        {"missing zone file is UTC, as for the C library", Folder().Path("Nowhere/Missing"), true, 0, "UTC", false},
        {"unknown zone name is UTC", "Foo/Bar", true, 0, "UTC", false},
        {"garbage zone file is UTC", garbage, true, 0, "UTC", false},
        {"a folder is no zone file", Folder().Path("Europe"), true, 0, "UTC", false},
        {"garbage TZ is UTC", "\xff\xfe,,", true, 0, "UTC", false},
    };
    for (const SpecCase& c : cases) {
        SCOPED_TRACE(c.why);
        const ScopedZoneEnv tz("TZ", c.tz.c_str());
        const auto zone = SourceAt(kJanuary).GetTimeZoneInformation();
        ASSERT_EQ(zone.has_value(), c.ok);
        if (zone) {
            EXPECT_EQ(zone->bias, c.bias);
            EXPECT_EQ(zone->standardName, c.standardName);
            EXPECT_EQ(HasDstRules(*zone), c.hasRules);
        }
    }
}

TEST_F(SystemZoneSourceTest, LongNamesByZoneId)
{
    const std::map<std::string, ZoneNames> names = {
        {"Europe/Berlin", {"Central European Standard Time", "Central European Summer Time"}},
        {"Asia/Kolkata", {"India Standard Time", ""}},
    };
    const ScopedZoneEnv tzdir("TZDIR", Folder().Root().c_str());
    {
        const ScopedZoneEnv tz("TZ", "Europe/Berlin");
        const auto zone = SourceAt(kJuly, names).GetTimeZoneInformation();
        ASSERT_TRUE(zone.has_value());
        EXPECT_EQ(zone->standardName, "Central European Standard Time");
        EXPECT_EQ(ZoneLine(*zone), "(GMT+01:00) Central European Summer Time");
    }
    {
        // The id of a file in a zone folder is its path below the folder.
        const ScopedZoneEnv tz("TZ", Folder().Path("Asia/Kolkata").c_str());
        const auto zone = SourceAt(kJuly, names).GetTimeZoneInformation();
        ASSERT_TRUE(zone.has_value());
        EXPECT_EQ(zone->standardName, "India Standard Time");
        EXPECT_EQ(zone->daylightName, "IST");
    }
    {
        // A zone the names do not know keeps its abbreviations.
        const ScopedZoneEnv tz("TZ", "America/New_York");
        const auto zone = SourceAt(kJuly, names).GetTimeZoneInformation();
        ASSERT_TRUE(zone.has_value());
        EXPECT_EQ(ZoneLine(*zone), "(GMT-5:00) EDT");
    }
}

TEST_F(SystemZoneSourceTest, NegativeDaylightSavingChangesWhenTheZoneDoes)
{
    const ScopedZoneEnv tz("TZ", (":" + Folder().Path("Europe/Dublin")).c_str());
    const auto zone = SourceAt(kJanuary).GetTimeZoneInformation();
    ASSERT_TRUE(zone.has_value());
    // Each next change, in the wall clock before it, must be the second at which the C library's offset
    // (from the zic-compiled file) moves between the record's two offsets.
    const int standard = -zone->bias * 60;
    for (int year = 2010; year <= 2030; year += 5) {
        SCOPED_TRACE(year);
        const DateTime january = DateTime::FromParts(year, 1, 15, 12, 0, 0);
        const std::pair<DateTime, int> changes[] = {{NextChange(zone->daylightDate, january), standard},
                                                    {NextChange(zone->standardDate, january), standard + 3600}};
        for (const auto& [change, offsetBefore] : changes) {
            std::tm wall{};
            wall.tm_year = change.GetYear() - 1900;
            wall.tm_mon = change.GetMonth() - 1;
            wall.tm_mday = change.GetDay();
            wall.tm_hour = change.GetHour();
            const std::time_t utc = timegm(&wall) - offsetBefore;
            std::tm before{}, after{};
            localtime_r(&utc, &after);
            const std::time_t justBefore = utc - 1;
            localtime_r(&justBefore, &before);
            EXPECT_EQ(before.tm_gmtoff, offsetBefore);
            EXPECT_NE(after.tm_gmtoff, offsetBefore);
        }
    }
}

struct IdCase {
    const char* path;
    const char* id;
};

const IdCase kIdCases[] = {
    {"/usr/share/zoneinfo/Europe/Berlin", "Europe/Berlin"},
    {"/usr/share/zoneinfo/posix/America/New_York", "America/New_York"},
    {"/usr/share/zoneinfo/right/UTC", "UTC"},
    {"/opt/zones/zoneinfo/Etc/GMT+5", "Etc/GMT+5"},
    {"/etc/localtime", ""},
    {"/tmp/chronel/Europe/Berlin", ""},
};

TEST(ZoneIdFromPath, FollowsTheZoneFolder)
{
    for (const IdCase& c : kIdCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ZoneIdFromPath(c.path), c.id);
    }
}

}  // namespace
