#include "platform/reg_file_settings_backend.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>
#include <tuple>

#include "fakes/fake_autostart_list.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"
#include "settings/settings_store.h"

namespace {

class RegFileSettingsTest : public ::testing::Test {
protected:
    RegFileSettingsBackend Backend(const std::string& home = "") const
    {
        return RegFileSettingsBackend(home.empty() ? m_config.Path().string() : home, "Orvane", "Chronel", &m_clock);
    }
    std::string FilePath() const { return m_config / "Orvane/Chronel.reg"; }
    SettingsStore Store(RegFileSettingsBackend& b) { return SettingsStore(b, m_autostart, m_clock, m_location); }

    TempFolder m_config;
    FakeAutostartList m_autostart;
    FakeClock m_clock{SystemTime{2004, 11, 6, 20, 14, 5, 0, 0}};
    FakeProgramLocation m_location{"/opt/chronel/chronel"};
};

const std::string kHeader = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Chronel]\n";

// The ASCII text in UTF-16 LE with its byte-order mark, each line ending in `lineEnd`.
std::string Utf16Le(std::string_view text, char lineEnd)
{
    std::string out = "\xFF\xFE";
    for (const char c : text) {
        out += c == '\n' ? lineEnd : c;
        out += '\0';
    }
    return out;
}

// Runs `body` in a child process; its result is the child's exit status.
pid_t Spawn(const std::function<int()>& body)
{
    const pid_t pid = fork();
    if (pid == 0) {
        _exit(body());
    }
    return pid;
}

int ExitCode(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST_F(RegFileSettingsTest, ValuesSurviveTheFileExactly)
{
    const std::string text = "\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0 \"q\" \\ \t";
    const auto name = [](int index) { return std::string(DescribeSetting(SettingId(index))->name) + "X"; };
    {
        const ScopedEnv config("XDG_CONFIG_HOME", m_config.Path().string());
        RegFileSettingsBackend backend = RegFileSettingsBackend::ForCurrentUser("Orvane", "Chronel");
        EXPECT_EQ(backend.FilePath(), FilePath());
        const SettingsStore store = Store(backend);
        EXPECT_EQ(store.ReadInt(SettingId::Visibled), 1);
        EXPECT_EQ(ReadFileBytes(FilePath()), kHeader + "\n") << "a fresh profile makes the key";
        for (const std::string& file : {FilePath(), m_config / "Orvane/Chronel.lock"}) {
            EXPECT_EQ(std::filesystem::status(file).permissions(),
                      std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        }
        EXPECT_EQ(std::filesystem::status(m_config / "Orvane").permissions(), std::filesystem::perms::owner_all);
        ASSERT_TRUE(store.WriteInt(SettingId::ActivePageNo, -7));
        ASSERT_TRUE(store.WriteDateTime(SettingId::DateFrom, DateTime::FromParts(1761, 8, 28, 7, 7, 59)));
        ASSERT_TRUE(store.WriteDateTime(SettingId::DateTo, DateTime::Invalid()));
        ASSERT_TRUE(store.WriteSpan(SettingId::Span, DateTimeSpan(-324.08333333333331)));
        ASSERT_TRUE(store.WriteString(SettingId::Lang, text));
        // Every name on its own: none may overwrite another.
        for (int index = 0; index < kSettingCount; ++index) {
            ASSERT_TRUE(backend.SetValue(name(index), RegValue::Dword(index)));
        }
    }
    EXPECT_TRUE(ReadFileBytes(FilePath())
                    .starts_with(kHeader +
                                 "\"ActivePageNo\"=dword:fffffff9\n\"DateFrom\"=\"1761 8 28 7 7 59\"\n"
                                 "\"DateTo\"=\"-1 -1 -1 -1 -1 -1\"\n\"Span\"=\"-324.08333333333331438553\"\n"));
    RegFileSettingsBackend backend = Backend();
    std::string back;
    EXPECT_TRUE(Store(backend).ReadString(SettingId::Lang, back));
    EXPECT_EQ(back, text);
    EXPECT_EQ(Store(backend).ReadInt(SettingId::ActivePageNo), -7);
    for (int index = 0; index < kSettingCount; ++index) {
        EXPECT_EQ(backend.QueryValue(name(index)), RegValue::Dword(index));
    }
}

TEST_F(RegFileSettingsTest, HeldWritesReachTheFileTogether)
{
    RegFileSettingsBackend backend = Backend();
    backend.HoldWrites();
    const SettingsStore store = Store(backend);
    EXPECT_EQ(store.ReadInt(SettingId::Visibled), 1);
    ASSERT_TRUE(store.WriteInt(SettingId::CurTo, 3) && store.WriteString(SettingId::Lang, "de"));
    EXPECT_EQ(store.ReadInt(SettingId::CurTo), 3);
    EXPECT_FALSE(std::filesystem::exists(FilePath())) << "nothing written while held";
    backend.WriteHeld();
    EXPECT_EQ(ReadFileBytes(FilePath()), kHeader + "\"CurTo\"=dword:00000003\n\"Lang\"=\"de\"\n\n");
}

TEST_F(RegFileSettingsTest, DamagedFilesAreKeptAsideAndRepaired)
{
    const std::string hide = "\"HideToTray\"=dword:00000001\n";
    // What HideToTray reads from what is left, the size the file is made sparse to, and whether it is kept
    // aside (else it is used as it is).
    const std::tuple<const char*, std::string, int, std::uintmax_t, bool> cases[] = {
        {"no signature", kHeader.substr(10) + hide, 1, 0, true},
        {"random bytes", std::string("\x89PNG\r\n\x1A\n\0\xFE", 10), 0, 0, true},
        {"junk line inside", kHeader + hide + "junk\n\"CurTo\"=dword:00000005\n", 1, 0, true},
        {"truncated", kHeader + "\"HideToTray\"=dword:0000000", 0, 0, true},
        {"over the size cap", kHeader + hide, 0, 100 * 1024 * 1024, true},
        {"duplicates", kHeader + hide + kHeader.substr(10) + "\"hidetotray\"=dword:00000002\n", 2, 0, false},
        {"wrong type", kHeader + "\"HideToTray\"=hex:01,02,03,04,05\n", 0, 0, false},
        {"UTF-16 with CR line ends", Utf16Le(kHeader + hide, '\r'), 1, 0, false},
    };
    const std::string keptPath = FilePath() + ".damaged-20041120-140500";
    for (const auto& [why, content, hideValue, growTo, keptAside] : cases) {
        SCOPED_TRACE(why);
        std::filesystem::remove_all(m_config / "Orvane");
        std::filesystem::create_directories(m_config / "Orvane");
        WriteFileBytes(FilePath(), content);
        if (growTo > 0) {
            std::filesystem::resize_file(FilePath(), growTo);
        }
        const auto size = std::filesystem::file_size(FilePath());
        const std::string before = size < 1024 ? ReadFileBytes(FilePath()) : "";
        RegFileSettingsBackend backend = Backend();
        const SettingsStore store = Store(backend);
        EXPECT_EQ(store.ReadInt(SettingId::HideToTray), hideValue);
        const std::vector<SettingsProblem> problems = backend.TakeProblems();
        ASSERT_EQ(problems.size(), keptAside ? 1u : 0u);
        ASSERT_EQ(std::filesystem::exists(keptPath), keptAside);
        if (keptAside) {
            EXPECT_TRUE(problems[0].kind == SettingsProblem::Kind::KeptAside && problems[0].path == keptPath);
            EXPECT_EQ(std::filesystem::file_size(keptPath), size);
            EXPECT_EQ(size < 1024 ? ReadFileBytes(keptPath) : "", before);
            EXPECT_TRUE(ParseRegFile(ReadFileBytes(FilePath())).complete);   // repaired at once
        }
        EXPECT_TRUE(store.WriteInt(SettingId::CurFrom, 1));
        EXPECT_TRUE(ReadFileBytes(FilePath()).starts_with(kHeader)) << "rewritten as UTF-8 with LF";
        RegFileSettingsBackend again = Backend();
        EXPECT_EQ(Store(again).ReadInt(SettingId::CurFrom), 1);
        EXPECT_EQ(Store(again).ReadInt(SettingId::HideToTray), hideValue);
        EXPECT_TRUE(again.TakeProblems().empty());
    }
}

TEST_F(RegFileSettingsTest, EachDamageGetsItsOwnCopyAndOneMessage)
{
    const std::string damaged = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Orvane\\Chronel]\n\"Lang\"=\"de\"\n\x01\n";
    std::filesystem::create_directories(m_config / "Orvane");
    RegFileSettingsBackend backend = Backend();
    for (const char* suffix : {"", "-2", "-3"}) {
        WriteFileBytes(FilePath(), damaged + suffix);   // another size each time, within the same second
        EXPECT_EQ(backend.QueryValue("Lang"), RegValue::Sz("de"));
        EXPECT_EQ(ReadFileBytes(FilePath() + ".damaged-20041120-140500" + suffix), damaged + suffix);
    }
    EXPECT_EQ(backend.TakeProblems().size(), 1u);
}

TEST_F(RegFileSettingsTest, UnwritableFileKeepsValuesInMemory)
{
    // A configuration folder inside a regular file cannot be made, whoever runs the test (root too); a
    // folder in the file's place is not ours to move.
    const std::string blocker = m_config / "blocker";
    WriteFileBytes(blocker, "");
    std::filesystem::create_directories(FilePath());
    for (const std::string& home : {blocker, m_config.Path().string()}) {
        SCOPED_TRACE(home);
        RegFileSettingsBackend backend = Backend(home);
        const SettingsStore store = Store(backend);
        EXPECT_EQ(store.ReadInt(SettingId::Visibled), 1);
        for (int value : {4, 5}) {
            EXPECT_TRUE(store.WriteInt(SettingId::YearsPlus, value));
            EXPECT_TRUE(store.WriteString(SettingId::Lang, "ru" + std::to_string(value)));
            EXPECT_EQ(store.ReadInt(SettingId::YearsPlus), value);
        }
        const std::vector<SettingsProblem> problems = backend.TakeProblems();
        ASSERT_EQ(problems.size(), 1u);
        const SettingsProblem& problem = problems[0];
        EXPECT_TRUE(problem.kind == SettingsProblem::Kind::NotSaved && problem.path == home + "/Orvane/Chronel.reg");
        // Once the file can be written, the next write stores what was kept in memory too.
        std::filesystem::remove(home == blocker ? blocker : FilePath());
        EXPECT_TRUE(store.WriteInt(SettingId::MonthsPlus, 6));
        RegFileSettingsBackend again = Backend(home);
        EXPECT_EQ(again.QueryValue("YearsPlus"), RegValue::Dword(5));
        EXPECT_EQ(again.QueryValue("Lang"), RegValue::Sz("ru5"));
        EXPECT_TRUE(backend.TakeProblems().empty());
    }
}

TEST_F(RegFileSettingsTest, UnreadableFileIsMovedAsideBeforeItIsReplaced)
{
    RegFileSettingsBackend backend = Backend();
    ASSERT_TRUE(backend.SetValue("CurTo", RegValue::Dword(1)));
    const std::string before = ReadFileBytes(FilePath());
    // Write-only: a file without its owner's write permission would be left alone instead.
    std::filesystem::permissions(FilePath(), std::filesystem::perms::owner_write);
    // Root reads any file: check as an ordinary user, in a child that gives root up.
    std::filesystem::permissions(m_config.Path(), std::filesystem::perms::all);
    std::filesystem::permissions(m_config / "Orvane", std::filesystem::perms::all);
    std::filesystem::permissions(m_config / "Orvane/Chronel.lock", std::filesystem::perms::all);
    const pid_t child = Spawn([this] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            return 2;
        }
        RegFileSettingsBackend user = Backend();
        return user.QueryValue("CurTo") || !user.SetValue("CurTo", RegValue::Dword(2)) ? 1 : 0;
    });
    EXPECT_EQ(ExitCode(child), 0);
    const std::string kept = FilePath() + ".damaged-20041120-140500";
    std::filesystem::permissions(kept, std::filesystem::perms::owner_read);
    EXPECT_EQ(ReadFileBytes(kept), before);
    EXPECT_EQ(backend.QueryValue("CurTo"), RegValue::Dword(2));
}

TEST_F(RegFileSettingsTest, TwoProcessesWritingAtOnceLoseNothing)
{
    // Each writer checks after every write that its value is there: a writer that rewrote the file from
    // a stale copy would take the other's last value back.
    constexpr int kWrites = 300;
    const auto writer = [this](SettingId id) {
        return [this, id] {
            RegFileSettingsBackend backend = Backend();
            const SettingsStore store = Store(backend);
            for (int i = 1; i <= kWrites; ++i) {
                if (!store.WriteInt(id, i) || store.ReadInt(id) != i) {
                    return 1;
                }
            }
            // As at the program's exit: a last value refused by the busy lock gets one more try.
            backend.WriteHeld();
            return 0;
        };
    };
    const pid_t writers[] = {Spawn(writer(SettingId::YearsPlus)), Spawn(writer(SettingId::MonthsPlus))};
    // Meanwhile every read finds a whole file whose values only grow.
    RegFileSettingsBackend backend = Backend();
    const SettingsStore store = Store(backend);
    int seen[2] = {0, 0};
    for (int read = 0; read < 2000 && (seen[0] < kWrites || seen[1] < kWrites); ++read) {
        for (int i : {0, 1}) {
            const int value = store.ReadInt(i == 0 ? SettingId::YearsPlus : SettingId::MonthsPlus);
            ASSERT_GE(value, seen[i]);
            seen[i] = value;
        }
    }
    EXPECT_TRUE(ExitCode(writers[0]) == 0 && ExitCode(writers[1]) == 0);
    EXPECT_EQ(store.ReadInt(SettingId::YearsPlus), kWrites);
    EXPECT_EQ(store.ReadInt(SettingId::MonthsPlus), kWrites);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_config / "Orvane"), {}), 2) << "and the lock";
}

TEST_F(RegFileSettingsTest, KilledWriterLeavesTheLastWholeFile)
{
    // Large values make every write slow enough to be cut off in the middle.
    const auto payload = [](int round) { return std::string(1024 * 1024, static_cast<char>('a' + round % 26)); };
    RegFileSettingsBackend backend = Backend();
    ASSERT_TRUE(backend.SetValue("TemplateFolder", RegValue::Sz(payload(0))));
    std::mt19937 random(2004);
    for (int round = 1; round <= 15; ++round) {
        const pid_t child = Spawn([&] {
            RegFileSettingsBackend writerBackend = Backend();
            for (int i = 0;; ++i) {
                writerBackend.SetValue("TemplateFolder", RegValue::Sz(payload(round + i)));
            }
            return 0;
        });
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 30000));
        kill(child, SIGKILL);
        ExitCode(child);
        const std::optional<RegValue> value = backend.QueryValue("TemplateFolder");
        ASSERT_TRUE(value) << "round " << round;
        ASSERT_EQ(value->data.size(), 1024 * 1024 + 1u);
        ASSERT_EQ(value->data.find_first_not_of(value->data.front()), 1024 * 1024u);
    }
    // Once they are old enough to belong to no live writer, the next write clears what the killed writers
    // left behind.
    for (const auto& entry : std::filesystem::directory_iterator(m_config / "Orvane")) {
        std::filesystem::last_write_time(entry.path(), entry.last_write_time() - std::chrono::minutes(5));
    }
    ASSERT_TRUE(backend.SetValue("Lang", RegValue::Sz("english")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_config / "Orvane"), {}), 2) << "and the lock";
}

TEST_F(RegFileSettingsTest, BusyLockKeepsValuesForTheNextWrite)
{
    RegFileSettingsBackend backend = Backend();
    ASSERT_TRUE(backend.SetValue("CurTo", RegValue::Dword(1)));
    const std::string before = ReadFileBytes(FilePath());
    // Another copy holds the lock through its own descriptor.
    const int other = open((m_config / "Orvane/Chronel.lock").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(other, LOCK_EX), 0);
    backend.Lock()->SetWaitLimit(std::chrono::milliseconds(0));
    EXPECT_TRUE(backend.SetValue("CurTo", RegValue::Dword(2)));
    EXPECT_EQ(backend.QueryValue("CurTo"), RegValue::Dword(2));
    EXPECT_EQ(ReadFileBytes(FilePath()), before);
    EXPECT_TRUE(backend.TakeProblems().empty()) << "the file is fine; the value goes with the next write";
    close(other);
    backend.WriteHeld();
    EXPECT_EQ(Backend().QueryValue("CurTo"), RegValue::Dword(2));
}

TEST_F(RegFileSettingsTest, ReadOnlyFileIsNeverReplaced)
{
    for (const auto& [why, content] : {std::pair{"whole", kHeader + "\"Lang\"=\"de\"\n"},
                                       std::pair{"damaged", kHeader + "\"Lang\"=\"de\"\njunk\n"}}) {
        SCOPED_TRACE(why);
        std::filesystem::remove_all(m_config / "Orvane");
        std::filesystem::create_directories(m_config / "Orvane");
        WriteFileBytes(FilePath(), content);
        std::filesystem::permissions(FilePath(), std::filesystem::perms::owner_read);
        RegFileSettingsBackend backend = Backend();
        EXPECT_EQ(backend.QueryValue("Lang"), RegValue::Sz("de"));
        for (int value : {1, 2}) {
            EXPECT_TRUE(backend.SetValue("CurTo", RegValue::Dword(value)));
        }
        EXPECT_EQ(backend.QueryValue("CurTo"), RegValue::Dword(2));
        EXPECT_EQ(ReadFileBytes(FilePath()), content);
        EXPECT_EQ(std::filesystem::status(FilePath()).permissions(), std::filesystem::perms::owner_read);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_config / "Orvane"), {}), 2) << "nothing aside";
        const std::vector<SettingsProblem> problems = backend.TakeProblems();
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_TRUE(problems[0].kind == SettingsProblem::Kind::ReadOnly && problems[0].path == FilePath());
    }
}

TEST_F(RegFileSettingsTest, TwoCopiesKeepEachOthersChanges)
{
    // Each copy changes one option and, at its exit, stores every option it shows. (A value missing from
    // the file is not at issue: the first start stores every default.)
    std::filesystem::create_directories(m_config / "Orvane");
    for (const bool firstExitsFirst : {true, false}) {
        SCOPED_TRACE(firstExitsFirst);
        WriteFileBytes(FilePath(), kHeader + "\"HideToTray\"=dword:00000000\n\"Autoload\"=dword:00000000\n");
        RegFileSettingsBackend copies[] = {Backend(), Backend()};
        SettingsStore stores[] = {Store(copies[0]), Store(copies[1])};
        int shown[2][2];
        for (int i : {0, 1}) {
            shown[i][0] = stores[i].ReadInt(SettingId::HideToTray);
            shown[i][1] = stores[i].ReadInt(SettingId::Autoload);
        }
        shown[0][0] = 1;
        stores[0].WriteInt(SettingId::HideToTray, 1);
        shown[1][1] = 1;
        stores[1].WriteInt(SettingId::Autoload, 1);
        for (int i : {firstExitsFirst ? 0 : 1, firstExitsFirst ? 1 : 0}) {
            stores[i].WriteInt(SettingId::HideToTray, shown[i][0]);
            stores[i].WriteInt(SettingId::Autoload, shown[i][1]);
            copies[i].WriteHeld();
        }
        RegFileSettingsBackend after = Backend();
        EXPECT_EQ(Store(after).ReadInt(SettingId::HideToTray), 1);
        EXPECT_EQ(Store(after).ReadInt(SettingId::Autoload), 1);
    }
}

}   // namespace
