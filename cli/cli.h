#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/locale_format.h"
#include "core/program_location.h"
#include "info/zone_model.h"

// What the command line needs of the machine: the real services in main, fakes in tests.
struct CliServices {
    const Clock& clock;
    const LocaleFormatter& formatter;
    const ProgramLocation& location;
    // A zone read whole: `zone` as --tz, --start-tz, --final-tz or --to names it, else the machine's (TZ,
    // else /etc/localtime). The clock stays the machine's: RunCli shows it on --tz's wall clocks. Empty,
    // with `problem` set to one line, when it names no zone.
    std::function<std::optional<ZoneModel>(std::optional<std::string_view> zone, std::string& problem)> loadZone;
};

inline constexpr int kExitAnswered = 0;
inline constexpr int kExitNoAnswer = 1;   // some result has no answer, or some input line was bad
inline constexpr int kExitBadUse = 2;     // the command line, the template or the language file cannot be used

// Runs one command line (the arguments after the program's name), reading lines from `in` where a moment
// is "-" (`in` is -1 when stdin is closed) and writing answers to `out` and one line per problem to `err`.
// Returns the exit status.
int RunCli(std::span<const std::string_view> args, const CliServices& services, int in, int out, int err);
