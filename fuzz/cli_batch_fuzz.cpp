// chronel-cli's batch input: any bytes on stdin are answered line by line without a crash, and every
// moment the parser accepts prints as ISO 8601 text that reads back as the same moment.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cli/cli.h"
#include "cli/langinfo_formatter.h"
#include "cli/moment_text.h"
#include "core/program_location.h"
#include "fakes/fake_clock.h"
#include "info/zone_source.h"

namespace {

class NoZone final : public ZoneSource {
public:
    std::optional<ZoneRules> CurrentZoneRules() const override { return std::nullopt; }
    std::optional<LocalElapsed> ElapsedBetween(const DateTime&, const DateTime&) const override { return std::nullopt; }
};

class NoLocation final : public ProgramLocation {
public:
    std::string ExecutablePath() const override { return {}; }
};

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static const FakeClock clock(SystemTime{2004, 3, 1, 1, 13, 5, 9, 0});
    const std::string_view firstLine = text.substr(0, text.find('\n'));
    if (const std::optional<Moment> moment = ParseMoment(firstLine, clock)) {
        const std::optional<Moment> again = ParseMoment(moment->Iso(), clock);
        Check(again && again->value == moment->value && again->Iso() == moment->Iso());
    }

    const int in = memfd_create("stdin", MFD_CLOEXEC);
    const int out = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (in < 0 || out < 0 || ::write(in, data, size) != static_cast<ssize_t>(size) || ::lseek(in, 0, SEEK_SET) != 0) {
        std::abort();
    }
    static const LangInfoFormatter formatter;
    static const NoZone zones;
    static const NoLocation location;
    const CliServices services{clock, formatter, location, zones, [](const std::string&) { return false; }};
    const std::string_view args[] = {"--format", "json", "diff", "-", "-"};
    const int status = RunCli(args, services, in, out, out);
    Check(status == kExitAnswered || status == kExitNoAnswer);
    ::close(in);
    ::close(out);
    return 0;
}
