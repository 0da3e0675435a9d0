#pragma once

#include <span>
#include <string_view>

#include "cli/cli_options.h"

// One key of a command's answers, as JSON names it and tab-separated output heads its column.
struct AnswerKey {
    std::string_view name;
    bool column;   // a column of tab-separated output when no --field chooses: the counts of calc repeat the
                   // command line, and the elapsed time comes only with --elapsed
    // The option without which an answer has no such key at all; null for a key every answer has.
    bool CliOptions::*needs = nullptr;

    bool AskedFor(const CliOptions& options) const { return needs == nullptr || options.*needs; }
};

inline constexpr AnswerKey kDiffKeys[] = {
    {"start", true},           {"final", true},        {"years", true},
    {"months", true},          {"days", true},         {"hours", true},
    {"minutes", true},         {"seconds", true},      {"weeks", true},
    {"weekDays", true},        {"totalYears", true},   {"totalMonths", true},
    {"totalWeeks", true},      {"totalDays", true},    {"totalHours", true},
    {"totalMinutes", true},    {"totalSeconds", true}, {"workingDays", true, &CliOptions::workingDays},
    {"elapsedSeconds", false},
};
inline constexpr AnswerKey kCalcKeys[] = {
    {"start", true},  {"years", false},   {"months", false},  {"weeks", false}, {"days", false},
    {"hours", false}, {"minutes", false}, {"seconds", false}, {"before", true}, {"after", true},
};
inline constexpr AnswerKey kInfoKeys[] = {
    {"moment", true},       {"weekday", true},
    {"leapYear", true},     {"dayOfYear", true},
    {"week", true},         {"isoWeek", true},
    {"isoWeekYear", true},  {"quarter", true},
    {"season", true},       {"zone", true},
    {"dstBegins", true},    {"dstEnds", true},
    {"nextDstBegin", true}, {"nextDstEnd", true},
    {"moonPhase", true},    {"previousFullMoon", true},
    {"nextFullMoon", true}, {"previousNewMoon", true},
    {"nextNewMoon", true},  {"sign", true},
    {"yearAnimal", true},
};
inline constexpr AnswerKey kZonesKeys[] = {
    {"zone", true},     {"country", true},   {"countryCode", true},   {"city", true},
    {"latitude", true}, {"longitude", true}, {"offsetSeconds", true}, {"abbreviation", true},
};
// convert: a row of tab-separated output per zone; JSON nests these in "zones".
inline constexpr AnswerKey kConvertKeys[] = {
    {"zone", true}, {"wallTime", true}, {"offsetSeconds", true}, {"abbreviation", true}, {"daylight", true},
};
// sun: the local day's times as wall times (null when they do not happen, "notes" saying why).
inline constexpr AnswerKey kSunKeys[] = {
    {"sunrise", true},          {"sunset", true},       {"solarNoon", true},        {"civilDawn", true},
    {"civilDusk", true},        {"nauticalDawn", true}, {"nauticalDusk", true},     {"astronomicalDawn", true},
    {"astronomicalDusk", true}, {"notes", true},        {"dayLengthSeconds", true}, {"altitude", true},
    {"azimuth", true},
};
// Every answer of a batch says which input line it answers, and every answer whether it failed.
inline constexpr std::string_view kLineKey = "line", kErrorKey = "error", kTextKey = "text";

// The keys of the answers of `command`, without "line" and "error"; empty for a command without them.
inline std::span<const AnswerKey> AnswerKeys(CliCommand command)
{
    switch (command) {
    case CliCommand::Diff:
        return kDiffKeys;
    case CliCommand::Calc:
        return kCalcKeys;
    case CliCommand::Info:
        return kInfoKeys;
    case CliCommand::Zones:
        return kZonesKeys;
    case CliCommand::Convert:
        return kConvertKeys;
    case CliCommand::Sun:
        return kSunKeys;
    default:
        return {};
    }
}
