#include "platform/reg_file_settings_backend.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

#include "fakes/fake_autostart_list.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"
#include "shell/settings_store.h"

namespace {

const SystemTime kNow{2004, 11, 6, 20, 14, 5, 0, 0};

class RegFileSettingsTest : public ::testing::Test {
protected:
    RegFileSettingsBackend Backend() const { return RegFileSettingsBackend(m_config.Path().string(), "Orvane", "Chronel"); }

    std::string FilePath() const { return m_config / "Orvane/Chronel.reg"; }

    TempFolder m_config;
    FakeAutostartList m_autostart;
    FakeClock m_clock{kNow};
    FakeProgramLocation m_location{"/opt/chronel/chronel"};
};

SettingId Id(int index)
{
    return static_cast<SettingId>(index);
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

TEST_F(RegFileSettingsTest, EverySettingSurvivesTheFile)
{
    {
        RegFileSettingsBackend backend = Backend();
        const SettingsStore store(backend, m_autostart, m_clock, m_location);
        for (int index = 0; index < kSettingCount; ++index) {
            switch (DescribeSetting(Id(index))->kind) {
            case SettingKind::Integer: ASSERT_TRUE(store.WriteInt(Id(index), -1000 * index - 7)); break;
            case SettingKind::DateTime:
                ASSERT_TRUE(store.WriteDateTime(Id(index), DateTime::FromParts(1754 + index, 1 + index % 12, 28, index % 24, index, 59)));
                break;
            case SettingKind::Span: ASSERT_TRUE(store.WriteSpan(Id(index), DateTimeSpan(-324.08333333333331))); break;
            case SettingKind::Text:
                ASSERT_TRUE(store.WriteString(Id(index), "\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0 \"q\" \\ \t" + std::to_string(index)));
                break;
            }
        }
    }
    RegFileSettingsBackend backend = Backend();
    const SettingsStore store(backend, m_autostart, m_clock, m_location);
    for (int index = 0; index < kSettingCount; ++index) {
        SCOPED_TRACE(index);
        switch (DescribeSetting(Id(index))->kind) {
        case SettingKind::Integer: EXPECT_EQ(store.ReadInt(Id(index)), -1000 * index - 7); break;
        case SettingKind::DateTime: {
            DateTime value;
            EXPECT_TRUE(store.ReadDateTime(Id(index), value));
            EXPECT_EQ(value, DateTime::FromParts(1754 + index, 1 + index % 12, 28, index % 24, index, 59));
            break;
        }
        case SettingKind::Span: {
            DateTimeSpan value;
            EXPECT_TRUE(store.ReadSpan(Id(index), value));
            EXPECT_EQ(value.GetTotalDays(), -324.08333333333331);
            break;
        }
        case SettingKind::Text: {
            std::string text;
            EXPECT_TRUE(store.ReadString(Id(index), text));
            EXPECT_EQ(text, "\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0 \"q\" \\ \t" + std::to_string(index));
            break;
        }
        }
    }
    const std::string text = ReadFileBytes(FilePath());
    EXPECT_TRUE(text.starts_with("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Chronel]\n\"ActivePageNo\"=dword:fffffff9\n"));
    EXPECT_NE(text.find("\"DateFrom\"=\"1761 8 28 7 7 59\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"Span\"=\"-324.08333333333331438553\"\n"), std::string::npos);
}

TEST_F(RegFileSettingsTest, FreshProfileReadsDefaultsAndCreatesTheKey)
{
    const ScopedEnv config("XDG_CONFIG_HOME", m_config.Path().string());
    RegFileSettingsBackend backend = RegFileSettingsBackend::ForCurrentUser("Orvane", "Chronel");
    EXPECT_EQ(backend.FilePath(), FilePath());
    const SettingsStore store(backend, m_autostart, m_clock, m_location);
    EXPECT_EQ(store.ReadInt(SettingId::Visibled), 1);
    EXPECT_EQ(store.ReadInt(SettingId::ActivePageNo), 0);
    std::string lang;
    EXPECT_FALSE(store.ReadString(SettingId::Lang, lang));
    EXPECT_EQ(lang, "english");
    DateTime date;
    EXPECT_FALSE(store.ReadDateTime(SettingId::DateTo, date));
    EXPECT_EQ(date, DateTime::FromParts(2004, 11, 20, 14, 5, 0));
    EXPECT_EQ(ReadFileBytes(FilePath()), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Chronel]\n\n");
    EXPECT_EQ(std::filesystem::status(FilePath()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(RegFileSettingsTest, ReadsWhatAnotherCopyWroteMeanwhile)
{
    RegFileSettingsBackend mine = Backend();
    RegFileSettingsBackend other = Backend();
    ASSERT_TRUE(mine.SetValue("Lang", RegValue::Sz("english")));
    ASSERT_TRUE(other.SetValue("Lang", RegValue::Sz("russian")));
    EXPECT_EQ(mine.QueryValue("lang"), RegValue::Sz("russian"));
    WriteFileBytes(FilePath(), "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Orvane\\Chronel]\n\"Lang\"=\"german\"\n");
    EXPECT_EQ(mine.QueryValue("Lang"), RegValue::Sz("german"));
}

TEST_F(RegFileSettingsTest, EmptyNamesOpenNothing)
{
    RegFileSettingsBackend noKey(m_config.Path().string(), "", "Chronel");
    RegFileSettingsBackend noApp(m_config.Path().string(), "Orvane", "");
    RegFileSettingsBackend escaping(m_config.Path().string(), "..", "Chronel");
    for (RegFileSettingsBackend* backend : {&noKey, &noApp, &escaping}) {
        EXPECT_FALSE(backend->SetValue("Lang", RegValue::Sz("x")));
        EXPECT_FALSE(backend->QueryValue("Lang"));
    }
    EXPECT_TRUE(std::filesystem::is_empty(m_config.Path()));
}

TEST_F(RegFileSettingsTest, BadFilesGiveDefaultsAndAreNotDamaged)
{
    struct BadCase {
        const char* why;
        std::function<void(const std::string&)> make;
        bool rewritable;   // a write may rewrite the file, keeping what could be read
    };
    const std::string header = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Chronel]\n";
    const BadCase cases[] = {
        {"truncated", [&](const std::string& p) { WriteFileBytes(p, header + "\"HideToTray\"=dword:0000000"); }, true},
        {"duplicate keys and values",
         [&](const std::string& p) {
             WriteFileBytes(p, header + "\"HideToTray\"=dword:00000007\n" + header + "\"hidetotray\"=dword:00000002\n");
         },
         true},
        {"wrong type", [&](const std::string& p) { WriteFileBytes(p, header + "\"HideToTray\"=hex:01,02,03,04,05\n"); }, true},
        {"binary", [](const std::string& p) { WriteFileBytes(p, std::string("\x89PNG\r\n\x1A\n\0\0", 10)); }, false},
        {"huge",
         [&](const std::string& p) {
             WriteFileBytes(p, header + "\"HideToTray\"=dword:00000001\n");
             std::filesystem::resize_file(p, 100 * 1024 * 1024);
         },
         false},
        {"a folder in its place", [](const std::string& p) { std::filesystem::create_directory(p); }, false},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.why);
        std::filesystem::remove_all(FilePath());
        std::filesystem::create_directories(m_config / "Orvane");
        c.make(FilePath());
        const bool isFile = std::filesystem::is_regular_file(FilePath());
        const auto size = isFile ? std::filesystem::file_size(FilePath()) : 0;
        const std::string before = isFile && size < 1024 ? ReadFileBytes(FilePath()) : "";
        RegFileSettingsBackend backend = Backend();
        const SettingsStore store(backend, m_autostart, m_clock, m_location);
        const int hide = store.ReadInt(SettingId::HideToTray);
        EXPECT_EQ(hide, c.why == std::string("duplicate keys and values") ? 2 : 0);
        EXPECT_EQ(store.WriteInt(SettingId::CurTo, 1), c.rewritable);
        if (c.rewritable) {
            EXPECT_EQ(store.ReadInt(SettingId::CurTo), 1);
            EXPECT_EQ(store.ReadInt(SettingId::HideToTray), hide);
        } else if (isFile) {
            EXPECT_EQ(std::filesystem::file_size(FilePath()), size);
            if (!before.empty()) {
                EXPECT_EQ(ReadFileBytes(FilePath()), before);
            }
        }
    }
}

TEST_F(RegFileSettingsTest, UnreadableFileIsLeftAlone)
{
    RegFileSettingsBackend backend = Backend();
    ASSERT_TRUE(backend.SetValue("CurTo", RegValue::Dword(1)));
    std::filesystem::permissions(FilePath(), std::filesystem::perms::none);
    // Root reads any file: check as an ordinary user, in a child that gives root up.
    std::filesystem::permissions(m_config.Path(), std::filesystem::perms::all);
    std::filesystem::permissions(m_config / "Orvane", std::filesystem::perms::all);
    const pid_t child = Spawn([this] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            return 2;
        }
        RegFileSettingsBackend user = Backend();
        return user.QueryValue("CurTo") || user.SetValue("CurTo", RegValue::Dword(2)) ? 1 : 0;
    });
    EXPECT_EQ(ExitCode(child), 0);
    std::filesystem::permissions(FilePath(), std::filesystem::perms::owner_read);
    EXPECT_EQ(backend.QueryValue("CurTo"), RegValue::Dword(1));
}

TEST_F(RegFileSettingsTest, TwoProcessesWritingAtOnceLoseNothing)
{
    // Each writer checks after every write that its value is there: a writer that rewrote the file from
    // a stale copy would take the other's last value back.
    constexpr int kWrites = 1000;
    const auto writer = [this](SettingId id) {
        return [this, id] {
            RegFileSettingsBackend backend = Backend();
            const SettingsStore store(backend, m_autostart, m_clock, m_location);
            for (int i = 1; i <= kWrites; ++i) {
                if (!store.WriteInt(id, i) || store.ReadInt(id) != i) {
                    return 1;
                }
            }
            return 0;
        };
    };
    const pid_t years = Spawn(writer(SettingId::YearsPlus));
    const pid_t months = Spawn(writer(SettingId::MonthsPlus));
    // Meanwhile every read finds a whole file whose values only grow.
    RegFileSettingsBackend backend = Backend();
    const SettingsStore store(backend, m_autostart, m_clock, m_location);
    int lastYears = 0;
    int lastMonths = 0;
    for (int read = 0; read < 2000 && (lastYears < kWrites || lastMonths < kWrites); ++read) {
        const int y = store.ReadInt(SettingId::YearsPlus);
        const int m = store.ReadInt(SettingId::MonthsPlus);
        ASSERT_GE(y, lastYears);
        ASSERT_GE(m, lastMonths);
        lastYears = y;
        lastMonths = m;
    }
    EXPECT_EQ(ExitCode(years), 0);
    EXPECT_EQ(ExitCode(months), 0);
    EXPECT_EQ(store.ReadInt(SettingId::YearsPlus), kWrites);
    EXPECT_EQ(store.ReadInt(SettingId::MonthsPlus), kWrites);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_config / "Orvane"), {}), 1);
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
    // The next write clears what the killed writers left behind.
    ASSERT_TRUE(backend.SetValue("Lang", RegValue::Sz("english")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_config / "Orvane"), {}), 1);
}

}  // namespace
