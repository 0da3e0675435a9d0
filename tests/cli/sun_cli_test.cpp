#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cli_runner.h"

namespace {

// The zones of world.zi with zone.tab's places: Oslo and Longyearbyen are there.
const std::vector<std::string> kWorldZones = {"TZDIR=" CHRONEL_WORLD_ZONES};

// The pieces of a tab-separated row.
std::vector<std::string> Columns(const std::string& row)
{
    std::vector<std::string> columns(1);
    for (const char c : row) {
        if (c == '\t') {
            columns.emplace_back();
        } else {
            columns.back().push_back(c);
        }
    }
    return columns;
}

// Seconds into the day of "YYYY-MM-DDTHH:MM:SS".
int SecondsOfDay(const std::string& wall)
{
    return wall.size() != 19 ? -1
                             : std::stoi(wall.substr(11, 2)) * 3600 + std::stoi(wall.substr(14, 2)) * 60 +
                                   std::stoi(wall.substr(17, 2));
}

// PyEphem 4.1.4 at zone.tab's Oslo (59°55'N 10°45'E), pressure 0, the centre at -0:50, -6, -12 and -18°.
TEST(SunCli, OsloAtTheWinterSolsticeAgreesWithAnEphemeris)
{
    const CliRunner cli;
    const CliRun run = cli.Run({"sun", "2026-12-21T12:00", "--tz", "Europe/Oslo", "--format", "tsv"}, {}, kWorldZones);
    EXPECT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> columns = Columns(run.out.substr(0, run.out.find('\n')));
    ASSERT_EQ(columns.size(), 14u) << run.out;
    const char* times[] = {"09:18:09", "15:11:57", "12:15:03", "08:20:36", "16:09:29",
                           "07:23:54", "17:06:12", "06:32:29", "17:57:37"};
    for (std::size_t i = 0; i < std::size(times); ++i) {
        EXPECT_NEAR(SecondsOfDay(columns[i]), SecondsOfDay(std::string("2026-12-21T") + times[i]), 60) << i;
        EXPECT_EQ(columns[i].substr(0, 11), "2026-12-21T") << i;
    }
    EXPECT_EQ(columns[9], "") << "every time happens";
    EXPECT_NEAR(std::stod(columns[10]), 21228, 120);
    EXPECT_NEAR(std::stod(columns[11]), 6.587, 0.1);
    EXPECT_NEAR(std::stod(columns[12]), 176.527, 0.1);
}

TEST(SunCli, ThePolarDaySaysWhyEachTimeIsMissing)
{
    const CliRunner cli;
    const CliRun json =
        cli.Run({"sun", "2026-06-21", "--tz", "Arctic/Longyearbyen", "--format", "json"}, {}, kWorldZones);
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(cli.Jq(json.out, "[keys_unsorted, .sunrise, .notes.sunrise, .notes.civilDusk, .dayLengthSeconds]"),
              R"([["line","sunrise","sunset","solarNoon","civilDawn","civilDusk","nauticalDawn","nauticalDusk",)"
              R"("astronomicalDawn","astronomicalDusk","notes","dayLengthSeconds","altitude","azimuth","error"],)"
              R"(null,"The sun does not set","The sun does not reach 6° below the horizon",86400])"
              "\n");
    const CliRun text = cli.Run({"sun", "2026-06-21", "--tz", "Arctic/Longyearbyen"}, {}, kWorldZones);
    const std::vector<std::string> lines = Lines(text.out);
    ASSERT_EQ(lines.size(), 12u) << text.out;
    EXPECT_EQ(lines[0], "Sunrise: none (The sun does not set)");
    EXPECT_EQ(lines[8], "Astronomical dusk: none (The sun does not reach 18° below the horizon)");
    EXPECT_EQ(lines[9], "Day length: 24:00:00");
}

TEST(SunCli, TsvHeaderAndBadLinesKeepTheColumns)
{
    const CliRunner cli;
    const CliRun run = cli.Run({"sun", "-", "--at", "59.91,10.75", "--format", "tsv", "--header"}, "2026-12-21\nxx\n");
    EXPECT_EQ(run.status, 1) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    EXPECT_EQ(lines[0],
              "sunrise\tsunset\tsolarNoon\tcivilDawn\tcivilDusk\tnauticalDawn\tnauticalDusk\tastronomicalDawn\t"
              "astronomicalDusk\tnotes\tdayLengthSeconds\taltitude\tazimuth\terror");
    EXPECT_EQ(Columns(lines[1]).size(), 14u);
    EXPECT_EQ(lines[2].substr(0, 14), std::string(13, '\t') + "M") << "the error in its column only";
}

TEST(SunCli, APlaceThatCannotBeUsedIsRefused)
{
    const struct {
        std::vector<std::string> options;
        std::string tz, err;
    } cases[] = {
        {{"--at", "91,10"}, "Europe/Berlin", "--at: latitudes run from -90 to 90"},
        {{"--at", "59.91,-180.5"}, "Europe/Berlin", "--at: longitudes run from -180 to 180"},
        {{"--at", "59.91"}, "Europe/Berlin", "--at: write a place as LATITUDE,LONGITUDE, as in 59.91,10.75"},
        {{"--tz", "UTC0"}, "Europe/Berlin", "UTC0 has no place: give --at LAT,LON"},
        {{}, "", "the computer's zone has no place: give --at LAT,LON"},
    };
    const CliRunner cli;
    for (const auto& [options, tz, err] : cases) {
        std::vector<std::string> args = {"sun", "2026-12-21"};
        args.insert(args.end(), options.begin(), options.end());
        const CliRun run = cli.Run(args, {}, {kWorldZones[0], "TZ=" + tz});
        EXPECT_EQ(run.status, 2) << err;
        EXPECT_EQ(run.err, "chronel-cli: " + err + "\n");
        EXPECT_EQ(run.out, "");
    }
}

}   // namespace
