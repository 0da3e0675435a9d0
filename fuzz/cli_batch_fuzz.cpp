// chronel-cli's batch input: any bytes on stdin are answered line by line without a crash, and every
// moment the parser accepts prints as ISO 8601 text that reads back as the same moment.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cli/cli.h"
#include "cli/langinfo_formatter.h"
#include "cli/moment_text.h"
#include "core/program_location.h"
#include "fakes/fake_clock.h"
#include "info/zone_model.h"

namespace {

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
    std::string problem;
    if (const std::optional<MomentText> moment = ReadMomentText(firstLine, clock, problem); moment && moment->wall) {
        const std::optional<MomentText> again = ReadMomentText(moment->wall->Iso(), clock, problem);
        Check(again && again->wall && again->wall->value == moment->wall->value &&
              again->wall->Iso() == moment->wall->Iso());
    }

    const int in = memfd_create("stdin", MFD_CLOEXEC);
    const int out = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (in < 0 || out < 0 || ::write(in, data, size) != static_cast<ssize_t>(size) || ::lseek(in, 0, SEEK_SET) != 0) {
        std::abort();
    }
    static const LangInfoFormatter formatter;
    static const NoLocation location;
    // A zone with daylight saving, so that every line's elapsed time is worked out.
    const CliServices services{clock, formatter, location, [](std::optional<std::string_view>, std::string&) {
                                   return ZoneModel::FromTzString("CET-1CEST,M3.5.0,M10.5.0/3");
                               }};
    const std::string_view args[] = {"--format", "json", "diff", "-", "-"};
    const int status = RunCli(args, services, in, out, out);
    Check(status == kExitAnswered || status == kExitNoAnswer);
    ::close(in);
    ::close(out);
    return 0;
}
