// Every row of tests/data/tz/zone_table.txt, which Python's zoneinfo made from the same zic-built files
// (see make_zone_tables.py there): instants, wall times and changes of offset in 40 zones.
#include "info/zone_model.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "fakes/temp_folder.h"

namespace {

struct Table {
    std::vector<ZoneModel> zones;
    std::vector<std::string> rows;   // without the zone lines
};

const Table& ReferenceTable()
{
    static const Table table = [] {
        Table read;
        std::istringstream lines(ReadFileBytes(CHRONEL_TEST_DATA_DIR "/tz/zone_table.txt"));
        for (std::string line; std::getline(lines, line);) {
            if (line.starts_with("Z ")) {
                read.zones.push_back(*ZoneModel::FromTzif(ReadFileBytes(CHRONEL_WORLD_ZONES "/" + line.substr(2))));
            } else {
                read.rows.push_back(line);
            }
        }
        return read;
    }();
    return table;
}

// Checks the rows of one kind, each given its zone and the rest of its fields; reports a failing row
// itself, the first few of them only.
template <typename Check>
void CheckRows(char kind, const Check& check)
{
    int checked = 0, failed = 0;
    for (const std::string& row : ReferenceTable().rows) {
        std::istringstream fields(row.substr(1));
        std::size_t zone = 0;
        if (row[0] != kind || !(fields >> zone) || zone >= ReferenceTable().zones.size()) {
            continue;
        }
        ++checked;
        if (!check(ReferenceTable().zones[zone], fields) && ++failed <= 20) {
            ADD_FAILURE() << row;
        }
    }
    EXPECT_EQ(failed, 0);
    EXPECT_GT(checked, 3000);
}

// Python's dst() is non-zero exactly for the file's daylight types: Dublin's winter GMT among them, as
// its source writes it with negative daylight saving.
TEST(ZoneHistory, InstantsShowTheirWallClock)
{
    CheckRows('I', [](const ZoneModel& zone, std::istringstream& fields) {
        std::int64_t instant = 0;
        std::int32_t offset = 0;
        std::string abbreviation, dst;
        fields >> instant >> offset >> abbreviation >> dst;
        const ZoneModel::LocalTime shown = zone.At(instant);
        return shown.offsetSeconds == offset && shown.abbreviation == abbreviation && shown.isDst == (dst != "0");
    });
}

TEST(ZoneHistory, WallTimesReadAsTheirInstant)
{
    CheckRows('W', [](const ZoneModel& zone, std::istringstream& fields) {
        std::int64_t wall = 0, instant = 0;
        fields >> wall >> instant;
        return zone.InstantOf(wall) == instant;
    });
}

// From one second either side of a change it is the next or the previous one, and from a change the
// next is the table's next: no change of abbreviation or daylight flag alone counts.
TEST(ZoneHistory, ChangesOfOffsetFromEitherSide)
{
    const ZoneModel* lastZone = nullptr;
    std::int64_t last = 0;
    CheckRows('C', [&](const ZoneModel& zone, std::istringstream& fields) {
        std::int64_t change = 0;
        fields >> change;
        const bool follows = &zone != lastZone || zone.NextChange(last) == change;
        lastZone = &zone;
        last = change;
        return follows && zone.NextChange(change - 1) == change && zone.PreviousChange(change + 1) == change &&
               zone.PreviousChange(change) == change;
    });
}

}   // namespace
