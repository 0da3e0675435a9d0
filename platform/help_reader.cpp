#include "platform/help_reader.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// The child's exit status when it could not become the reader.
constexpr int kSetupFailed = 127;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return m_fd; }
    void Close()
    {
        if (m_fd >= 0) {
            close(m_fd);
            m_fd = -1;
        }
    }

private:
    int m_fd;
};

// Everything the child needs, made before fork: in a multi-threaded process the child may only make
// async-signal-safe calls until it execs.
struct ChildSetup {
    char* const* argv;
    int outputFd;
    rlimit addressSpace, cpu, core;
    int highestFd;   // closed one by one where the kernel has no close_range
};

// A limit of `resource`, never above the hard limit we already have: raising that would fail.
rlimit Limit(int resource, rlim_t soft, rlim_t hard)
{
    rlimit current{};
    if (getrlimit(resource, &current) == 0 && current.rlim_max != RLIM_INFINITY) {
        soft = std::min(soft, current.rlim_max);
        hard = std::min(hard, current.rlim_max);
    }
    return {soft, hard};
}

[[noreturn]] void BecomeReader(const ChildSetup& setup)
{
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    // dup2 onto itself would keep close-on-exec set.
    const bool outputSet = setup.outputFd == STDOUT_FILENO ? fcntl(STDOUT_FILENO, F_SETFD, 0) == 0
                                                           : dup2(setup.outputFd, STDOUT_FILENO) == STDOUT_FILENO;
    const int null = open("/dev/null", O_RDWR);
    if (!outputSet || null < 0 || dup2(null, STDIN_FILENO) < 0 || dup2(null, STDERR_FILENO) < 0) {
        _exit(kSetupFailed);
    }
    if (close_range(3, ~0u, 0) != 0) {
        for (int fd = 3; fd <= setup.highestFd; ++fd) {
            close(fd);
        }
    }
    if (setrlimit(RLIMIT_AS, &setup.addressSpace) != 0 || setrlimit(RLIMIT_CPU, &setup.cpu) != 0 ||
        setrlimit(RLIMIT_CORE, &setup.core) != 0) {
        _exit(kSetupFailed);
    }
    execv(setup.argv[0], setup.argv);
    _exit(kSetupFailed);
}

// A started reader; killed and reaped when it goes out of scope unless it was reaped before.
class ReaderProcess {
public:
    explicit ReaderProcess(pid_t pid) : m_pid(pid) {}
    ~ReaderProcess()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            while (waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
    }
    ReaderProcess(const ReaderProcess&) = delete;
    ReaderProcess& operator=(const ReaderProcess&) = delete;

    // The wait status once the reader has ended; empty when it still runs at the deadline or was reaped
    // elsewhere (SIGCHLD ignored).
    std::optional<int> WaitUntil(Clock::time_point deadline)
    {
        // The output closes a moment before the process can be reaped: poll, briefly at first.
        auto pause = std::chrono::microseconds(50);
        for (;;) {
            int status = 0;
            const pid_t ended = waitpid(m_pid, &status, WNOHANG);
            if (ended == m_pid) {
                m_pid = -1;
                return status;
            }
            if (ended < 0 && errno != EINTR) {
                m_pid = -1;
                return std::nullopt;
            }
            if (Clock::now() >= deadline) {
                return std::nullopt;
            }
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::microseconds(5000));
        }
    }

private:
    pid_t m_pid;
};

// Everything the reader writes until it closes its output; empty past the deadline or `maxBytes`.
std::optional<std::string> ReadToEnd(int fd, Clock::time_point deadline, std::size_t maxBytes)
{
    std::string output;
    char buffer[64 * 1024];
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return std::nullopt;
        }
        pollfd ready{fd, POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(std::min<decltype(left)>(left, INT_MAX)));
        if (polled < 0 && errno != EINTR) {
            return std::nullopt;
        }
        if (polled <= 0) {
            continue;
        }
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got == 0) {
            return output;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (static_cast<std::size_t>(got) > maxBytes - output.size()) {
            return std::nullopt;
        }
        output.append(buffer, static_cast<std::size_t>(got));
    }
}

// The records of AppendHelpReaderRecord; empty unless they fill `data` exactly.
std::optional<ChmObjects> ParseRecords(std::string_view data)
{
    ChmObjects objects;
    while (!data.empty()) {
        std::uint32_t pathLength = 0;
        std::uint64_t contentLength = 0;
        if (data.size() < sizeof pathLength + sizeof contentLength) {
            return std::nullopt;
        }
        std::memcpy(&pathLength, data.data(), sizeof pathLength);
        std::memcpy(&contentLength, data.data() + sizeof pathLength, sizeof contentLength);
        data.remove_prefix(sizeof pathLength + sizeof contentLength);
        if (pathLength > data.size() || contentLength > data.size() - pathLength) {
            return std::nullopt;
        }
        objects.insert_or_assign(std::string(data.substr(0, pathLength)),
                                 std::string(data.substr(pathLength, static_cast<std::size_t>(contentLength))));
        data.remove_prefix(pathLength + static_cast<std::size_t>(contentLength));
    }
    return objects;
}

int HighestFd()
{
    const long openMax = sysconf(_SC_OPEN_MAX);
    return openMax > 0 ? static_cast<int>(std::min<long>(openMax - 1, 1 << 20)) : 1023;
}

}   // namespace

HelpReader HelpReader::BesideProgram(const ProgramLocation& location)
{
    const std::string folder = ProgramFolder(location);
    return HelpReader(folder.empty() ? std::string() : folder + kHelpReaderProgramName);
}

std::optional<ChmObjects> HelpReader::Read(const std::string& chmPath,
                                           const std::vector<std::string>& objectPaths) const
{
    if (m_program.empty() || m_program.front() != '/') {
        return std::nullopt;
    }
    const Clock::time_point deadline = Clock::now() + m_limits.timeout;

    std::vector<std::string> arguments{m_program, chmPath};
    arguments.insert(arguments.end(), objectPaths.begin(), objectPaths.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    FileDescriptor output(ends[0]);
    FileDescriptor input(ends[1]);
    const auto addressSpace = static_cast<rlim_t>(m_limits.maxAddressSpaceBytes);
    const ChildSetup setup{argv.data(), input.Get(), Limit(RLIMIT_AS, addressSpace, addressSpace),
                           // Past the soft limit SIGXCPU ends the reader; the hard one kills it should it ignore that.
                           Limit(RLIMIT_CPU, m_limits.cpuSeconds, m_limits.cpuSeconds + 1), Limit(RLIMIT_CORE, 0, 0),
                           HighestFd()};

    // Not posix_spawn: the limits must be set in the child, before the reader's first instruction.
    const pid_t pid = fork();
    if (pid < 0) {
        return std::nullopt;
    }
    if (pid == 0) {
        BecomeReader(setup);
    }
    ReaderProcess reader(pid);
    // The end of output shows only once the reader holds the pipe's other end alone.
    input.Close();

    const std::optional<std::string> bytes = ReadToEnd(output.Get(), deadline, m_limits.maxOutputBytes);
    if (!bytes) {
        return std::nullopt;
    }
    const std::optional<int> status = reader.WaitUntil(deadline);
    if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0) {
        return std::nullopt;
    }
    return ParseRecords(*bytes);
}
