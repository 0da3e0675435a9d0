#include "cli/cli_options.h"

#include <charconv>
#include <limits>

#include "cli/moment_text.h"

namespace {

// The option names of the counts, in the order of the page's count fields.
constexpr std::array<std::string_view, kCountFieldCount> kCountOptions = {"--years", "--months",  "--weeks",  "--days",
                                                                          "--hours", "--minutes", "--seconds"};

struct CommandName {
    std::string_view name;
    CliCommand command;
    std::size_t fewestOperands, mostOperands;
};
constexpr CommandName kCommands[] = {
    {"diff", CliCommand::Diff, 2, 2},
    {"calc", CliCommand::Calc, 1, 1},
    {"info", CliCommand::Info, 0, 1},
    {"expand", CliCommand::Expand, 1, 1},
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

// Whether the command takes the option at all.
bool Takes(CliCommand command, std::string_view option)
{
    if (option == "--tz") {
        return command == CliCommand::Info || command == CliCommand::Expand;
    }
    if (option == "--start" || option == "--final" || option == "--calc-start" || option == "--info") {
        return command == CliCommand::Expand;
    }
    for (const std::string_view count : kCountOptions) {
        if (option == count) {
            return command == CliCommand::Calc || command == CliCommand::Expand;
        }
    }
    return true;
}

}   // namespace

std::optional<CliOptions> ParseCliOptions(std::span<const std::string_view> args, std::string& problem)
{
    CliOptions options;
    std::optional<CliCommand> command;
    std::vector<std::string_view> seen;   // options with a value, to tell where one was given twice
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.command = CliCommand::Help;
            return options;
        }
        if (arg == "--version") {
            options.command = CliCommand::Version;
            return options;
        }
        if (!arg.starts_with("--")) {
            if (arg.starts_with('-') && arg != "-") {
                problem = "unknown option '" + std::string(arg) + "' (see --help)";
                return std::nullopt;
            }
            if (!command) {
                for (const CommandName& known : kCommands) {
                    command = arg == known.name ? std::optional(known.command) : command;
                }
                if (!command) {
                    problem = "unknown command '" + std::string(arg) + "': use diff, calc, info or expand";
                    return std::nullopt;
                }
            } else {
                options.operands.push_back(arg);
            }
            continue;
        }
        if (arg == "--data-only" || arg == "--crlf" || arg == "--astronomical") {
            (arg == "--data-only" ? options.dataOnly : arg == "--crlf" ? options.crlf : options.astronomical) = true;
            continue;
        }
        // Every other option takes a value: "--days 3" or "--days=3".
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        std::string_view value;
        if (equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            problem = std::string(name) + " needs a value (see --help)";
            return std::nullopt;
        }
        for (const std::string_view earlier : seen) {
            if (earlier == name) {
                problem = std::string(name) + " is given twice";
                return std::nullopt;
            }
        }
        seen.push_back(name);
        std::optional<std::string_view>* text = name == "--language"     ? &options.language
                                                : name == "--tz"         ? &options.zone
                                                : name == "--start"      ? &options.start
                                                : name == "--final"      ? &options.final
                                                : name == "--calc-start" ? &options.calcStart
                                                : name == "--info"       ? &options.info
                                                                         : nullptr;
        if (text != nullptr) {
            *text = value;
            continue;
        }
        if (name == "--format") {
            if (value != "text" && value != "json" && value != "tsv") {
                problem = "--format '" + std::string(value) + "' is not one of text, json, tsv";
                return std::nullopt;
            }
            options.format = value == "json"  ? OutputFormat::Json
                             : value == "tsv" ? OutputFormat::Tsv
                                              : OutputFormat::Text;
            continue;
        }
        bool count = false;
        for (std::size_t c = 0; c < kCountFieldCount; ++c) {
            if (name == kCountOptions[c]) {
                options.counts[c] = ReadCountOption(name, value, problem);
                if (!options.counts[c]) {
                    return std::nullopt;
                }
                count = true;
            }
        }
        if (!count) {
            problem = "unknown option '" + std::string(name) + "' (see --help)";
            return std::nullopt;
        }
    }
    if (!command) {
        problem = "no command: use diff, calc, info or expand (see --help)";
        return std::nullopt;
    }
    options.command = *command;
    const CommandName& known = kCommands[static_cast<std::size_t>(*command)];
    for (const std::string_view name : seen) {
        if (!Takes(*command, name)) {
            problem = std::string(known.name) + " does not take " + std::string(name);
            return std::nullopt;
        }
    }
    if (options.counts[kMonths] && options.counts[kWeeks]) {
        problem = "--months and --weeks exclude each other: the page counts either months or weeks";
        return std::nullopt;
    }
    if (options.operands.size() < known.fewestOperands || options.operands.size() > known.mostOperands) {
        static constexpr std::string_view kForms[] = {"diff START FINAL", "calc START [counts]", "info [MOMENT]",
                                                      "expand TEMPLATE"};
        problem = "use " + std::string(kForms[static_cast<std::size_t>(*command)]) + " (see --help)";
        return std::nullopt;
    }
    return options;
}

const std::string_view kCliUsage = R"(Usage: chronel-cli [OPTIONS] COMMAND ...
Chronel's answers on the command line.

  diff START FINAL      how far apart two moments are, as the Difference page tells it
  calc START [--years N] [--months N | --weeks N] [--days N] [--hours N]
                        [--minutes N] [--seconds N]
                        the moments that span before and after START (Calculation)
  info [MOMENT] [--tz ZONE]
                        what the calendar says about MOMENT (default now): Time Info
  expand TEMPLATE [--start M] [--final M] [--calc-start M] [counts] [--info M]
                 [--tz ZONE]
                        the template with its macros replaced by the pages' values

A moment is YYYY-MM-DD, YYYY-MM-DDTHH:MM:SS (or a blank for the T), now or today.
Where a moment is -, lines are read from stdin and each gets its answer: diff - -
reads START<TAB>FINAL per line.

Options:
  --format text|json|tsv  labelled lines (default), one JSON object, or tab-separated
  --language NAME         the texts of NAME.lng, found as Chronel finds it
  --data-only             text lines without their labels (Use Data Only)
  --crlf                  end lines with CR LF (Add CR/LF)
  --astronomical          info and expand: the real moon's times and lit disc
                          (Astronomical times), not the mean lunation
  --tz ZONE               a zone name (Europe/Berlin) or a TZ string (default: TZ or
                          /etc/localtime)
  --help, --version

Exit status: 0 answered, 1 some result has no answer, some input line was bad or an
expansion was cut at 16 MiB, 2 the command line, stdin, the template or the language
file cannot be used.
See chronel-cli(1).
)";
