#include "cli/cli.h"

#include <optional>
#include <string>

#include "cli/answer_line.h"
#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_session.h"
#include "cli/language_file.h"
#include "cli/stream_io.h"
#include "info/zone_clock.h"

int RunCli(std::span<const std::string_view> args, const CliServices& services, int in, int out, int err)
{
    std::string problem;
    const std::optional<CliOptions> options = ParseCliOptions(args, problem);
    if (options && (options->command == CliCommand::Help || options->command == CliCommand::Version)) {
        const bool help = options->command == CliCommand::Help;
        const std::string answer = !AsksForJson(args)
                                       ? std::string(help ? kCliUsage : "chronel-cli " CHRONEL_VERSION "\n")
                                   : help ? OneValueJson("text", kCliUsage)
                                          : OneValueJson("version", CHRONEL_VERSION);
        if (WriteAll(out, answer)) {
            return kExitAnswered;
        }
        WriteAll(err, help ? "chronel-cli: the help could not be written\n"
                           : "chronel-cli: the version could not be written\n");
        return kExitNoAnswer;
    }
    std::optional<LanguageFile> language;
    if (options) {
        language =
            options->language ? LanguageFile::Find(*options->language, services.location, problem) : LanguageFile();
    }
    std::optional<ZoneModel> zone;
    if (options && language) {
        zone = services.loadZone(options->zone, problem);
    }
    if (!zone) {
        WriteAll(err, "chronel-cli: " + problem + "\n");
        if (AsksForJson(args)) {
            WriteAll(out, RefusalJson(problem));
        }
        return kExitBadUse;
    }
    // A zone named on the command line is every answer's; the computer's zone is the clock's own.
    const std::optional<ZoneClock> zoneClock =
        options->zone ? std::optional<ZoneClock>(std::in_place, services.clock, *zone) : std::nullopt;
    const CliServices zoned{zoneClock ? *zoneClock : services.clock, services.formatter, services.location,
                            services.loadZone};
    CliSession session(*options, zoned, *language, *zone, in, out, err);
    return RunCommand(session);
}
