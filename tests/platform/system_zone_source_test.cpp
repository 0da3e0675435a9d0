#include "platform/system_zone_source.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

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

    // A source with fixed long names for the zones the table knows, at the Unix time `now` as it is then.
    static SystemZoneSource SourceAt(const std::int64_t& now, std::map<std::string, ZoneNames> names = {})
    {
        return SystemZoneSource(
            [names](const std::string& id) -> std::optional<ZoneNames> {
                const auto found = names.find(id);
                return found != names.end() ? std::optional(found->second) : std::nullopt;
            },
            [&now] { return now; });
    }
};

TEST_F(SystemZoneSourceTest, ZoneAndStateFromTheCLibrary)
{
    const std::string garbage = Folder().Write("garbage", "TZif2 but nothing after it");
    const std::string berlin = Folder().Read("Europe/Berlin");
    const std::string noFooter = Folder().Write("no-footer", berlin.substr(0, berlin.rfind('\n', berlin.size() - 2)));
    const ScopedZoneEnv tzdir("TZDIR", Folder().Root().c_str());
    const ZoneState S = ZoneState::Standard, D = ZoneState::Daylight, U = ZoneState::Unknown;
    // Long names for the zones they know by id, a path's id being its path below the zone folder.
    const std::map<std::string, ZoneNames> names = {{"Europe/Berlin", {"Mid", "Mid Summer"}},
                                                    {"Asia/Kolkata", {"India", ""}}};
    // TZ, the moment, then the bias, standard name, whether there are rules, the state and the line shown.
    const std::tuple<const char*, std::string, std::int64_t, int, const char*, bool, ZoneState, const char*> cases[] = {
        {"north winter", ":" + Folder().Path("Europe/Berlin"), kJanuary, -60, "Mid", true, S, "(GMT+01:00) Mid"},
        {"north summer", ":" + Folder().Path("Europe/Berlin"), kJuly, -60, "Mid", true, D, "(GMT+01:00) Mid Summer"},
        {"path without the colon", Folder().Path("America/New_York"), kJuly, 300, "EST", true, D, "(GMT-5:00) EDT"},
        {"southern summer is in January", "Australia/Sydney", kJanuary, -600, "AEST", true, D, "(GMT+10:00) AEDT"},
        {"negative daylight saving: winter", "Europe/Dublin", kJanuary, 0, "GMT", true, S, "(GMT 00:00) GMT"},
        {"negative daylight saving: summer", "Europe/Dublin", kJuly, 0, "GMT", true, D, "(GMT 00:00) IST"},
        {"no daylight saving: unknown", "Asia/Kolkata", kJuly, -330, "India", false, U, "(GMT+05:30) India"},
        {"no day-in-month rules: unknown", "Test/FixedDays", kJuly, -210, "+0330", false, U, "(GMT+03:30) +0330"},
        {"name below TZDIR after a colon", ":Asia/Tehran", kJanuary, -210, "+0330", false, U, "(GMT+03:30) +0330"},
        {"a TZ string itself", "EST5EDT,M3.2.0,M11.1.0", kJanuary, 300, "EST", true, S, "(GMT-5:00) EST"},
        {"a TZ string without rules", "<+0545>-5:45", kJanuary, -345, "+0545", false, U, "(GMT+05:45) +0545"},
        {"zone file without footer keeps its base offset", noFooter, kJuly, -60, "CET", false, U, "(GMT+01:00) CET"},
        {"empty TZ means UTC", "", kJanuary, 0, "UTC", false, U, "(GMT 00:00) UTC"},
        {"missing zone file is UTC", Folder().Path("Nowhere/Missing"), kJanuary, 0, "UTC", false, U, "(GMT 00:00) UTC"},
        {"garbage zone file is UTC", garbage, kJanuary, 0, "UTC", false, U, "(GMT 00:00) UTC"},
        {"a folder is no zone file", Folder().Path("Europe"), kJanuary, 0, "UTC", false, U, "(GMT 00:00) UTC"},
        {"garbage TZ is UTC", "\xff\xfe,,", kJanuary, 0, "UTC", false, U, "(GMT 00:00) UTC"},
    };
    // One source for all: the zone it keeps must follow TZ.
    std::int64_t moment = 0;
    const SystemZoneSource source = SourceAt(moment, names);
    for (const auto& [why, tzValue, now, bias, standardName, hasRules, state, line] : cases) {
        SCOPED_TRACE(why);
        const ScopedZoneEnv tz("TZ", tzValue.c_str());
        moment = now;
        const auto zone = source.CurrentZoneRules();
        ASSERT_TRUE(zone.has_value());
        EXPECT_EQ(zone->bias, bias);
        EXPECT_EQ(zone->standardName, standardName);
        EXPECT_EQ(HasDstRules(*zone), hasRules);
        EXPECT_EQ(zone->state, state);
        EXPECT_EQ(ZoneLine(*zone), line);
    }
}

// The zone is kept, and read again when the link is replaced or the zone file rewritten in place.
TEST_F(SystemZoneSourceTest, ReadsTheZoneAgainWhenItsFileChanges)
{
    const std::string link = Folder().Path("localtime");
    const ScopedZoneEnv tz("TZ", link.c_str());
    const SystemZoneSource source = SourceAt(kJuly);
    const auto bias = [&] { return source.CurrentZoneRules().value_or(ZoneRules{}).bias; };
    std::filesystem::remove(link);
    std::filesystem::create_symlink(Folder().Path("Europe/Berlin"), link);
    EXPECT_EQ(bias(), -60);
    std::filesystem::remove(link);
    std::filesystem::create_symlink(Folder().Write("local", Folder().Read("Asia/Kolkata")), link);
    EXPECT_EQ(bias(), -330) << "a new link";
    Folder().Write("local", Folder().Read("America/New_York"));
    EXPECT_EQ(bias(), 300) << "the file rewritten in place";
}

}   // namespace
