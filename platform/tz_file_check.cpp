#include "platform/tz_file_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/zone_catalog.h"

namespace {

// The file the C library tries for `tz`; empty when it tries none.
std::string ZoneFileOf(std::string_view tz, std::string_view tzDir)
{
    std::string_view name = tz;
    if (name.empty()) {
        name = "Universal";
    } else if (name.front() == ':') {
        name.remove_prefix(1);
        if (name.empty()) {
            return {};
        }
    }
    if (name.front() == '/') {
        return std::string(name);
    }
    return std::string(tzDir.empty() ? std::string_view("/usr/share/zoneinfo") : tzDir) + '/' + std::string(name);
}

}   // namespace

bool TzNamesUnreadableFile(std::string_view tz, std::string_view tzDir)
{
    const std::string path = ZoneFileOf(tz, tzDir);
    if (path.empty()) {
        return false;
    }
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return false;
    }
    struct stat status {};
    const bool unreadable = ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode);
    ::close(fd);
    return unreadable;
}

std::optional<std::string> TzProblem()
{
    const char* tz = std::getenv("TZ");
    if (tz == nullptr) {
        return std::nullopt;
    }
    const char* tzDir = std::getenv("TZDIR");
    if (TzNamesUnreadableFile(tz, tzDir != nullptr ? tzDir : "")) {
        return "TZ '" + std::string(tz) + "' names a file that is not a zone file: the C library would hang on it";
    }
    std::string problem;
    return LoadTzVariable(tz, problem) ? std::nullopt : std::optional(problem);
}

std::optional<std::string> RemoveTzNamingNoZone()
{
    if (!TzProblem()) {
        return std::nullopt;
    }
    std::string old = std::getenv("TZ");
    ::unsetenv("TZ");
    return old;
}
