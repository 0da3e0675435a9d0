#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calculation.h"

enum class CliCommand { Diff, Calc, Info, Expand, Zones, Convert, Sun, Help, Version };
enum class OutputFormat { Text, Json, Tsv };

// One command line, read but not yet checked against the calendar: moments stay as typed.
struct CliOptions {
    CliCommand command = CliCommand::Help;
    // What follows the command: START FINAL, START, MOMENT, TEMPLATE or SEARCH; "-" reads lines from stdin.
    std::vector<std::string_view> operands;
    OutputFormat format = OutputFormat::Text;
    std::optional<std::string_view> language, zone;
    // diff: the zones of its two ends, each in place of --tz.
    std::optional<std::string_view> startZone, finalZone;
    // convert: the zones to show the moment in, in order.
    std::vector<std::string_view> toZones;
    // sun: the place (--at) as typed, in place of the zone's.
    std::optional<std::string_view> place;
    // --template: each answer is this text with its macros filled in.
    std::optional<std::string_view> answerTemplate;
    // --field, in the order given: each answer holds only these keys.
    std::vector<std::string_view> fields;
    // The pages' inputs of expand (each the moment "now" when not given; the Calculation start defaults
    // to the Difference start).
    std::optional<std::string_view> start, final, calcStart, info;
    // The Calculation page's counts, years to seconds; absent ones are 0.
    std::array<std::optional<std::int32_t>, kCountFieldCount> counts;
    bool dataOnly = false;
    bool crlf = false;
    bool astronomical = false;   // the real moon, as the Moon sub-page's Astronomical times
    bool header = false;         // tab-separated output starts with its column names
    bool elapsed = false;        // tab-separated differences get the real elapsed time too
    bool workingDays = false;    // differences count the working days between too
    // calc: the Days count, read as working days.
    std::optional<std::int32_t> workingDayCount;
    // The days off of the week (--weekend, kept as the working weekdays) and the holiday calendars
    // (--holidays), in place of the user's.
    std::optional<std::uint32_t> workingWeekdays;
    std::vector<std::string_view> holidayFiles;

    // The weeks count replaces the months count, as the page's Weeks choice does.
    bool WeeksChosen() const { return counts[kWeeks].has_value(); }
    // Whether an answer needs to know which days are working days.
    bool CountsWorkingDays() const { return workingDays || workingDayCount.has_value(); }
};

// Whether `args` ask for JSON, wherever they do: a command line that cannot be read still answers in JSON.
bool AsksForJson(std::span<const std::string_view> args);

// The command line after the program's name; empty with `problem` set to one line naming what is wrong.
std::optional<CliOptions> ParseCliOptions(std::span<const std::string_view> args, std::string& problem);

// --help's text.
extern const std::string_view kCliUsage;
