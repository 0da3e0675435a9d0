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

#include "core/ascii.h"
#include "core/count_text.h"
#include "core/file_descriptor.h"

namespace {

using Clock = std::chrono::steady_clock;

// The child's exit status when it could not become the reader.
constexpr int kSetupFailed = 127;

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
    // A group of its own, so that whatever the reader starts ends with it.
    setpgid(0, 0);
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

// A started reader, leader of its own process group; the group is killed and the reader reaped when it
// goes out of scope unless it was reaped before.
class ReaderProcess {
public:
    explicit ReaderProcess(pid_t pid) : m_pid(pid)
    {
        // Also here: the group must exist before we may have to kill it, whichever side runs first.
        setpgid(pid, pid);
    }
    ~ReaderProcess()
    {
        if (m_pid > 0) {
            KillGroup();
            while (waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
    }
    ReaderProcess(const ReaderProcess&) = delete;
    ReaderProcess& operator=(const ReaderProcess&) = delete;

    // The wait status once the reader has ended; empty when it still runs at the deadline or was reaped
    // elsewhere (SIGCHLD ignored). What the reader left running in its group is killed first.
    std::optional<int> WaitUntil(Clock::time_point deadline)
    {
        // The output closes a moment before the process can be reaped: poll, briefly at first.
        auto pause = std::chrono::microseconds(50);
        for (;;) {
            // Not reaped yet (WNOWAIT): while the reader is a zombie its group id cannot name another group.
            siginfo_t info{};
            const int waited = waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOHANG | WNOWAIT);
            if (waited == 0 && info.si_pid == m_pid) {
                KillGroup();
                int status = 0;
                while (waitpid(m_pid, &status, 0) < 0) {
                    if (errno != EINTR) {
                        m_pid = -1;
                        return std::nullopt;
                    }
                }
                m_pid = -1;
                return status;
            }
            if (waited < 0 && errno != EINTR) {
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
    void KillGroup() const
    {
        if (kill(-m_pid, SIGKILL) != 0) {
            kill(m_pid, SIGKILL);
        }
    }

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

namespace {

// Counts tables and cells of a page the way HelpPageFitsLayout promises. Two readings run side by side:
// a loose one that takes every '<' as a possible start of a table or cell, and one that follows the
// parser's tokens (QTextHtmlParser) to find the ends of tables it surely sees.
class TableScan {
public:
    explicit TableScan(std::string_view page) : m_page(page) {}

    bool Fits()
    {
        std::size_t at = 0;
        while (at < m_page.size() && !Over()) {
            if (m_page[at] == '<') {
                at = Tag(at + 1);
            } else {
                ++at;
            }
        }
        CountStartsBefore(m_page.size());
        return !Over();
    }

private:
    // Rows and cells, spans included, of a table, of those it holds and of anything charged to it by error;
    // a table may start with a row of its own.
    struct Grid {
        long long rows = 1;
        long long cells = 0;
    };

    bool Over() const
    {
        long long grid = m_closedGrid + m_outside.rows * m_outside.cells;
        for (const Grid& table : m_open) {
            grid += table.rows * table.cells;
        }
        return m_maxDepth > kMaxHelpTableDepth || m_cells > kMaxHelpTableCells || grid > kMaxHelpTableGrid;
    }

    // Rows or cells go to every table that may be open, or to the one Qt makes of rows outside any table.
    void Charge(long long rows, long long cells)
    {
        for (Grid& table : m_open) {
            table.rows += rows;
            table.cells += cells;
        }
        if (m_open.empty()) {
            // Qt puts rows and cells outside any table into a table it makes, which holds what follows.
            m_outsideTable = true;
            m_outside.rows += rows;
            m_outside.cells += cells;
        }
        m_maxDepth = std::max(m_maxDepth, static_cast<int>(m_open.size()) + (m_outsideTable ? 1 : 0));
    }

    unsigned char At(std::size_t at) const { return at < m_page.size() ? static_cast<unsigned char>(m_page[at]) : 0; }

    // The length of the white space at `at` as QChar::isSpace sees it, in UTF-8; 0 for none.
    std::size_t SpaceLength(std::size_t at) const
    {
        const unsigned char c = At(at);
        const unsigned char c1 = At(at + 1);
        const unsigned char c2 = At(at + 2);
        if (IsAsciiSpace(c)) {
            return 1;
        }
        if (c == 0xC2 && (c1 == 0x85 || c1 == 0xA0)) {
            return 2;
        }
        const bool space3 = (c == 0xE1 && c1 == 0x9A && c2 == 0x80) ||   // U+1680
                            (c == 0xE2 && c1 == 0x80 &&                  // U+2000..200A, 2028, 2029, 202F
                             ((c2 >= 0x80 && c2 <= 0x8A) || c2 == 0xA8 || c2 == 0xA9 || c2 == 0xAF)) ||
                            (c == 0xE2 && c1 == 0x81 && c2 == 0x9F) ||   // U+205F
                            (c == 0xE3 && c1 == 0x80 && c2 == 0x80);     // U+3000
        return space3 ? 3 : 0;
    }

    // The parser's eatSpace, which stops at U+2029.
    std::size_t SkipSpace(std::size_t at) const
    {
        for (std::size_t length = SpaceLength(at); length != 0; length = SpaceLength(at)) {
            if (length == 3 && At(at + 2) == 0xA9 && At(at) == 0xE2) {
                break;
            }
            at += length;
        }
        return at;
    }

    std::size_t PastGreater(std::size_t at) const
    {
        const std::size_t found = m_page.find('>', at);
        return found == std::string_view::npos ? m_page.size() : found + 1;
    }

    // The parser's parseWord: the end of the word at `at`, and its text without quotes (entities not
    // replaced). Entities change no ends: a valid one holds neither quotes nor the characters that end a word.
    std::size_t Word(std::size_t at, std::string_view* text = nullptr, bool* empty = nullptr) const
    {
        const std::size_t start = at;
        const char quote = static_cast<char>(At(at));
        if (quote == '"' || quote == '\'') {
            ++at;
            while (at < m_page.size()) {
                const char c = m_page[at++];
                // A backslash keeps a single quote in the word.
                if (c == quote && (quote == '"' || m_page[at - 2] != '\\')) {
                    break;
                }
            }
            const bool closed = at - start >= 2 && m_page[at - 1] == quote;
            if (empty != nullptr) {
                *empty = at - start - 1 - (closed ? 1 : 0) == 0;
            }
            if (text != nullptr) {
                *text = m_page.substr(start + 1, at - start - 1 - (closed ? 1 : 0));
            }
            return at;
        }
        while (at < m_page.size()) {
            const char c = m_page[at];
            if (c == '>' || (c == '/' && At(at + 1) == '>') || c == '<' || c == '=' || SpaceLength(at) != 0) {
                break;
            }
            ++at;
        }
        if (text != nullptr) {
            *text = m_page.substr(start, at - start);
        }
        if (empty != nullptr) {
            *empty = at == start;
        }
        return at;
    }

    // The parser's parseAttributes: where the attributes end. Spans widen the grid by their count less one;
    // a name with an entity may be a span, and a span that is not plain digits may be any.
    std::size_t Attributes(std::size_t at)
    {
        while (at < m_page.size()) {
            at = SkipSpace(at);
            if (At(at) == '>' || At(at) == '/') {
                break;
            }
            bool empty = false;
            std::string_view key, value = "1";
            at = Word(at, &key, &empty);
            if (empty) {
                break;
            }
            at = SkipSpace(at);
            if (At(at) == '=') {
                at = Word(SkipSpace(at + 1), &value);
            }
            if (key.find('&') != std::string_view::npos || EqualNoCase(key, "colspan") || EqualNoCase(key, "rowspan")) {
                Charge(0, SpanWidening(value));
            }
        }
        return at;
    }

    static long long SpanWidening(std::string_view value)
    {
        if (value.empty() || value.size() > 9 ||
            !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            return value.empty() ? 0 : kMaxHelpTableGrid;
        }
        return std::max<long long>(ReadCount64(value) - 1, 0);
    }

    // A tag after its '<', as the parser's parseTag reads it; returns where the text after it starts.
    std::size_t Tag(std::size_t at)
    {
        at = SkipSpace(at);
        if (At(at) == '!') {
            if (At(at + 1) == '-' && At(at + 2) == '-') {
                const std::size_t end = m_page.find("-->", at + 3);
                return end == std::string_view::npos ? m_page.size() : end + 3;
            }
            return PastGreater(at + 1);
        }
        if (At(at) == '/') {
            std::string_view name;
            const std::size_t end = PastGreater(Word(at + 1, &name));
            CountStartsBefore(end);
            if (EqualNoCase(name, "table") && !m_open.empty()) {
                m_closedGrid += m_open.back().rows * m_open.back().cells;
                m_open.pop_back();
            }
            return end;
        }
        at = Word(at);
        // Spans belong to the tables open once this tag is counted.
        CountStartsBefore(at);
        if (SpaceLength(at) != 0) {
            at = Attributes(at);
        }
        return PastGreater(at);
    }

    // Every '<' before `end` not yet looked at, taken as a table or cell when its name may be one: after
    // any spaces, quotes or non-ASCII bytes, up to the first byte that cannot be part of a name or an
    // entity; a name with an entity may be anything.
    void CountStartsBefore(std::size_t end)
    {
        for (; m_looseAt < end; ++m_looseAt) {
            if (m_page[m_looseAt] != '<') {
                continue;
            }
            std::size_t at = m_looseAt + 1;
            while (IsAsciiSpace(At(at)) || At(at) == '"' || At(at) == '\'' || At(at) >= 0x80) {
                ++at;
            }
            const std::size_t start = at;
            while (IsAsciiAlnum(At(at)) || At(at) == '&' || At(at) == '#' || At(at) == ';') {
                ++at;
            }
            const std::string_view name = m_page.substr(start, at - start);
            const bool anything = name.find('&') != std::string_view::npos;
            if (anything || EqualNoCase(name, "table")) {
                m_open.emplace_back();
                m_maxDepth = std::max(m_maxDepth, static_cast<int>(m_open.size()) + (m_outsideTable ? 1 : 0));
            }
            if (anything || EqualNoCase(name, "tr")) {
                Charge(1, 0);
            }
            if (anything || EqualNoCase(name, "td") || EqualNoCase(name, "th")) {
                ++m_cells;
                Charge(0, 1);
            }
        }
    }

    std::string_view m_page;
    std::size_t m_looseAt = 0;
    std::vector<Grid> m_open;   // innermost last
    Grid m_outside{0, 0};
    bool m_outsideTable = false;
    long long m_closedGrid = 0;
    int m_maxDepth = 0;
    int m_cells = 0;
};

}   // namespace

bool HelpPageFitsLayout(std::string_view page)
{
    return page.size() <= kMaxHelpPageBytes && TableScan(page).Fits();
}
