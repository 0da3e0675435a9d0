#include "platform/holiday_files.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <optional>
#include <string_view>
#include <utility>

#include "core/civil.h"
#include "core/file_descriptor.h"
#include "core/messages.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kReaderName[] = "chronel-holiday-reader";
constexpr auto kTimeout = std::chrono::seconds(2);
// Every day of the span as a line: the most a reader can rightly write.
constexpr std::size_t kMaxAnswerBytes = 32u << 20;
constexpr std::int64_t kFirstDay = civil::DaysFromCivil(1754, 1, 1);
constexpr std::int64_t kLastDay = civil::DaysFromCivil(9998, 12, 31);

// The reader's standard output until it closes it; empty past the deadline or the size.
std::optional<std::string> ReadAnswer(int fd, Clock::time_point deadline)
{
    std::string answer;
    char buffer[64 * 1024];
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd ready{fd, POLLIN, 0};
        const int polled = left > 0 ? poll(&ready, 1, static_cast<int>(left)) : 0;
        if (polled == 0 || (polled < 0 && errno != EINTR)) {
            return std::nullopt;
        }
        const ssize_t got = polled > 0 ? read(fd, buffer, sizeof buffer) : -1;
        if (got == 0) {
            return answer;
        }
        if (got < 0 && errno != EINTR) {
            return std::nullopt;
        }
        if (got > 0) {
            answer.append(buffer, static_cast<std::size_t>(got));
        }
        if (answer.size() > kMaxAnswerBytes) {
            return std::nullopt;
        }
    }
}

bool ReadNumber(std::string_view text, std::int64_t& number)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() && !text.empty() && text.front() != '+';
}

// The message of the reader's "error REASON" (holidayreader/main.cpp); an unknown reason is a failed reader.
int ReasonMessage(std::string_view reason)
{
    static constexpr std::pair<std::string_view, int> kCodes[] = {
        {"irregular", kHolidayFileIrregularMessage}, {"size", kHolidayFileTooLargeMessage},
        {"format", kHolidayFileNotCalendarMessage},  {"repeats", kHolidayFileRepeatsMessage},
        {"memory", kHolidayFileMemoryMessage},
    };
    for (const auto& [code, message] : kCodes) {
        if (reason == code) {
            return message;
        }
    }
    // "open ERRNO" or "read ERRNO": only a failed open tells the user more than that the file cannot be read.
    const std::string_view call = reason.substr(0, reason.find(' '));
    std::int64_t error = 0;
    if ((call != "open" && call != "read") || call.size() == reason.size() ||
        !ReadNumber(reason.substr(call.size() + 1), error) || error <= 0) {
        return kHolidayReaderFailedMessage;
    }
    if (call == "open" && error == ENOENT) {
        return kHolidayFileMissingMessage;
    }
    if (call == "open" && (error == EACCES || error == EPERM)) {
        return kHolidayFileForbiddenMessage;
    }
    return kHolidayFileUnreadableMessage;
}

// The reader's answer: "ok N" and N ascending day numbers within the span, or "error REASON"; anything
// else is a failed reader.
void ParseAnswer(std::string_view answer, HolidayFile& file)
{
    file.reasonMessage = kHolidayReaderFailedMessage;
    if (answer.empty() || answer.back() != '\n') {
        return;
    }
    std::string_view line = answer.substr(0, answer.find('\n'));
    answer.remove_prefix(line.size() + 1);
    if (line.starts_with("error ") && answer.empty()) {
        file.reasonMessage = ReasonMessage(line.substr(6));
        return;
    }
    std::int64_t count = 0;
    if (!line.starts_with("ok ") || !ReadNumber(line.substr(3), count) || count < 0 ||
        count > kLastDay - kFirstDay + 1) {
        return;
    }
    std::vector<std::int64_t> days;
    days.reserve(static_cast<std::size_t>(count));
    while (!answer.empty()) {
        line = answer.substr(0, answer.find('\n'));
        answer.remove_prefix(line.size() + 1);
        std::int64_t day = 0;
        if (!ReadNumber(line, day) || day < kFirstDay || day > kLastDay || (!days.empty() && day <= days.back())) {
            return;
        }
        days.push_back(day);
    }
    if (static_cast<std::int64_t>(days.size()) == count) {
        file = {file.path, -1, std::move(days)};
    }
}

// Starts the reader on `path` with its output into `output`: a process group of its own, nothing open
// but that and /dev/null, default signals. 0 when it cannot start.
pid_t StartReader(const std::string& reader, const std::string& path, int output)
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigfillset(&defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::string program = reader, file = path;
    char* argv[] = {program.data(), file.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, reader.c_str(), &actions, &attributes, argv, environ) != 0) {
        pid = 0;
    }
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

HolidayFile ReadOne(const std::string& reader, const std::string& path)
{
    HolidayFile file{path, kHolidayReaderFailedMessage, {}};
    if (reader.empty() || access(reader.c_str(), X_OK) != 0) {
        file.reasonMessage = kHolidayReaderMissingMessage;
        return file;
    }
    const Clock::time_point deadline = Clock::now() + kTimeout;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return file;
    }
    FileDescriptor output(ends[0]);
    FileDescriptor input(ends[1]);
    const pid_t pid = StartReader(reader, path, input.Get());
    input.Close();
    if (pid == 0) {
        return file;
    }
    const std::optional<std::string> answer = ReadAnswer(output.Get(), deadline);
    // Whatever the reader left behind goes with it; it has ended or is past its time.
    kill(-pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!answer || (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU)) {
        file.reasonMessage =
            !answer && Clock::now() < deadline ? kHolidayReaderFailedMessage : kHolidayFileTimeoutMessage;
        return file;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        ParseAnswer(*answer, file);
    }
    return file;
}

}   // namespace

std::vector<HolidayFile> ReadHolidayFiles(const std::vector<std::string>& paths, const ProgramLocation& location)
{
    const std::string folder = ProgramFolder(location);
    const std::string reader = folder.empty() ? std::string() : folder + kReaderName;
    std::vector<HolidayFile> files;
    files.reserve(paths.size());
    for (const std::string& path : paths) {
        files.push_back(ReadOne(reader, path));
    }
    return files;
}
