// The holiday reader: reads one iCalendar file with libical and writes its holidays to its standard
// output, so that a damaged or hostile file can only end this short-lived process
// (platform/holiday_files.h). It limits itself before it reads anything.
//
//   chronel-holiday-reader FILE
//
// Writes "ok N" and then N lines of day numbers (days from 1970-01-01, ascending), or "error REASON" with
// REASON one of "open ERRNO", "irregular", "size", "read ERRNO", "format", "repeats" or "memory" (ERRNO the
// system's number): codes, not sentences, so that the program shows them in the user's language. The exit
// status is 0 whenever one of these was written.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <string>

#include "core/file_descriptor.h"
#include "core/write_all.h"
#include "holidayreader/holiday_calendar.h"

#if defined(__SANITIZE_ADDRESS__)
#define CHRONEL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CHRONEL_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

constexpr std::size_t kMaxFileBytes = 16u << 20;

void LimitSelf()
{
    // AddressSanitizer's shadow memory does not fit in the address-space limit; those builds go without.
#ifndef CHRONEL_ADDRESS_SANITIZER
    const rlimit memory{256u << 20, 256u << 20};
    setrlimit(RLIMIT_AS, &memory);
#endif
    const rlimit cpu{2, 3};
    setrlimit(RLIMIT_CPU, &cpu);
    const rlimit core{0, 0};
    setrlimit(RLIMIT_CORE, &core);
}

// The file's bytes, or the reason there are none.
HolidayCalendar ReadFile(const char* path, std::string& bytes)
{
    // Non-blocking: a FIFO or a device must not hold the reader before it can tell what it is.
    const FileDescriptor file(open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (!file.Valid() || fstat(file.Get(), &status) != 0) {
        return {false, "open " + std::to_string(errno), {}};
    }
    if (!S_ISREG(status.st_mode)) {
        return {false, "irregular", {}};
    }
    const HolidayCalendar tooLarge{false, "size", {}};
    if (static_cast<std::size_t>(status.st_size) > kMaxFileBytes) {
        return tooLarge;
    }
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = read(file.Get(), buffer, sizeof buffer);
        if (got == 0) {
            return {true, "", {}};
        }
        if (got < 0 && errno != EINTR) {
            return {false, "read " + std::to_string(errno), {}};
        }
        if (got > 0 && bytes.size() + static_cast<std::size_t>(got) > kMaxFileBytes) {
            return tooLarge;   // it grew while we read
        }
        bytes.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    }
}

std::string Answer(const char* path)
{
    std::string bytes;
    HolidayCalendar calendar = ReadFile(path, bytes);
    if (calendar.ok) {
        calendar = ReadHolidayCalendar(bytes);
    }
    if (!calendar.ok) {
        return "error " + calendar.reason + "\n";
    }
    std::string answer = "ok " + std::to_string(calendar.days.size()) + "\n";
    for (const std::int64_t day : calendar.days) {
        answer += std::to_string(day);
        answer += '\n';
    }
    return answer;
}

}   // namespace

int main(int argc, char** argv)
{
    LimitSelf();
    if (argc != 2) {
        return 1;
    }
    std::string answer;
    try {
        answer = Answer(argv[1]);
    } catch (const std::bad_alloc&) {
        answer = "error memory\n";
    }
    return WriteAll(STDOUT_FILENO, answer) ? 0 : 1;
}
