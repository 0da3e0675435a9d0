// Every row of tests/data/tz/zone_table.txt, which Python's zoneinfo made from the same zic-built files
// (see make_zone_tables.py there): instants, wall times and changes of offset in 40 zones.
#include "info/zone_model.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "fakes/date_at.h"
#include "fakes/fake_clock.h"
#include "fakes/temp_folder.h"
#include "info/zone_clock.h"

namespace {

// Its wall clock is UTC: the fields of a count of seconds from 1970.
const FakeClock kUtc({});

ZoneModel WorldZone(const std::string& name)
{
    return ZoneModel::FromTzif(ReadFileBytes(CHRONEL_WORLD_ZONES "/" + name)).value();
}

// The table's rows of one kind, each given its zone and the fields after it; a failing row reports
// itself, the first few of them only.
template <typename Check>
void CheckRows(char kind, const Check& check)
{
    std::vector<ZoneModel> zones;
    std::istringstream lines(ReadFileBytes(CHRONEL_TEST_DATA_DIR "/tz/zone_table.txt"));
    int checked = 0, failed = 0;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line.substr(1));
        std::size_t zone = 0;
        if (line.starts_with("Z ")) {
            zones.push_back(WorldZone(line.substr(2)));
        } else if (line[0] == kind && fields >> zone && zone < zones.size()) {
            ++checked;
            if (!check(zones[zone], fields) && ++failed <= 20) {
                ADD_FAILURE() << line;
            }
        }
    }
    EXPECT_TRUE(failed == 0 && checked > 3000) << failed << " of " << checked << " rows failed";
}

// Python's dst() is non-zero exactly for the file's daylight types: Dublin's winter GMT among them, as
// its source writes it with negative daylight saving. The zone's clock shows the same, when it is now.
TEST(ZoneHistory, InstantsShowTheirWallClock)
{
    CheckRows('I', [](const ZoneModel& zone, std::istringstream& fields) {
        std::int64_t instant = 0, offset = 0;
        std::string abbreviation, dst;
        fields >> instant >> offset >> abbreviation >> dst;
        const ZoneModel::LocalTime shown = zone.At(instant);
        return shown.offsetSeconds == offset && shown.abbreviation == abbreviation && shown.isDst == (dst != "0") &&
               ZoneClock(FakeClock(*kUtc.LocalTimeAt(instant)), zone).Now() == kUtc.LocalTimeAt(instant + offset);
    });
}

// So does the zone's clock; the real time from the row before, in its own zone, is their instants' difference.
TEST(ZoneHistory, WallTimesReadAsTheirInstant)
{
    std::tuple<const ZoneModel*, DateTime, std::int64_t, std::int64_t> last{};   // zone, wall, instant, offset
    CheckRows('W', [&](const ZoneModel& zone, std::istringstream& fields) {
        std::int64_t wall = 0, instant = 0;
        fields >> wall >> instant;
        const SystemTime wallFields = *kUtc.LocalTimeAt(wall);
        const auto [lastZone, lastWall, lastInstant, lastOffset] =
            std::exchange(last, {&zone, At(wallFields), instant, wall - instant});
        const auto elapsed = lastZone ? ElapsedBetweenZones(*lastZone, lastWall, zone, At(wallFields)) : std::nullopt;
        return zone.InstantOf(wall) == instant && ZoneClock(kUtc, zone).UnixTimeAt(wallFields) == instant &&
               (!lastZone || (elapsed && elapsed->seconds == instant - lastInstant &&
                              elapsed->offsetChanged == (lastOffset != wall - instant)));
    });
}

// Negative daylight saving turned round: in Dublin and Windhoek while they kept it, not before or after,
// nor in Prague's autumn before its one winter of GMT.
TEST(ZoneHistory, SummerTimeWithNegativeDaylightSaving)
{
    const std::tuple<const char*, int, int, bool, bool> cases[] = {
        {"Europe/Dublin", 2026, 7, false, true},   {"Europe/Dublin", 2026, 1, true, false},
        {"Europe/Dublin", 1990, 7, false, true},   {"Europe/Dublin", 1970, 1, false, false},
        {"Europe/Dublin", 1960, 7, true, true},    {"Africa/Windhoek", 2000, 7, true, false},
        {"Africa/Windhoek", 2000, 1, false, true}, {"Africa/Windhoek", 2020, 1, false, false},
        {"Europe/Prague", 1946, 11, false, false}, {"Europe/Berlin", 2026, 7, true, true},
    };
    for (const auto& [zone, year, month, isDst, isSummer] : cases) {
        const ZoneModel::LocalTime shown = WorldZone(zone).At(civil::DaysFromCivil(year, unsigned(month), 15) * 86400);
        EXPECT_EQ(std::pair(shown.isDst, shown.isSummer), std::pair(isDst, isSummer)) << zone << " " << year << month;
    }
}

// From one second either side of a change it is the next or the previous one, and from a change the
// next is the table's next: no change of abbreviation or daylight flag alone counts.
TEST(ZoneHistory, ChangesOfOffsetFromEitherSide)
{
    std::pair<const ZoneModel*, std::int64_t> last{};
    CheckRows('C', [&](const ZoneModel& zone, std::istringstream& fields) {
        std::int64_t change = 0;
        fields >> change;
        const auto [lastZone, lastChange] = std::exchange(last, {&zone, change});
        return (lastZone != &zone || zone.NextChange(lastChange) == change) && zone.NextChange(change - 1) == change &&
               zone.PreviousChange(change + 1) == change && zone.PreviousChange(change) == change;
    });
}

}   // namespace
