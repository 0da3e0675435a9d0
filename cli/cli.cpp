#include "cli/cli.h"

#include <optional>
#include <string>

#include "cli/answer_line.h"
#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_session.h"
#include "cli/language_file.h"
#include "cli/stream_io.h"
#include "core/civil.h"

namespace {

// The base clock's instants on the wall clocks of the --tz zone: "now", "today" and the real moon answer
// for that zone without the process's TZ being changed.
class ZoneShownClock final : public Clock {
public:
    ZoneShownClock(const Clock& base, const ZoneModel& zone) : m_base(base), m_zone(zone) {}

    SystemTime Now() const override
    {
        const std::optional<std::int64_t> now = m_base.UnixTimeAt(m_base.Now());
        const std::optional<SystemTime> shown = now ? LocalTimeAt(*now) : std::nullopt;
        return shown ? *shown : m_base.Now();
    }
    std::optional<SystemTime> LocalTimeAt(std::int64_t unixSeconds) const override
    {
        const std::int64_t wall = unixSeconds + m_zone.At(unixSeconds).offsetSeconds;
        const std::int64_t days = civil::FloorDiv(wall, civil::kSecondsPerDay);
        const civil::YearMonthDay date = civil::CivilFromDays(days);
        if (date.year < 1 || date.year > 9999) {
            return std::nullopt;
        }
        const std::int64_t second = wall - days * civil::kSecondsPerDay;
        const auto field = [](std::int64_t value) { return static_cast<std::uint16_t>(value); };
        return SystemTime{field(date.year),
                          field(date.month),
                          field(civil::WeekdayFromDays(days)),
                          field(date.day),
                          field(second / 3600),
                          field(second / 60 % 60),
                          field(second % 60),
                          0};
    }
    std::optional<std::int64_t> UnixTimeAt(const SystemTime& local) const override
    {
        const std::int64_t days = civil::DaysFromCivil(local.year, local.month, local.day);
        return m_zone.InstantOf(days * civil::kSecondsPerDay + local.hour * 3600 + local.minute * 60 + local.second);
    }

private:
    const Clock& m_base;
    const ZoneModel& m_zone;
};

}   // namespace

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
    const std::optional<ZoneShownClock> zoneClock =
        options->zone ? std::optional<ZoneShownClock>(std::in_place, services.clock, *zone) : std::nullopt;
    const CliServices zoned{zoneClock ? *zoneClock : services.clock, services.formatter, services.location,
                            services.loadZone};
    CliSession session(*options, zoned, *language, *zone, in, out, err);
    return RunCommand(session);
}
