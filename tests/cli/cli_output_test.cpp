// What scripts read of chronel-cli: JSON that parses, rows of a fixed width, blocks that pair with their
// input lines, and the values --field and --template choose.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/answer_line.h"
#include "cli/cli_runner.h"
#include "cli/moment_text.h"

namespace {

struct CliOutputTest : ::testing::Test {
    CliRunner cli;
};

// Good lines, bad lines, lines without an answer and text that needs escaping, for each batch command.
struct BatchCase {
    std::vector<std::string> args;
    std::string input;
};
const BatchCase kBatches[] = {
    {{"diff", "-", "-", "--tz", "UTC0"},
     "2003-01-31\t2003-03-01\nnonsense\n\n1600-01-01\t2000-01-01\n2004-01-01\tq\"b\\c\rt\x1f\xF0\x9F\x98\n"},
    {{"calc", "-", "--months", "1"}, "2004-01-31\n2004-02-30\n1600-01-01\n\\\t\"\n2004-03-01\n"},
    {{"info", "-", "--tz", "UTC0"}, "2004-03-01\n\xC0\x80\n9999-01-01\n2004-03-01T12:00:00\n"},
};

TEST_F(CliOutputTest, EveryBatchLineGivesOneJsonObjectWithTheSameKeys)
{
    for (const BatchCase& c : kBatches) {
        SCOPED_TRACE(c.args[0]);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--format", "json"});
        const std::string out = cli.Run(args, c.input).out;
        const std::vector<std::string> keys = Lines(cli.Jq(out, "keys_unsorted")), lines = Lines(cli.Jq(out, ".line"));
        ASSERT_EQ(keys.size(), static_cast<std::size_t>(std::ranges::count(c.input, '\n')));
        EXPECT_TRUE(keys[0].starts_with(R"(["line",)") && keys[0].ends_with(R"(,"error"])")) << keys[0];
        for (std::size_t i = 0; i < keys.size(); ++i) {
            EXPECT_EQ(keys[i], keys[0]);
            EXPECT_EQ(lines[i], std::to_string(i + 1));
        }
    }
}

// Help and version are answers too: with --format json, objects.
TEST_F(CliOutputTest, HelpAndVersionAreJsonWhenJsonIsAsked)
{
    EXPECT_EQ(cli.Jq(cli.Run({"--help", "--format=json"}).out, ".text | startswith(\"Usage: chronel-cli\")"), "true\n");
    EXPECT_EQ(cli.Jq(cli.Run({"--format", "json", "--version"}).out, ".version | length > 0"), "true\n");
}

TEST_F(CliOutputTest, EveryTsvRowHasTheHeadersColumns)
{
    for (const BatchCase& c : kBatches) {
        SCOPED_TRACE(c.args[0]);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--format", "tsv", "--header"});
        const std::vector<std::string> rows = Lines(cli.Run(args, c.input).out);
        ASSERT_EQ(rows.size(), 1 + static_cast<std::size_t>(std::ranges::count(c.input, '\n')));
        EXPECT_TRUE(rows[0].ends_with("\terror"));
        for (const std::string& row : rows) {
            EXPECT_EQ(std::ranges::count(row, '\t'), std::ranges::count(rows[0], '\t')) << row;
        }
    }
}

TEST_F(CliOutputTest, TextBatchBlocksPairWithTheirInputs)
{
    for (const BatchCase& c : kBatches) {
        SCOPED_TRACE(c.args[0]);
        std::vector<std::string> json = c.args;
        json.insert(json.end(), {"--format", "json"});
        const std::vector<std::string> failed =
            Lines(cli.Jq(cli.Run(json, c.input).out, R"(if .error then "Error: " else "" end)"));
        const std::string out = cli.Run(c.args, c.input).out;
        std::vector<std::string> blocks;
        for (std::size_t at = 0, end; (end = out.find("\n\n", at)) != std::string::npos; at = end + 2) {
            blocks.push_back(out.substr(at, end - at));
        }
        ASSERT_EQ(blocks.size(), failed.size()) << out;
        EXPECT_TRUE(out.ends_with("\n\n") && !out.ends_with("\n\n\n"));
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_EQ(blocks[i].starts_with("Error: "), failed[i] != R"("")") << blocks[i];
        }
    }
}

// The texts the program echoes, an input line in a batch's error and a language file's words, with every
// character JSON must escape (a quote, a backslash, CR, TAB and the last control character) and UTF-8
// cut short after three bytes.
constexpr std::string_view kAwkward = "q\"b\\c\rt\tu\x1f\xF0\x9F\x98!";

TEST(CliJson, InvalidUtf8BecomesOneReplacementPerMaximalPart)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"a whole four-byte character stays \xF0\x9F\x98\x80", "a whole four-byte character stays \xF0\x9F\x98\x80"},
        {"\xF0\x9F\x98"
         "a",
         "\xEF\xBF\xBD"
         "a"},
        {"\xC0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xE0\x80\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"cut at the end \xE2\x82", "cut at the end \xEF\xBF\xBD"},
        {"\xFF\x7F\xC3\xA9", "\xEF\xBF\xBD\x7F\xC3\xA9"},
        {"eight plain bytes, then \"\\\x01", R"(eight plain bytes, then \"\\\u0001)"},
    };
    for (const auto& [text, json] : cases) {
        std::string out;
        StringSink sink{out};
        AppendJsonString(sink, text);
        EXPECT_EQ(out, "\"" + std::string(json) + "\"");
    }
}

TEST_F(CliOutputTest, JsonEscapesEveryEchoedText)
{
    cli.WriteLanguage("odd", "[Common]\nID_36=" + std::string(kAwkward) + "\n");
    const std::string escaped = R"(q\"b\\c\u000dt\u0009u\u001f)"
                                "\xEF\xBF\xBD!";
    const CliRun calc = cli.Run({"--format", "json", "calc", "-"}, "2004-01-01\n" + std::string(kAwkward) + "\n");
    EXPECT_NE(calc.out.find(R"({"line":2,"start":")" + escaped + R"(",)"), std::string::npos) << calc.out;
    const CliRun info = cli.Run({"--format", "json", "--language", "odd", "info", "2004-03-01", "--tz", "UTC0"});
    EXPECT_NE(info.out.find(R"("season":")" + escaped + "\""), std::string::npos) << info.out;
    // A JSON reader takes both whole and reads back what was escaped.
    EXPECT_EQ(cli.Jq(calc.out + info.out, R"(select(.line != 1) | .error // .season | .[0:14])"),
              "\"START 'q\\\"b\\\\c\\rt\"\n\"q\\\"b\\\\c\\rt\\tu\\u001f\xEF\xBF\xBD!\"\n");
}

TEST_F(CliOutputTest, TsvColumnsEscapeTabsLineEndsAndBackslashes)
{
    cli.WriteLanguage("odd", "[Common]\nID_36=" + std::string(kAwkward) + "\n");
    const CliRun run = cli.Run({"--format", "tsv", "--language", "odd", "info", "2004-03-01", "--tz", "UTC0"});
    // The season stays the ninth of the twenty-two columns, on one line.
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(std::ranges::count(lines[0], '\t'), 21);
    EXPECT_NE(lines[0].find("\t1\tq\"b\\\\c\\rt\\tu\x1f\xF0\x9F\x98!\t"), std::string::npos) << lines[0];
}

// --field and --template choose among the values JSON gives: in text one per line, in tsv as columns.
TEST_F(CliOutputTest, FieldsAndTemplatesGiveTheJsonValues)
{
    const std::vector<std::string> info = {"info", "2024-03-01", "--tz", "UTC0"};
    const auto run = [&](std::vector<std::string> extra) {
        extra.insert(extra.begin(), info.begin(), info.end());
        return cli.Run(extra).out;
    };
    const std::string whole = run({"--format", "json"});
    const std::string picked = R"jq("\(.isoWeek)\t\(.weekday)\t\(.line // "")")jq";
    EXPECT_EQ(cli.Jq(whole, picked), "\"9\\tFriday\\t\"\n");
    const std::vector<std::string> asked = {"--field", "isoWeek", "--field", "weekday", "--field", "line"};
    EXPECT_EQ(run(asked), "9\nFriday\n\n");
    std::vector<std::string> tsv = asked, json = asked;
    tsv.insert(tsv.end(), {"--format", "tsv", "--field", "error", "--header"});
    EXPECT_EQ(run(tsv), "isoWeek\tweekday\tline\terror\n9\tFriday\t\t\n");
    json.insert(json.end(), {"--format", "json"});
    EXPECT_EQ(cli.Jq(run(json), "keys_unsorted"), "[\"isoWeek\",\"weekday\",\"line\"]\n");
    EXPECT_EQ(cli.Jq(run(json), picked), cli.Jq(whole, picked));
    EXPECT_EQ(cli.Jq(whole, R"jq("\(.weekday) \(.dayOfYear)")jq"), "\"Friday 61\"\n");
    EXPECT_EQ(run({"--template", "%IWD% %IYD%"}), "Friday 61\n");
    const CliRun batch = cli.Run({"diff", "-", "2004-03-01", "--template", "%DTD%"}, "2004-01-01\nx\n2004-02-01\n");
    EXPECT_EQ(batch.out, "60\n\n29\n");
}

}   // namespace
