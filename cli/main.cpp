#include <fcntl.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "cli/langinfo_formatter.h"
#include "core/write_all.h"
#include "platform/proc_program_location.h"
#include "platform/system_clock.h"
#include "platform/tz_file_check.h"
#include "platform/zone_catalog.h"

namespace {

// Whether descriptor `fd` was closed; it is then given /dev/null, read-only, so that no file opened later
// takes its place (a template opened as 1 would receive the answers) and writes to it fail as they should.
bool ReopenIfClosed(int fd)
{
    if (::fcntl(fd, F_GETFD) != -1) {
        return false;
    }
    const int opened = ::open("/dev/null", O_RDONLY);
    if (opened >= 0 && opened != fd) {
        ::dup2(opened, fd);
        ::close(opened);
    }
    return true;
}

// The day and month names of the user's LC_TIME, loaded when an answer first needs one: most answers need
// none, and loading a locale is a good part of a start. No other category is taken: numbers are written
// the same in every locale, and messages are English.
class LazyLocaleNames final : public LocaleFormatter {
public:
    std::string LongDate(const SystemTime& date) const override { return Names().LongDate(date); }
    std::string Time(const SystemTime& time) const override { return Names().Time(time); }
    std::string DatePicture(const SystemTime& date, std::string_view picture) const override
    {
        return Names().DatePicture(date, picture);
    }

private:
    const LangInfoFormatter& Names() const
    {
        if (!m_names) {
            std::setlocale(LC_TIME, "");
            m_names.emplace();
        }
        return *m_names;
    }

    mutable std::optional<LangInfoFormatter> m_names;
};

// The system clock, read once: one run answers for one present moment, and each reading of the C
// library's clock checks the zone file again.
class RunClock final : public Clock {
public:
    SystemTime Now() const override
    {
        if (!m_now) {
            m_now = m_clock.Now();
        }
        return *m_now;
    }
    std::optional<SystemTime> LocalTimeAt(std::int64_t unixSeconds) const override
    {
        return m_clock.LocalTimeAt(unixSeconds);
    }
    std::optional<std::int64_t> UnixTimeAt(const SystemTime& local) const override { return m_clock.UnixTimeAt(local); }
    // Read once too, and apart from Now: only the instant tells a repeated hour's two instances apart.
    std::optional<std::int64_t> UnixNow() const override
    {
        if (!m_unixNow) {
            m_unixNow = m_clock.UnixNow();
        }
        return *m_unixNow;
    }

private:
    SystemClock m_clock;
    mutable std::optional<SystemTime> m_now;
    mutable std::optional<std::optional<std::int64_t>> m_unixNow;
};

}   // namespace

int main(int argc, char** argv)
{
    // First of all, before any open could be given one of them.
    const bool stdinClosed = ReopenIfClosed(0);
    ReopenIfClosed(1);
    ReopenIfClosed(2);
    // TZ must name a zone; until the run ends with the problem, nothing may read what it names (the C
    // library would hang on a FIFO).
    const std::optional<std::string> tzProblem = TzProblem();
    if (tzProblem) {
        ::setenv("TZ", kFallbackTz, 1);
    }
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const RunClock clock;
    const LazyLocaleNames formatter;
    const ProcProgramLocation location;
    const CliServices services{
        clock, formatter, location,
        [&tzProblem](std::optional<std::string_view> zone, std::string& problem) -> std::optional<ZoneModel> {
            if (!zone) {
                if (tzProblem) {
                    problem = *tzProblem;
                    return std::nullopt;
                }
                return LoadTzVariable(std::getenv("TZ"), problem);
            }
            const std::string name(*zone);
            const char* tzDir = std::getenv("TZDIR");
            // A refused name opens nothing. An accepted one that the C library would read as a file it
            // hangs on names no zone either, as TZ set to it would not.
            std::optional<ZoneModel> model = LoadNamedZone(name, problem);
            if (model && TzNamesUnreadableFile(name, tzDir != nullptr ? tzDir : "")) {
                problem = "'" + name + "' names no time zone: its file is no regular file";
                model.reset();
            }
            return model;
        }};
    return RunCli(args, services, stdinClosed ? -1 : 0, 1, 2);
}
