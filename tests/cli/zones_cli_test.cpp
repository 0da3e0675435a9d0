#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_runner.h"

namespace {

// The test zone folder with the tables of places beside its zones.
class ZonesCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TestZoneFolder().Ok());
        for (const char* table : {"zone.tab", "iso3166.tab"}) {
            std::filesystem::copy_file(std::filesystem::path(CHRONEL_TEST_DATA_DIR "/tz") / table,
                                       TestZoneFolder().Root() / table,
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }

    CliRunner cli;
};

TEST_F(ZonesCliTest, SearchKeepsThePlacesHoldingEveryWord)
{
    const std::pair<std::string, std::string> cases[] = {
        {"syd", "Australia/Sydney\n"},
        {"new y", "America/New_York\n"},
        {"Japan", "Asia/Tokyo\n"},
        {"au", "Australia/Lord_Howe\nAustralia/Sydney\n"},
        {"",
         "Europe/Berlin\nEurope/Dublin\nAmerica/New_York\nAustralia/Lord_Howe\nAustralia/Sydney\nAsia/Kolkata\n"
         "Asia/Tehran\nAsia/Tokyo\nEurope/Oslo\nArctic/Longyearbyen\nUTC\n"},
        {"mars", ""},
    };
    for (const auto& [search, zones] : cases) {
        const CliRun run = cli.Run({"zones", search, "--field", "zone"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, zones) << search;
    }
}

TEST_F(ZonesCliTest, PlacesInEachFormat)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"zones", "kolkata", "--format", "json"},
         R"({"line":null,"zone":"Asia/Kolkata","country":"India","countryCode":"IN","city":"Kolkata",)"
         R"("latitude":22.533333,"longitude":88.366667,"offsetSeconds":19800,"abbreviation":"IST","error":null})"
         "\n"},
        {{"zones", "utc", "--format", "json"},
         R"({"line":null,"zone":"UTC","country":null,"countryCode":null,"city":"UTC","latitude":null,)"
         R"("longitude":null,"offsetSeconds":0,"abbreviation":"UTC","error":null})"
         "\n"},
        // A place whose zone file is missing keeps its line, without an offset.
        {{"zones", "tokyo", "--format", "tsv", "--header"},
         "zone\tcountry\tcountryCode\tcity\tlatitude\tlongitude\toffsetSeconds\tabbreviation\terror\n"
         "Asia/Tokyo\tJapan\tJP\tTokyo\t35.654444\t139.744722\t\t\t\n"},
        {{"zones", "asia/te"}, "Asia/Tehran  Tehran, Iran  +03:30 +0330\n"},
    };
    for (const auto& [args, out] : cases) {
        const CliRun run = cli.Run(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, out) << testing::PrintToString(args);
    }
}

TEST_F(ZonesCliTest, ConvertShowsOneInstantOnEveryZonesClocks)
{
    const CliRun json = cli.Run({"convert", "2026-06-01T10:05", "--tz", "Europe/Berlin", "--to", "America/New_York",
                                 "--to", "Australia/Sydney", "--format", "json"});
    EXPECT_EQ(json.out, R"({"line":null,"instant":"2026-06-01T08:05:00Z","unixSeconds":1780301100,"zones":[)"
                        R"({"zone":"Europe/Berlin","wallTime":"2026-06-01T10:05:00","offsetSeconds":7200,)"
                        R"("abbreviation":"CEST","daylight":true},)"
                        R"({"zone":"America/New_York","wallTime":"2026-06-01T04:05:00","offsetSeconds":-14400,)"
                        R"("abbreviation":"EDT","daylight":true},)"
                        R"({"zone":"Australia/Sydney","wallTime":"2026-06-01T18:05:00","offsetSeconds":36000,)"
                        R"("abbreviation":"AEST","daylight":false}],"error":null})"
                        "\n");
    const std::vector<std::string> fixed = {"convert", "@0", "--tz", "Asia/Kolkata", "--to", "Asia/Tehran"};
    std::vector<std::string> tsv = fixed;
    tsv.insert(tsv.end(), {"--format", "tsv", "--header"});
    EXPECT_EQ(cli.Run(tsv).out,
              "zone\twallTime\toffsetSeconds\tabbreviation\tdaylight\terror\n"
              "Asia/Kolkata\t1970-01-01T05:30:00\t19800\tIST\tfalse\t\n"
              "Asia/Tehran\t1970-01-01T03:30:00\t12600\t+0330\tfalse\t\n");
    EXPECT_EQ(cli.Run(fixed).out,
              "Asia/Kolkata  1970-01-01T05:30:00  +05:30 IST\n"
              "Asia/Tehran  1970-01-01T03:30:00  +03:30 +0330\n");
}

TEST_F(ZonesCliTest, ConvertReadsWallTimesAsTheirZoneDoesAndInstantsExactly)
{
    const std::pair<std::string, std::string> cases[] = {
        // Repeated: the earlier instance; skipped: the offset before the change.
        {"2026-10-25T02:30", R"("instant":"2026-10-25T00:30:00Z")"},
        {"2026-03-29T02:30", R"("instant":"2026-03-29T01:30:00Z","unixSeconds":1774747800)"},
        {"@1792891800", R"("wallTime":"2026-10-25T02:30:00","offsetSeconds":3600,"abbreviation":"CET")"},
        {"2026-10-25T02:30+01:00", R"("instant":"2026-10-25T01:30:00Z","unixSeconds":1792891800)"},
    };
    for (const auto& [moment, part] : cases) {
        const CliRun run = cli.Run({"--format", "json", "convert", moment, "--to", "UTC0"});
        EXPECT_NE(run.out.find(part), std::string::npos) << moment << "\n" << run.out;
        EXPECT_NE(run.out.find(R"([{"zone":"Europe/Berlin",)"), std::string::npos) << run.out;
    }
    const CliRun local = cli.Run({"convert", "@0", "--to", "UTC0"}, {}, {"TZ=CET-1"});
    EXPECT_EQ(local.out, "local  1970-01-01T01:00:00  +01:00 CET\nUTC0  1970-01-01T00:00:00  +00:00 UTC\n");
}

TEST_F(ZonesCliTest, DiffBetweenZonesAlwaysGivesTheRealTime)
{
    const std::vector<std::string> flight = {"--format", "json", "diff", "2026-06-01T10:05", "2026-06-01T13:30"};
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--start-tz", "Europe/Berlin", "--final-tz", "America/New_York"}, R"("elapsedSeconds":33900,)"},
        {{"--tz", "America/New_York", "--start-tz", "Europe/Berlin"}, R"("elapsedSeconds":33900,)"},
        {{"--tz", "Europe/Berlin", "--final-tz", "America/New_York"}, R"("elapsedSeconds":33900,)"},
        {{"--start-tz", "Asia/Tehran", "--final-tz", "Asia/Tehran"}, R"("elapsedSeconds":12300,)"},
    };
    for (const auto& [zones, elapsed] : cases) {
        std::vector<std::string> args = flight;
        args.insert(args.end(), zones.begin(), zones.end());
        const CliRun run = cli.Run(args);
        EXPECT_NE(run.out.find(R"("totalMinutes":205,)"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find(elapsed), std::string::npos) << run.out;
    }
    const CliRun text = cli.Run({"diff", flight[3], flight[4], "--tz", "Europe/Berlin", "--final-tz",
                                 "America/New_York", "--template", "%DSZ% %DEZ% %DEL%"});
    EXPECT_EQ(text.out, "Europe/Berlin America/New_York 9 h 25 min\n");
}

TEST_F(ZonesCliTest, HostileZoneNamesAreRefusedEverywhere)
{
    const std::vector<std::vector<std::string>> commands = {{"convert", "2026-06-01", "--to"},
                                                            {"convert", "2026-06-01", "--to", "UTC0", "--tz"},
                                                            {"diff", "2026-06-01", "2026-06-02", "--start-tz"},
                                                            {"diff", "2026-06-01", "2026-06-02", "--final-tz"},
                                                            {"info", "2026-06-01", "--tz"},
                                                            {"zones", "--tz"}};
    for (const std::string& name :
         {std::string("../../etc/passwd"), std::string("/etc/localtime"), std::string(), std::string(10240, 'a')}) {
        for (std::vector<std::string> args : commands) {
            args.insert(args.end(), {name, "--format", "json"});
            const CliRun run = cli.Run(args);
            SCOPED_TRACE(args[0] + " " + name.substr(0, 20));
            EXPECT_EQ(run.status, 2);
            EXPECT_TRUE(run.err.starts_with("chronel-cli: '") && run.err.size() < 300) << run.err;
            EXPECT_EQ(Lines(run.err).size(), 1u);
            EXPECT_TRUE(run.out.starts_with(R"({"error":")") && run.out.ends_with(",\"exitStatus\":2}\n")) << run.out;
        }
    }
    EXPECT_EQ(cli.Run({"convert", "2026-06-01"}).status, 2);
}

}   // namespace
