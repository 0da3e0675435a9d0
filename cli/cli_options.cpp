#include "cli/cli_options.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <limits>

#include "cli/answer_keys.h"
#include "cli/moment_text.h"
#include "cli/working_week.h"

namespace {

struct CommandName {
    std::string_view name;
    CliCommand command;
    std::size_t fewestOperands, mostOperands;
    std::string_view form;   // how its operands are given, for the message when they are not
};
constexpr CommandName kCommands[] = {
    {"diff", CliCommand::Diff, 2, 2, "diff START FINAL"},
    {"calc", CliCommand::Calc, 1, 1, "calc START [counts]"},
    {"info", CliCommand::Info, 0, 1, "info [MOMENT]"},
    {"expand", CliCommand::Expand, 1, 1, "expand TEMPLATE"},
    {"zones", CliCommand::Zones, 0, 1, "zones [SEARCH]"},
    {"convert", CliCommand::Convert, 1, 1, "convert MOMENT --to ZONE [--to ZONE ...]"},
    {"sun", CliCommand::Sun, 1, 1, "sun MOMENT [--tz ZONE] [--at LAT,LON]"},
};

// What a count option takes, and the page's bounds: a larger count is clamped there, a smaller one saturates.
std::optional<std::int32_t> ReadCountOption(std::string_view option, std::string_view text, std::string& problem)
{
    const std::string_view signed_ = text.starts_with('+') ? text.substr(1) : text;
    const std::string_view digits =
        signed_.starts_with('-') && signed_.size() == text.size() ? text.substr(1) : signed_;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        problem = std::string(option) + " '" + std::string(text) + "' is not a whole number";
        return std::nullopt;
    }
    constexpr std::int64_t kSmallest = std::numeric_limits<std::int32_t>::min();
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(signed_.data(), signed_.data() + signed_.size(), value);
    if (error != std::errc() || value > kLargestCount || value < kSmallest) {
        problem = std::string(option) + " " + std::string(text) + " is past the page's limits, " +
                  std::to_string(kSmallest) + " to " + std::to_string(kLargestCount);
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

// Sets what an option says in `options`; false, with `problem` set, when its value cannot be used.
using SetOption = bool (*)(CliOptions& options, std::string_view name, std::string_view value, std::string& problem);

template <CliCommand kCommand>
bool SetCommand(CliOptions& options, std::string_view, std::string_view, std::string&)
{
    options.command = kCommand;
    return true;
}

template <bool CliOptions::*kFlag>
bool SetFlag(CliOptions& options, std::string_view, std::string_view, std::string&)
{
    options.*kFlag = true;
    return true;
}

template <std::optional<std::string_view> CliOptions::*kText>
bool SetText(CliOptions& options, std::string_view, std::string_view value, std::string&)
{
    options.*kText = value;
    return true;
}

template <std::size_t kCount>
bool SetCount(CliOptions& options, std::string_view name, std::string_view value, std::string& problem)
{
    options.counts[kCount] = ReadCountOption(name, value, problem);
    return options.counts[kCount].has_value();
}

bool SetWorkingDayCount(CliOptions& options, std::string_view name, std::string_view value, std::string& problem)
{
    options.workingDayCount = ReadCountOption(name, value, problem);
    return options.workingDayCount.has_value();
}

bool SetWeekend(CliOptions& options, std::string_view, std::string_view value, std::string& problem)
{
    options.workingWeekdays = ReadWeekend(value, problem);
    return options.workingWeekdays.has_value();
}

bool AddField(CliOptions& options, std::string_view, std::string_view value, std::string&)
{
    options.fields.push_back(value);
    return true;
}

bool AddToZone(CliOptions& options, std::string_view, std::string_view value, std::string&)
{
    options.toZones.push_back(value);
    return true;
}

bool AddHolidayFile(CliOptions& options, std::string_view, std::string_view value, std::string&)
{
    options.holidayFiles.push_back(value);
    return true;
}

bool SetFormat(CliOptions& options, std::string_view, std::string_view value, std::string& problem)
{
    if (value != "text" && value != "json" && value != "tsv") {
        problem = "--format '" + std::string(value) + "' is not one of text, json, tsv";
        return false;
    }
    options.format = value == "json" ? OutputFormat::Json : value == "tsv" ? OutputFormat::Tsv : OutputFormat::Text;
    return true;
}

enum class OptionForm {
    Flag,    // alone: "--crlf"
    Value,   // "--days 3" or "--days=3"
    Whole,   // the whole answer (--help): the rest of the command line is not read
};

constexpr unsigned Only(std::initializer_list<CliCommand> commands)
{
    unsigned bits = 0;
    for (const CliCommand command : commands) {
        bits |= 1u << static_cast<unsigned>(command);
    }
    return bits;
}
constexpr unsigned kAnyCommand = ~0u;

struct OptionRow {
    std::string_view name, alias;   // alias: a second spelling, or empty
    OptionForm form;
    unsigned commands;   // the commands that take it, one bit per CliCommand
    SetOption set;
};
constexpr unsigned kCountTakers = Only({CliCommand::Calc, CliCommand::Expand});
constexpr unsigned kAnswerers =
    Only({CliCommand::Diff, CliCommand::Calc, CliCommand::Info, CliCommand::Zones, CliCommand::Sun});
constexpr unsigned kWorkingDayTakers = Only({CliCommand::Diff, CliCommand::Calc});
constexpr OptionRow kOptions[] = {
    {"--help", "-h", OptionForm::Whole, kAnyCommand, SetCommand<CliCommand::Help>},
    {"--version", {}, OptionForm::Whole, kAnyCommand, SetCommand<CliCommand::Version>},
    {"--data-only", {}, OptionForm::Flag, kAnyCommand, SetFlag<&CliOptions::dataOnly>},
    {"--crlf", {}, OptionForm::Flag, kAnyCommand, SetFlag<&CliOptions::crlf>},
    {"--astronomical",
     {},
     OptionForm::Flag,
     Only({CliCommand::Info, CliCommand::Expand}),
     SetFlag<&CliOptions::astronomical>},
    {"--header", {}, OptionForm::Flag, kAnswerers | Only({CliCommand::Convert}), SetFlag<&CliOptions::header>},
    {"--elapsed", {}, OptionForm::Flag, Only({CliCommand::Diff}), SetFlag<&CliOptions::elapsed>},
    // A flag for diff, a count for calc: which one the command decides.
    {"--working-days", {}, OptionForm::Flag, Only({CliCommand::Diff}), SetFlag<&CliOptions::workingDays>},
    {"--working-days", {}, OptionForm::Value, Only({CliCommand::Calc}), SetWorkingDayCount},
    {"--weekend", {}, OptionForm::Value, kWorkingDayTakers, SetWeekend},
    {"--holidays", {}, OptionForm::Value, kWorkingDayTakers, AddHolidayFile},
    {"--format", {}, OptionForm::Value, kAnyCommand, SetFormat},
    {"--language", {}, OptionForm::Value, kAnyCommand, SetText<&CliOptions::language>},
    {"--tz", {}, OptionForm::Value, kAnyCommand, SetText<&CliOptions::zone>},
    {"--start-tz", {}, OptionForm::Value, Only({CliCommand::Diff}), SetText<&CliOptions::startZone>},
    {"--final-tz", {}, OptionForm::Value, Only({CliCommand::Diff}), SetText<&CliOptions::finalZone>},
    {"--to", {}, OptionForm::Value, Only({CliCommand::Convert}), AddToZone},
    {"--at", {}, OptionForm::Value, Only({CliCommand::Sun}), SetText<&CliOptions::place>},
    {"--field", {}, OptionForm::Value, kAnswerers, AddField},
    {"--template",
     {},
     OptionForm::Value,
     kAnswerers & ~Only({CliCommand::Zones, CliCommand::Sun}),
     SetText<&CliOptions::answerTemplate>},
    {"--start", {}, OptionForm::Value, Only({CliCommand::Expand}), SetText<&CliOptions::start>},
    {"--final", {}, OptionForm::Value, Only({CliCommand::Expand}), SetText<&CliOptions::final>},
    {"--calc-start", {}, OptionForm::Value, Only({CliCommand::Expand}), SetText<&CliOptions::calcStart>},
    {"--info", {}, OptionForm::Value, Only({CliCommand::Expand}), SetText<&CliOptions::info>},
    {"--years", {}, OptionForm::Value, kCountTakers, SetCount<kYears>},
    {"--months", {}, OptionForm::Value, kCountTakers, SetCount<kMonths>},
    {"--weeks", {}, OptionForm::Value, kCountTakers, SetCount<kWeeks>},
    {"--days", {}, OptionForm::Value, kCountTakers, SetCount<kDays>},
    {"--hours", {}, OptionForm::Value, kCountTakers, SetCount<kHours>},
    {"--minutes", {}, OptionForm::Value, kCountTakers, SetCount<kMinutes>},
    {"--seconds", {}, OptionForm::Value, kCountTakers, SetCount<kSeconds>},
};

// The row spelled `name` among those of the forms wanted; null when there is none, and for a flag also when
// the same name takes a value for `command`.
const OptionRow* FindOption(std::string_view name, bool valued, std::optional<CliCommand> command = {})
{
    const OptionRow* found = nullptr;
    bool valueFits = false;
    for (const OptionRow& row : kOptions) {
        if (name != row.name && (row.alias.empty() || name != row.alias)) {
            continue;
        }
        if ((row.form == OptionForm::Value) == valued) {
            found = &row;
        } else if (!valued && command && (row.commands & Only({*command})) != 0) {
            valueFits = true;
        }
    }
    return valueFits ? nullptr : found;
}

// The command named on the command line, looked for before its options are read: whether an option takes
// a value may depend on it. The values of options that always take one are skipped.
std::optional<CliCommand> CommandAhead(std::span<const std::string_view> args)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        for (const CommandName& known : kCommands) {
            if (args[i] == known.name) {
                return known.command;
            }
        }
        if (FindOption(args[i], false) == nullptr && FindOption(args[i], true) != nullptr) {
            ++i;
        }
    }
    return std::nullopt;
}

// A word that is no option: the command, or one of its operands.
bool ReadWord(std::string_view arg, std::optional<CliCommand>& command, CliOptions& options, std::string& problem)
{
    if (arg.starts_with('-') && arg != "-") {
        problem = "unknown option " + std::string(arg) + " (see --help)";
        return false;
    }
    if (command) {
        options.operands.push_back(arg);
        return true;
    }
    for (const CommandName& known : kCommands) {
        command = arg == known.name ? std::optional(known.command) : command;
    }
    if (!command) {
        problem = "unknown command '" + std::string(arg) + "': use diff, calc, info, expand, zones, convert or sun";
    }
    return command.has_value();
}

// Why options that each fit the command do not fit together; empty when they do.
std::string_view RefusedCombination(const CliOptions& options)
{
    if (options.dataOnly && options.format == OutputFormat::Json) {
        return "--data-only is for text: JSON always names its values";
    }
    if (options.header && options.format != OutputFormat::Tsv) {
        return "--header is for --format tsv: text and JSON name their values";
    }
    if (options.elapsed && options.format == OutputFormat::Text) {
        return "--elapsed is for --format tsv: text shows the elapsed time and JSON always has it";
    }
    if (!options.fields.empty() && options.answerTemplate) {
        return "--field and --template exclude each other: a template chooses what each answer shows";
    }
    if (options.workingDayCount && options.counts[kDays]) {
        return "--working-days and --days exclude each other: the Days count is either working or calendar days";
    }
    if (options.command == CliCommand::Convert && options.toZones.empty()) {
        return "convert needs --to ZONE: the zone to show the moment in (repeat it for more)";
    }
    if ((options.workingWeekdays || !options.holidayFiles.empty()) && !options.CountsWorkingDays()) {
        return "--weekend and --holidays are for --working-days: they say which days are working days";
    }
    return {};
}

// Whether the command takes everything given: each option, and as many operands as it needs.
bool CheckCommand(const CliOptions& options, std::span<const OptionRow* const> given, std::string& problem)
{
    const CommandName& known = kCommands[static_cast<std::size_t>(options.command)];
    for (const OptionRow* row : given) {
        if ((row->commands & Only({options.command})) == 0) {
            problem = std::string(known.name) + " does not take " + std::string(row->name);
            return false;
        }
    }
    if (const std::string_view refused = RefusedCombination(options); !refused.empty()) {
        problem = refused;
        return false;
    }
    const std::span<const AnswerKey> keys = AnswerKeys(options.command);
    for (const std::string_view field : options.fields) {
        const auto found = std::ranges::find(keys, field, &AnswerKey::name);
        if (field != kLineKey && field != kErrorKey && (found == keys.end() || !found->AskedFor(options))) {
            problem = "unknown field '" + std::string(field) + "': " + std::string(known.name) + " gives line";
            for (const AnswerKey& key : keys) {
                problem += key.AskedFor(options) ? ", " + std::string(key.name) : std::string();
            }
            problem += " and error";
            return false;
        }
    }
    if (options.counts[kMonths] && options.counts[kWeeks]) {
        problem = "--months and --weeks exclude each other: the page counts either months or weeks";
        return false;
    }
    if (options.operands.size() < known.fewestOperands || options.operands.size() > known.mostOperands) {
        problem = "use " + std::string(known.form) + " (see --help)";
        return false;
    }
    return true;
}

// Adds `row` to the options given; false, with `problem` set, when it is there already and may be given once.
bool Given(std::vector<const OptionRow*>& given, const OptionRow* row, std::string& problem)
{
    if (row->set != AddField && row->set != AddHolidayFile && row->set != AddToZone &&
        std::ranges::find(given, row) != given.end()) {
        problem = std::string(row->name) + " is given twice";
        return false;
    }
    given.push_back(row);
    return true;
}

}   // namespace

bool AsksForJson(std::span<const std::string_view> args)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--format=json" || (args[i] == "--format" && i + 1 < args.size() && args[i + 1] == "json")) {
            return true;
        }
    }
    return false;
}

std::optional<CliOptions> ParseCliOptions(std::span<const std::string_view> args, std::string& problem)
{
    CliOptions options;
    std::optional<CliCommand> command;
    std::vector<const OptionRow*> given;   // to tell where one was given twice
    const std::optional<CliCommand> ahead = CommandAhead(args);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (const OptionRow* row = FindOption(arg, false, ahead)) {
            row->set(options, arg, {}, problem);
            if (row->form == OptionForm::Whole) {
                return options;
            }
            if (!Given(given, row, problem)) {
                return std::nullopt;
            }
            continue;
        }
        if (!arg.starts_with("--")) {
            if (!ReadWord(arg, command, options, problem)) {
                return std::nullopt;
            }
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        const OptionRow* row = FindOption(name, true);
        if (row == nullptr) {
            problem = "unknown option " + std::string(name) + " (see --help)";
            return std::nullopt;
        }
        if (equals == std::string_view::npos && i + 1 == args.size()) {
            problem = std::string(name) + " needs a value (see --help)";
            return std::nullopt;
        }
        const std::string_view value = equals != std::string_view::npos ? arg.substr(equals + 1) : args[++i];
        if (!Given(given, row, problem) || !row->set(options, name, value, problem)) {
            return std::nullopt;
        }
    }
    if (!command) {
        problem = "no command: use diff, calc, info, expand, zones, convert or sun (see --help)";
        return std::nullopt;
    }
    options.command = *command;
    return CheckCommand(options, given, problem) ? std::optional(options) : std::nullopt;
}

const std::string_view kCliUsage = R"(Usage: chronel-cli [OPTIONS] COMMAND ...
Chronel's answers on the command line.

  diff START FINAL [--tz ZONE] [--start-tz ZONE] [--final-tz ZONE] [--elapsed]
                 [--working-days]
                        how far apart two moments are, as the Difference page tells it
  calc START [--years N] [--months N | --weeks N] [--days N | --working-days N]
                        [--hours N] [--minutes N] [--seconds N] [--tz ZONE]
                        the moments that span before and after START (Calculation)
  info [MOMENT] [--tz ZONE]
                        what the calendar says about MOMENT (default now): Time Info
  expand TEMPLATE [--start M] [--final M] [--calc-start M] [counts] [--info M]
                 [--tz ZONE]
                        the template (- reads it from stdin) with its macros replaced
                        by the pages' values
  zones [SEARCH]        the zones of the tz database's zone.tab with country, city,
                        coordinates, offset and abbreviation now: "syd", "new y", "Japan"
  convert MOMENT [--tz FROM] --to ZONE [--to ZONE ...]
                        MOMENT (a wall time in FROM, default the computer's zone) on
                        the clocks of FROM and of each ZONE
  sun MOMENT [--tz ZONE] [--at LAT,LON]
                        sunrise, sunset, solar noon, twilights and day length of
                        MOMENT's day in ZONE, and the sun's altitude and azimuth at
                        MOMENT, seen from LAT,LON (default: the zone's zone.tab place)

A moment is YYYY-MM-DD, YYYY-MM-DDTHH:MM[:SS] (or a blank for the T), the same with
Z or +HH:MM (an instant, shown in the zone), @SECONDS (Unix time), now or today.
Where a moment is -, lines are read from stdin and each gets its answer: diff - -
reads START<TAB>FINAL per line. In a text batch every answer and every error is
followed by an empty line; JSON gives one object per line, each with the same keys:
"line" (the input line, null without stdin), the answer's, then "error" (null when
answered). Tab-separated rows all have the same columns, "error" last.

Options:
  --format text|json|tsv  labelled lines (default), JSON objects, or tab-separated
                          values (\, TAB, CR and LF in a value written \\, \t, \r, \n)
  --header                tsv: first a line of the column names (the JSON keys)
  --field NAME            only the value NAME (a JSON key) of each answer, one per line
                          in text; repeat it for more, in the order wanted
  --template TEXT         each answer of diff, calc or info as TEXT with its macros
                          filled in (%IIW% and the others of the templates)
  --elapsed               diff, tsv: an elapsedSeconds column, the real seconds between
                          when a daylight-saving change lies between (else empty)
  --working-days          diff: the working days between too (workingDays, not counting
                          the final day); calc: --working-days N steps N working days
                          where --days steps days
  --weekend LIST          with --working-days: the days off, as sat,sun, saturday or 6,7
                          (Monday = 1); default: Chronel's Options, else sat,sun
  --holidays FILE         with --working-days: an iCalendar file of holidays (repeatable)
  --language NAME         the texts of NAME.lng, found as Chronel finds it
  --data-only             text lines without their labels (Use Data Only)
  --crlf                  end lines with CR LF (Add CR/LF)
  --astronomical          info and expand: the real moon's times and lit disc
                          (Astronomical times), not the mean lunation
  --tz ZONE               a zone of tzdata.zi (Europe/Berlin) or a TZ string (default:
                          TZ or /etc/localtime)
  --start-tz ZONE, --final-tz ZONE
                          diff: the zone of START or of FINAL, in place of --tz; the
                          elapsedSeconds are then always given: the real time between
  --to ZONE               convert: a zone to show the moment in (repeatable)
  --at LAT,LON            sun: the place, in degrees north and east (59.91,10.75,
                          -33.87 151.21, 59°54'N 10°45'E); a decimal comma is refused
  --help, --version

An option may be given once; --field, --holidays and --to as often as wanted. With --format json every
problem, the command line's too, is also written to stdout as
{"error":"...","exitStatus":2}.

Exit status: 0 answered, 1 some result has no answer, some input line was bad or an
expansion was cut at 16 MiB, 2 the command line, stdin, the template or the language
file cannot be used.
Example: a flight leaves Berlin at 10:05 and lands in New York at 13:30 (9 h 25 min):
  chronel-cli diff 2026-06-01T10:05 2026-06-01T13:30 --start-tz Europe/Berlin \
              --final-tz America/New_York
See chronel-cli(1).
)";
