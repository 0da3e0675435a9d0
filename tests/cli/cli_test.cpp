#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "calc/calculation.h"
#include "calc/difference.h"
#include "cli/answer_line.h"
#include "cli/cli_runner.h"
#include "cli/computed_value_source.h"
#include "cli/langinfo_formatter.h"
#include "cli/moment_text.h"
#include "core/calendar.h"
#include "fakes/date_at.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_locale_formatter.h"
#include "fakes/fake_messages.h"
#include "info/posix_tz.h"
#include "info/zone_model.h"

namespace {

std::string Iso(const DateTime& value)
{
    const auto p = value.GetParts();
    if (!p) {
        return {};
    }
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", p->year, p->month, p->day, p->hour, p->minute,
                  p->second);
    return text;
}

std::string_view TextOf(std::span<const FieldText> fields, int id)
{
    const auto found = std::ranges::find(fields, id, &FieldText::controlId);
    return found != fields.end() ? std::string_view(found->text) : std::string_view();
}

// Moments a little beyond the pages' range on both sides, written in each form the command line takes.
struct Drawn {
    DateTime value;
    std::string text;
};
Drawn Draw(std::mt19937_64& random)
{
    const int y = std::uniform_int_distribution(1700, 9999)(random), mo = std::uniform_int_distribution(1, 12)(random);
    const int d = std::uniform_int_distribution(1, DaysInMonth(y, mo))(random);
    const int form = std::uniform_int_distribution(0, 2)(random);
    const int h = form == 0 ? 0 : std::uniform_int_distribution(0, 23)(random);
    const int mi = form == 0 ? 0 : std::uniform_int_distribution(0, 59)(random);
    const int s = form == 0 ? 0 : std::uniform_int_distribution(0, 59)(random);
    const DateTime value = At(y, mo, d, h, mi, s);
    std::string text = Iso(value);
    form == 0 ? text.resize(10) : void(text[10] = form == 1 ? 'T' : ' ');
    return {value, text};
}

// The command line's C locale must write what the fixed English formatter of the program's tests writes,
// so that both can be compared text for text.
TEST(CliFormatter, CLocaleWritesTheFixedEnglishTexts)
{
    const LangInfoFormatter names;
    const FakeLocaleFormatter english;
    for (DateTime day = At(1601, 1, 1); day.IsValid(); day += DateTimeSpan(37.0 + 1.0 / 24 + 1.0 / 1440)) {
        const SystemTime t = *day.GetAsSystemTime();
        ASSERT_EQ(names.LongDate(t), english.LongDate(t));
        ASSERT_EQ(names.Time(t), english.Time(t));
        for (const char* picture : {"dddd", "ddd", "MMMM", "MMM"}) {
            ASSERT_EQ(names.DatePicture(t, picture), english.DatePicture(t, picture));
        }
    }
}

struct CliTest : ::testing::Test {
    CliRunner cli;
    FakeLocaleFormatter english;
    FakeMessages messages;
};

TEST_F(CliTest, BatchDiffGivesTheFiguresOfTheDifferencePage)
{
    std::vector<std::pair<Drawn, Drawn>> pairs;
    for (const auto& [a, b] : {std::pair{At(2003, 1, 31), At(2003, 3, 1)},
                               {At(2003, 6, 15, 10), At(2005, 6, 20, 12, 30, 15)},
                               {At(2004, 2, 29), At(2005, 2, 28)},
                               {At(1754, 1, 1), At(9998, 12, 31, 23, 59, 59)},
                               {At(9998, 12, 31, 23, 59, 59), At(1754, 1, 1)},
                               {At(1753, 12, 31, 23, 59, 59), At(2000, 1, 1)},
                               {At(2000, 1, 1), At(9999, 1, 1)}}) {
        pairs.push_back({{a, Iso(a)}, {b, Iso(b)}});
    }
    std::mt19937_64 random(20240301);
    while (pairs.size() < 3000) {
        pairs.push_back({Draw(random), Draw(random)});
    }
    std::string input;
    for (const auto& [start, final] : pairs) {
        input += start.text + '\t' + final.text + '\n';
    }
    const CliRun run = cli.Run({"--format", "tsv", "diff", "-", "-"}, input);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), pairs.size());
    bool anyOutside = false;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const DateTime start = pairs[i].first.value, final = pairs[i].second.value;
        std::string expected = Iso(start) + '\t' + Iso(final);
        if (IsInPickerRange(start) && IsInPickerRange(final)) {
            for (const FigureField& field : ComputeDifference(start, final)) {
                expected += '\t' + field.text.str();
            }
            ASSERT_EQ(lines[i], expected + '\t') << "line " << i + 1;
        } else {
            anyOutside = true;
            expected += std::string(16, '\t') + "no answer:";
            ASSERT_EQ(lines[i].substr(0, expected.size()), expected) << "line " << i + 1;
        }
    }
    EXPECT_EQ(run.status, anyOutside ? 1 : 0);
}

TEST_F(CliTest, BatchCalcGivesBothResultsOfTheCalculationPage)
{
    const char* const names[] = {"--years", "--months", "--weeks", "--days", "--hours", "--minutes", "--seconds"};
    const struct {
        std::array<std::int32_t, kCountFieldCount> counts;
        bool weeks;
    } sets[] = {
        {{0, 1}, false},         {{4}, false},
        {{0, 0, 5, 2, 3}, true}, {{0, 0, 0, 0, 25, 0, 3600}, false},
        {{-3, -3}, false},       {{0, 0, kLargestCount}, true},
    };
    std::vector<Drawn> starts;
    for (const DateTime& start : {At(2004, 1, 31, 10), At(2004, 3, 31, 12), At(1800, 6, 1), At(1754, 1, 1, 12),
                                  At(9998, 12, 31, 23, 59, 59), At(1753, 1, 1)}) {
        starts.push_back({start, Iso(start)});
    }
    std::mt19937_64 random(2004);
    while (starts.size() < 600) {
        starts.push_back(Draw(random));
    }
    std::string input;
    for (const Drawn& start : starts) {
        input += start.text + '\n';
    }
    for (const auto& set : sets) {
        std::vector<std::string> args = {"--format", "tsv", "calc", "-"};
        CalculationInput page{DateTime(), {}, !set.weeks, set.weeks, false};
        for (std::size_t i = 0; i < kCountFieldCount; ++i) {
            page.countTexts[i] = std::to_string(set.counts[i]);
            if (set.counts[i] != 0 || (set.weeks && i == kWeeks)) {
                args.insert(args.end(), {names[i], page.countTexts[i]});
            }
        }
        SCOPED_TRACE(testing::PrintToString(args));
        const CliRun run = cli.Run(args, input);
        const std::vector<std::string> lines = Lines(run.out);
        ASSERT_EQ(lines.size(), starts.size());
        for (std::size_t i = 0; i < starts.size(); ++i) {
            page.start = starts[i].value;
            const CalculationResult r = ComputeCalculation(page, english);
            const std::string expected = IsInPickerRange(page.start)
                                             ? Iso(page.start) + '\t' +
                                                   (r.differenceAvailable ? Iso(r.difference) : "no such date") + '\t' +
                                                   (r.sumAvailable ? Iso(r.sum) : "no such date")
                                             : Iso(page.start) + "\t\t\tno answer: START " + Iso(page.start);
            ASSERT_EQ(lines[i].substr(0, expected.size()), expected) << "line " << i + 1;
        }
    }
}

TEST_F(CliTest, BatchInfoGivesWhatTheTimeInfoSubPagesShow)
{
    const std::optional<ZoneModel> model = ZoneModel::FromTzif(TestZoneFolder().Read("Europe/Berlin"));
    ASSERT_TRUE(model);
    const std::optional<ZoneRules> berlin = model->PresentRules();
    ASSERT_TRUE(berlin);
    std::vector<Drawn> moments = {{At(2004, 3, 1, 13, 5, 9), "2004-03-01T13:05:09"}};
    std::mt19937_64 random(1996);
    while (moments.size() < 1000) {
        moments.push_back(Draw(random));
    }
    std::string input;
    for (const Drawn& moment : moments) {
        input += moment.text + '\n';
    }
    const CliRun run = cli.Run({"--format", "tsv", "info", "-", "--tz", "Europe/Berlin"}, input);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), moments.size());
    for (std::size_t i = 0; i < moments.size(); ++i) {
        const DateTime v = moments[i].value;
        if (!IsInPickerRange(v)) {
            const std::string expected = Iso(v) + std::string(21, '\t') + "no answer: MOMENT";
            ASSERT_EQ(lines[i].substr(0, expected.size()), expected) << "line " << i + 1;
            continue;
        }
        // Which of its names the zone line shows depends on the real clock's state of the zone.
        bool matched = false;
        for (const ZoneState state : {ZoneState::Standard, ZoneState::Daylight}) {
            ZoneRules zone = *berlin;
            zone.state = state;
            const TimeInfoResults r = ComputeTimeInfo(v, zone, messages, english, nullptr, &*model);
            const std::string_view phase = TextOf(r.moonTexts, kMoonPhaseFieldId);
            const std::string columns[] = {Iso(v),
                                           std::string(TextOf(r.facts, kDayOfWeekFieldId)),
                                           IsLeapYear(v.GetYear()) ? "true" : "false",
                                           std::string(TextOf(r.facts, kDayNumberFieldId)),
                                           std::string(TextOf(r.facts, kWeekNumberFieldId)),
                                           std::to_string(IsoWeekOf(v)->week),
                                           std::to_string(IsoWeekOf(v)->year),
                                           std::string(TextOf(r.facts, kQuarterFieldId)),
                                           std::string(TextOf(r.facts, kSeasonFieldId)),
                                           r.zone.fields[0].text,
                                           r.zone.fields[1].text,
                                           r.zone.fields[2].text,
                                           Iso(r.zone.nextBegin),
                                           Iso(r.zone.nextEnd),
                                           std::string(phase.substr(0, phase.size() - 1)),
                                           Iso(r.moon->previousFull),
                                           Iso(r.moon->nextFull),
                                           Iso(r.moon->previousNew),
                                           Iso(r.moon->nextNew),
                                           std::string(TextOf(r.horoscope, kSignFieldId)),
                                           std::string(TextOf(r.horoscope, kYearAnimalFieldId))};
            std::string expected;
            for (const std::string& column : columns) {
                expected += (expected.empty() ? "" : "\t") + column;
            }
            matched = matched || lines[i] == expected + '\t';
        }
        ASSERT_TRUE(matched) << "line " << i + 1 << ": " << lines[i];
    }
}

TEST_F(CliTest, BadUseIsOneLineNamingTheProblem)
{
    WriteFileBytes(cli.Folder() / "huge.trt", std::string(4 * 1024 * 1024 + 1, 'x'));
    const struct {
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {{}, 2, "no command"},
        {{"diff", "2004-01-01"}, 2, "use diff START FINAL"},
        {{"diff", "2004-02-30", "2004-03-01"}, 2, "START 2004-02-30: February 2004 has 29 days"},
        {{"diff", "2004-01-01", "tomorrow"}, 2, "FINAL 'tomorrow' is not a moment"},
        {{"calc", "2004-01-01", "--days", "2147483648"}, 2, "--days 2147483648 is past the page's limits"},
        {{"calc", "2004-01-01", "--hours", "1.5"}, 2, "--hours '1.5' is not a whole number"},
        {{"calc", "2004-01-01", "--months", "1", "--weeks", "1"}, 2, "exclude each other"},
        {{"calc", "2004-01-01", "--days"}, 2, "--days needs a value"},
        {{"info", "--tz", "Mars/Olympus_Mons"}, 2, "'Mars/Olympus_Mons' names no time zone"},
        {{"diff", "2004-01-01", "2004-01-02", "--astronomical"}, 2, "diff does not take --astronomical"},
        {{"diff", "2004-01-01", "2004-01-02", "--bogus"}, 2, "unknown option --bogus (see --help)"},
        {{"info", "--crlf", "--tz", "UTC0", "--crlf"}, 2, "--crlf is given twice"},
        {{"--format", "json", "--data-only", "info"}, 2, "--data-only is for text"},
        {{"--header", "info"}, 2, "--header is for --format tsv"},
        {{"--format", "text", "diff", "-", "-", "--elapsed"}, 2, "--elapsed is for --format tsv"},
        {{"info", "--field", "zone", "--field", "Zone"}, 2, "unknown field 'Zone': info gives line, moment,"},
        {{"info", "--field", "zone", "--template", "%IIW%"}, 2, "--field and --template exclude each other"},
        {{"--format", "xml", "info"}, 2, "--format 'xml' is not one of text, json, tsv"},
        {{"--language", "klingon", "info"}, 2, "no language file klingon.lng"},
        {{"expand", cli.Folder() / "missing.trt"}, 2, "no such file"},
        {{"expand", cli.Folder() / "huge.trt"}, 2, "larger than 4 MiB"},
        {{"frobnicate"}, 2, "unknown command 'frobnicate'"},
        {{"diff", "1753-12-31", "2000-01-01"}, 1, "START 1753-12-31T00:00:00 lies outside the pages' range"},
        {{"calc", "2004-01-31", "--months", "1"}, 1, "no such date after 2004-01-31T00:00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const CliRun run = cli.Run(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(std::ranges::count(run.err, '\n'), 1) << run.err;
        const bool asksJson = std::ranges::find(c.args, "json") != c.args.end();
        EXPECT_TRUE(c.status != 2 || asksJson || run.out.empty()) << run.out;
        // With JSON asked for, anywhere, the refusal is a JSON object on stdout as well.
        if (c.status != 2 || (!asksJson && std::ranges::find(c.args, "--format") != c.args.end())) {
            continue;
        }
        std::vector<std::string> json = c.args;
        if (!asksJson) {
            json.insert(json.begin(), {"--format", "json"});
        }
        const CliRun asJson = cli.Run(json);
        EXPECT_EQ(asJson.err, run.err);
        EXPECT_EQ(cli.Jq(asJson.out, ".exitStatus == 2 and (.error | contains(\"" + std::string(c.says) + "\"))"),
                  "true\n")
            << asJson.out;
    }
}

// Inputs, zones and outputs the program cannot use: each is named on stderr, and nothing hangs.
TEST_F(CliTest, UnusableInputZoneOrOutputIsNamed)
{
    // A FIFO named like a TZ string: the C library tries every TZ as a file first.
    const std::string zones = cli.Folder() / "zones", pipe = zones + "/UTC0";
    std::filesystem::create_directory(zones);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Each %DSD% gives a 29-byte date: the largest template expands past the limit.
    std::string macros;
    for (std::size_t i = 0; i < 4 * 1024 * 1024 / 5; ++i) {
        macros += "%DSD%";
    }
    WriteFileBytes(cli.Folder() / "big.trt", macros);
    const int folder = ::open(cli.Folder().Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    constexpr int kClosed = -1;
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> env;
        int in;
        std::string out;
        int status;
        std::string says;      // on stderr, its only line; empty: nothing there
        std::string answers;   // on stdout
    } cases[] = {
        // The zone's rule columns are empty: nothing may be copied from an empty text.
        {{"--format", "tsv", "info", "1970-06-11T07:51:56"},
         {"TZ=UTC0"},
         0,
         "",
         0,
         "",
         "1970-06-11T07:51:56\tThursday\tfalse\t162\t24\t24\t1970\t2\tSummer\t(GMT 00:00) UTC\t\t\t\t\t47.9\t"},
        {{"diff", "-", "-"}, {}, kClosed, "", 2, "stdin is closed", ""},
        {{"calc", "-"}, {}, folder, "", 2, "cannot read stdin: Is a directory", ""},
        {{"--format", "json", "info", "2004-03-01"},
         {"TZ=" + pipe},
         0,
         "",
         2,
         "TZ '" + pipe + "' names a file that is not a zone file",
         R"({"error":"TZ ')" + pipe + "' names a file"},
        {{"diff", "2004-03-01", "2004-03-02"},
         {"TZ=Mars/Olympus"},
         0,
         "",
         2,
         "TZ 'Mars/Olympus' names no time zone",
         ""},
        {{"info", "--tz", pipe}, {}, 0, "", 2, "'" + pipe + "' names no time zone", ""},
        {{"info", "--tz", "UTC0"}, {"TZDIR=" + zones}, 0, "", 2, "'UTC0' names no time zone", ""},
        {{"expand", cli.Folder() / "big.trt", "--start", "2004-09-01"},
         {},
         0,
         "",
         1,
         "is longer than 16 MiB, the most one expansion may give: it was cut there",
         "\n[Chronel stopped here: the expanded text would be longer than 16 MiB.]"},
        {{"--help"}, {}, 0, "/dev/full", 1, "the help could not be written", ""},
        {{"--version"}, {}, 0, "/dev/full", 1, "the version could not be written", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CliRun run = cli.RunWith(c.args, c.in, c.out, c.env, 30);
        EXPECT_EQ(run.status, c.status) << run.err;
        if (c.says.empty()) {
            EXPECT_EQ(run.err, "");
        } else {
            EXPECT_TRUE(run.err.starts_with("chronel-cli: ") && run.err.find(c.says) != std::string::npos &&
                        std::ranges::count(run.err, '\n') == 1)
                << run.err;
        }
        EXPECT_NE(run.out.find(c.answers), std::string::npos) << run.out.substr(0, 300);
    }
    ::close(folder);
}

TEST_F(CliTest, BadBatchLinesAreNamedAndTheOthersAnswered)
{
    const std::string good = "2003-01-31\t2003-03-01";
    const std::string input =
        good + "\nnonsense\n\n2004-01-01\n" + good + "\r\n" + std::string(70000, '7') + "\n" + good;
    const CliRun tsv = cli.Run({"--format", "tsv", "diff", "-", "-"}, input);
    const std::vector<std::string> lines = Lines(tsv.out);
    ASSERT_EQ(lines.size(), 7u);
    for (const std::size_t bad : {1, 2, 3, 5}) {
        EXPECT_NE(tsv.err.find("line " + std::to_string(bad + 1) + ": "), std::string::npos) << tsv.err;
        EXPECT_NE(tsv.err.find(lines[bad].substr(lines[bad].rfind('\t') + 1)), std::string::npos) << lines[bad];
    }
    EXPECT_EQ(lines[0], lines[4]);
    EXPECT_EQ(lines[0], lines[6]);
    EXPECT_EQ(tsv.status, 1);
    const CliRun empty = cli.Run({"diff", "-", "-"}, "");
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out + empty.err, "");
}

TEST_F(CliTest, AHundredMegabyteBatchRunsInFlatMemory)
{
    std::string block;
    std::mt19937_64 random(7);
    while (block.size() < 64 * 1024) {
        const Drawn start = Draw(random), final = Draw(random);
        if (IsInPickerRange(start.value) && IsInPickerRange(final.value)) {
            block += start.text + '\t' + final.text + '\n';
        }
    }
    const auto run = [&](std::size_t bytes) {
        int pipe[2];
        const int nothing = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (::pipe2(pipe, O_CLOEXEC) != 0) {
            return CliRun{};
        }
        const pid_t pid = cli.Start({"--format", "tsv", "diff", "-", "-"}, pipe[0], nothing, nothing);
        ::close(pipe[0]);
        for (std::size_t written = 0; written < bytes && pid > 0;) {
            const ssize_t n = ::write(pipe[1], block.data(), block.size());
            written += n > 0 ? static_cast<std::size_t>(n) : bytes;
        }
        ::close(pipe[1]);
        ::close(nothing);
        return CliRunner::Wait(pid);
    };
    const auto oldPipeAction = std::signal(SIGPIPE, SIG_IGN);
    const CliRun small = run(block.size());
    const CliRun big = run(100u << 20);
    std::signal(SIGPIPE, oldPipeAction);
    EXPECT_EQ(small.status, 0);
    EXPECT_EQ(big.status, 0);
    EXPECT_LT(big.peakKilobytes, small.peakKilobytes + 2048);
}

TEST_F(CliTest, ExpandFillsEveryMacroAsThePagesWould)
{
    std::string text = "%NOPE% 100% %";
    for (const Macro& macro : kMacros) {
        // The current date and time would come from the real clock.
        if (macro.source != MacroSource::CurrentDate && macro.source != MacroSource::CurrentTime) {
            text += "\n" + std::string(macro.code) + "|" + std::string(macro.code).substr(1);
        }
    }
    WriteFileBytes(cli.Folder() / "all.trt", text);
    const CliRun run = cli.Run({"expand", cli.Folder() / "all.trt", "--start", "2003-06-15T10:00:00", "--final",
                                "2005-06-20 12:30:15", "--calc-start", "2004-01-31T10:00:00", "--months", "1", "--days",
                                "3", "--info", "2004-03-01T13:05:09", "--tz", "<+0330>-3:30"});
    ComputedValueSource pages;
    // No settings file: Monday to Friday, no holidays.
    const FieldText workingDays{kWorkingDaysId, "525"};
    ShowDifference(pages, At(2003, 6, 15, 10), At(2005, 6, 20, 12, 30, 15),
                   ComputeDifference(At(2003, 6, 15, 10), At(2005, 6, 20, 12, 30, 15)), ElapsedLine{}, &workingDays);
    const CalculationInput calculation{At(2004, 1, 31, 10), {"0", "1", "0", "3", "0", "0", "0"}, true, false, false};
    ShowCalculation(pages, calculation, ComputeCalculation(calculation, english));
    const DateTime info = At(2004, 3, 1, 13, 5, 9);
    ShowTimeInfo(pages, info, ComputeTimeInfo(info, ZoneFromTzString("<+0330>-3:30"), messages, english));
    Expand(text, pages, FakeClock(SystemTime{}), english, messages);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, text);
}

TEST_F(CliTest, LanguageFileGivesLabelsAndWords)
{
    cli.WriteLanguage("test", "[Common]\nID_36=Frühling\n[MenuID_143]\nID_32830=Tagesnummer\n");
    const CliRun run = cli.Run({"--language", "test", "--crlf", "info", "2004-03-01", "--tz", "Asia/Kolkata"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\nTagesnummer: 61 \r\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nSeason: Frühling \r\n"), std::string::npos) << run.out;
}

// The examples of the README's "Command line" section, with what they print.
TEST_F(CliTest, ReadmeExamplesPrintWhatTheReadmeShows)
{
    std::ifstream readme(CHRONEL_SOURCE_DIR "/README.md");
    std::vector<std::pair<std::vector<std::string>, std::string>> examples;
    bool inSection = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.starts_with("## ")) {
            inSection = line == "## Command line";
        } else if (inSection && line.starts_with("    $ chronel-cli ")) {
            std::istringstream words(line.substr(18));
            examples.emplace_back(std::vector<std::string>(std::istream_iterator<std::string>(words), {}), "");
        } else if (inSection && line.starts_with("    ") && !examples.empty()) {
            examples.back().second += line.substr(4) + "\n";
        }
    }
    EXPECT_EQ(examples.size(), 3u);
    for (const auto& [args, shown] : examples) {
        SCOPED_TRACE(testing::PrintToString(args));
        std::string printed = cli.Run(args).out;
        // Copy >> ends each line with a blank, which the README's text does not keep.
        for (std::size_t at; (at = printed.find(" \n")) != std::string::npos;) {
            printed.erase(at, 1);
        }
        EXPECT_EQ(printed, shown);
    }
}

}   // namespace

// The real elapsed time across a daylight-saving change, and the real moon: what the pages add beside
// their calendar answers.
// An instant (Z, an offset or @SECONDS) is shown as wall time in the zone of --tz, on every command.
TEST_F(CliTest, InstantsAreWallTimeInTheZoneOfEveryCommand)
{
    const struct {
        std::vector<std::string> args;
        std::string_view expected;
    } cases[] = {
        {{"diff", "2024-03-31T00:30Z", "2024-03-31T02:30:00+00:00", "--tz", "Europe/Berlin", "--field", "start",
          "--field", "final", "--field", "elapsedSeconds"},
         "2024-03-31T01:30:00\n2024-03-31T04:30:00\n7200\n"},
        {{"calc", "@0", "--days", "1", "--tz", "America/New_York", "--field", "start", "--field", "after"},
         "1969-12-31T19:00:00\n1970-01-01T19:00:00\n"},
        {{"info", "2024-07-01T12:00Z", "--tz", "Australia/Lord_Howe", "--field", "moment"}, "2024-07-01T22:30:00\n"},
        {{"info", "2024-01-01T12:00+05:30", "--tz", "EST5EDT,M3.2.0,M11.1.0", "--field", "moment"},
         "2024-01-01T01:30:00\n"},
        {{"expand", "-", "--start", "@1711846800", "--tz", "Europe/Dublin"}, "Sunday, March 31, 2024 2:00:00 AM"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const std::string_view input = c.args[0] == "expand" ? "%DSD% %DST%" : "";
        const CliRun run = cli.Run(c.args, input);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.expected);
    }
}

TEST_F(CliTest, ElapsedTimeAndTheRealMoonFollowTheZone)
{
    const std::vector<std::string> berlin = {"TZ=CET-1CEST,M3.5.0,M10.5.0/3"};
    const std::vector<std::string> across = {"--format", "json", "diff", "2026-03-28T02:00:00", "2026-03-30T02:00:00"};
    EXPECT_NE(cli.Run(across, {}, berlin).out.find(R"("totalHours":48,)"), std::string::npos);
    EXPECT_NE(cli.Run(across, {}, berlin).out.find(R"(,"elapsedSeconds":169200,"error":null})"), std::string::npos);
    const std::vector<std::string> tsv = {"--format", "tsv", "--elapsed", "diff", across[3], across[4]};
    EXPECT_TRUE(cli.Run(tsv, {}, berlin).out.ends_with("\t48\t2880\t172800\t169200\t\n"));
    const CliRun text = cli.Run({"diff", "2026-10-24 12:00:00", "2026-10-25 12:00:00"}, {}, berlin);
    EXPECT_NE(text.out.find("Elapsed Time: 25 h (a daylight-saving change lies between)"), std::string::npos)
        << text.out;
    for (const std::string_view within : {"2026-04-28T02:00:00", "2026-10-24T02:00:00"}) {
        const CliRun none =
            cli.Run({"--format", "json", "diff", "2026-03-30T02:00:00", std::string(within)}, {}, berlin);
        EXPECT_NE(none.out.find(R"("elapsedSeconds":null,)"), std::string::npos) << within;
    }
    const std::vector<std::string> info = {"--format", "json", "info", "2026-12-06T12:00:00", "--tz", "UTC0"};
    std::vector<std::string> real = info;
    real.push_back("--astronomical");
    EXPECT_NE(cli.Run(real).out.find(R"("previousFullMoon":"2026-11-24T14:53:)"), std::string::npos);
    EXPECT_NE(cli.Run(info).out.find(R"("previousFullMoon":"2026-11-24T08:29:22")"), std::string::npos);
}
