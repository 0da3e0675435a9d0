// Working days on the command line: the key, column and line they add, the weekend's forms, the days a
// working-day count reaches, and where the weekend comes from when none is given.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_runner.h"

namespace {

struct WorkingDaysCliTest : ::testing::Test {
    CliRunner cli;

    // The working days from Monday 2024-01-01 to Thursday 2024-01-04 (Monday to Wednesday), with `extra`.
    std::string MondayToThursday(std::vector<std::string> extra)
    {
        extra.insert(extra.begin(), {"diff", "2024-01-01", "2024-01-04", "--working-days", "--format", "json"});
        return cli.Jq(cli.Run(extra).out, ".workingDays");
    }
};

TEST_F(WorkingDaysCliTest, DiffAddsTheCountOnlyWhenAsked)
{
    const std::vector<std::string> week = {"diff", "2024-01-01", "2024-01-08"};
    const auto run = [&](std::vector<std::string> extra) {
        extra.insert(extra.begin(), week.begin(), week.end());
        return cli.Run(extra).out;
    };
    const std::string json = run({"--working-days", "--format", "json"});
    EXPECT_EQ(cli.Jq(json, R"(keys_unsorted | index("workingDays") - index("totalSeconds"))"), "1\n");
    EXPECT_EQ(cli.Jq(json, ".workingDays"), "5\n");
    EXPECT_EQ(cli.Jq(run({"--format", "json"}), R"(has("workingDays") | not)"), "true\n");
    const std::vector<std::string> rows = Lines(run({"--working-days", "--format", "tsv", "--header"}));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].ends_with("\ttotalSeconds\tworkingDays\terror")) << rows[0];
    EXPECT_TRUE(rows[1].ends_with("\t604800\t5\t")) << rows[1];
    EXPECT_EQ(run({"--format", "tsv", "--header"}).find("workingDays"), std::string::npos);
    EXPECT_TRUE(run({"--working-days"}).ends_with("Seconds Particular: 604800 \nWorking Days: 5 \n"));
}

TEST_F(WorkingDaysCliTest, WeekendIsReadInEveryForm)
{
    const std::pair<std::string, std::string> cases[] = {
        {"tue", "2"}, {"Wednesday,MON", "1"}, {"3", "2"}, {"4", "3"}, {"7,sat", "3"}, {"", "3"},
    };
    for (const auto& [weekend, count] : cases) {
        EXPECT_EQ(MondayToThursday({"--weekend", weekend}), count + "\n") << weekend;
    }
}

TEST_F(WorkingDaysCliTest, UnusableCommandLinesAreRefused)
{
    const std::vector<std::string> cases[] = {
        {"diff", "2024-01-01", "2024-01-04", "--working-days", "--weekend", "1,2,3,4,5,6,7"},
        {"diff", "2024-01-01", "2024-01-04", "--working-days", "--weekend", "mon,,tue"},
        {"diff", "2024-01-01", "2024-01-04", "--working-days", "--weekend", "8"},
        {"diff", "2024-01-01", "2024-01-04", "--working-days", "--weekend", "sa"},
        {"diff", "2024-01-01", "2024-01-04", "--weekend", "sat"},
        {"diff", "2024-01-01", "2024-01-04", "--working-days", "--holidays", "missing.ics"},
        {"calc", "2024-01-01", "--working-days", "2", "--days", "1"},
        {"info", "2024-01-01", "--working-days"},
    };
    for (std::vector<std::string> args : cases) {
        SCOPED_TRACE(args.back());
        args.insert(args.end(), {"--format", "json"});
        const CliRun run = cli.Run(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(cli.Jq(run.out, ".exitStatus"), "2\n");
    }
}

TEST_F(WorkingDaysCliTest, CalcStepsYearsMonthsThenWorkingDaysThenTimes)
{
    struct Case {
        std::vector<std::string> args;
        std::string before, after;
    };
    const Case cases[] = {
        {{"2024-01-05T10:00", "--working-days", "3"}, "2024-01-02T10:00:00", "2024-01-10T10:00:00"},
        {{"2024-01-04", "--working-days", "1", "--weekend", "fri,sat"}, "2024-01-03T00:00:00", "2024-01-07T00:00:00"},
        {{"2024-11-29", "--months", "1", "--working-days", "1"}, "2024-10-28T00:00:00", "2024-12-30T00:00:00"},
        {{"2024-12-27", "--working-days", "3"}, "2024-12-24T00:00:00", "2025-01-01T00:00:00"},
        {{"2024-01-05T22:00", "--working-days", "1", "--hours", "3"}, "2024-01-04T19:00:00", "2024-01-09T01:00:00"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"calc", "--format", "json"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(cli.Jq(cli.Run(args).out, "[.before, .after]"), "[\"" + c.before + "\",\"" + c.after + "\"]\n")
            << c.args[0];
    }
}

// The last Monday of May and, until 2003, the fourth Thursday of November are holidays there.
TEST_F(WorkingDaysCliTest, HolidayFilesTakeTheirDaysOut)
{
    const std::string yearly = CHRONEL_TEST_DATA_DIR "/ics/yearly.ics";
    const auto json = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--holidays", yearly, "--format", "json"});
        return cli.Run(args).out;
    };
    EXPECT_EQ(cli.Jq(json({"diff", "2003-11-24", "2003-12-01", "--working-days"}), ".workingDays"), "4\n");
    EXPECT_EQ(cli.Jq(json({"diff", "2004-11-22", "2004-11-29", "--working-days"}), ".workingDays"), "5\n");
    EXPECT_EQ(cli.Jq(json({"calc", "2024-05-24", "--working-days", "1"}), ".after"), "\"2024-05-28T00:00:00\"\n");
}

// Without --weekend the window's choice counts, and its settings file is left as it was.
TEST_F(WorkingDaysCliTest, SettingsGiveTheWeekendWhenNoneIsGiven)
{
    EXPECT_EQ(MondayToThursday({}), "3\n");
    const std::filesystem::path folder = cli.Folder().Path() / ".config/Orvane";
    std::filesystem::create_directories(folder);
    const std::string settings =
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Chronel]\n\"WorkingWeekdays\"=dword:0000003e\n";
    WriteFileBytes(folder / "Chronel.reg", settings);
    EXPECT_EQ(MondayToThursday({}), "2\n");
    EXPECT_EQ(MondayToThursday({"--weekend", "sat,sun"}), "3\n");
    EXPECT_EQ(ReadFileBytes(folder / "Chronel.reg"), settings);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);

    // The holiday files the window lists, stored as a multi-string.
    std::string files = "\"HolidayCalendars\"=hex(7):";
    for (const char c : std::string(CHRONEL_TEST_DATA_DIR "/ics/yearly.ics") + std::string(2, '\0')) {
        constexpr char kHex[] = "0123456789abcdef";
        files += {kHex[static_cast<unsigned char>(c) >> 4], kHex[c & 0xF], ','};
    }
    files.back() = '\n';
    WriteFileBytes(folder / "Chronel.reg", settings.substr(0, settings.find("\"Working")) + files);
    const CliRun thanksgiving =
        cli.Run({"diff", "2003-11-24", "2003-12-01", "--working-days", "--field", "workingDays"});
    EXPECT_EQ(thanksgiving.out, "4\n") << thanksgiving.err;
}

}   // namespace
