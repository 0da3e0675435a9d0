#include <benchmark/benchmark.h>

#include <sys/stat.h>

#include <filesystem>

#include "fakes/fake_autostart_list.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"
#include "platform/durable_file.h"
#include "platform/reg_file_settings_backend.h"
#include "settings/default_messages.h"
#include "settings/language_table.h"
#include "settings/settings_store.h"

namespace {

// The settings file with every setting stored, in a temporary configuration folder.
struct FullSettings {
    FullSettings()
    {
        for (int index = 0; index < kSettingCount; ++index) {
            const auto id = static_cast<SettingId>(index);
            switch (DescribeSetting(id)->kind) {
            case SettingKind::Integer:
                store.WriteInt(id, index);
                break;
            case SettingKind::DateTime:
                store.WriteDateTime(id, DateTime::FromParts(2004, 11, 20, 14, 5, 0));
                break;
            case SettingKind::Span:
                store.WriteSpan(id, DateTimeSpan(1.5));
                break;
            case SettingKind::Text:
                store.WriteString(id, "/home/user/Chronel/Templates");
                break;
            case SettingKind::TextList:
                store.WriteList(id, {"/home/user/Holidays/de.ics", "/home/user/Holidays/company.ics"});
                break;
            }
        }
    }

    TempFolder config;
    RegFileSettingsBackend backend{config.Path().string(), "Orvane", "Chronel"};
    FakeAutostartList autostart;
    FakeClock clock{SystemTime{2004, 11, 6, 20, 14, 5, 0, 0}};
    FakeProgramLocation location{"/opt/chronel/chronel"};
    SettingsStore store{backend, autostart, clock, location};
};

void BM_SettingsReadDateTime(benchmark::State& state)
{
    FullSettings settings;
    for (auto _ : state) {
        benchmark::DoNotOptimize(settings.store.ReadDateTime(SettingId::DateFrom));
    }
}
BENCHMARK(BM_SettingsReadDateTime);

// Every iteration changes the value, so each is a whole locked, durable rewrite of the file.
void BM_SettingsWriteInt(benchmark::State& state)
{
    FullSettings settings;
    int value = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(settings.store.WriteInt(SettingId::YearsPlus, ++value));
    }
}
BENCHMARK(BM_SettingsWriteInt)->Unit(benchmark::kMicrosecond);

// A settings file just under the size cap: ~90,000 values of every form, the one looked up last.
struct LargeSettings {
    LargeSettings()
    {
        const std::string key = "HKEY_CURRENT_USER\\Software\\Orvane\\Chronel";
        const std::string folder = "/home/user/Documents/Chronel/Templates/Monthly reports/t";
        RegDocument document;
        for (int i = 0; text.size() < RegFileSettingsBackend::kMaxFileBytes - 100'000; ++i) {
            const std::string name = "Value" + std::to_string(i);
            switch (i % 3) {
            case 0:
                document.Set(key, name, RegValue::Dword(static_cast<std::uint32_t>(i)));
                break;
            case 1:
                document.Set(key, name, RegValue::Sz("2004 11 20 14 5 " + std::to_string(i % 60)));
                break;
            default:
                document.Set(key, name, RegValue::Sz(folder + std::to_string(i)));
                break;
            }
            if (i % 1000 == 0) {
                text = FormatRegFile(document);
            }
        }
        document.Set(key, "Lang", RegValue::Sz("english"));
        text = FormatRegFile(document);
        values = document.Keys().front().values.size();
        std::filesystem::create_directories(config.Path() / "Orvane");
        WriteFileBytes(config / "Orvane/Chronel.reg", text);
    }

    TempFolder config;
    std::string text;
    std::size_t values = 0;
};

// Start-up with a file at the cap: a fresh backend parses the whole file for its first lookup.
void BM_SettingsOpenLargeFile(benchmark::State& state)
{
    const LargeSettings large;
    for (auto _ : state) {
        RegFileSettingsBackend backend(large.config.Path().string(), "Orvane", "Chronel");
        benchmark::DoNotOptimize(backend.QueryValue("lang"));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * large.text.size()));
    state.counters["file_bytes"] = static_cast<double>(large.text.size());
    state.counters["values"] = static_cast<double>(large.values);
}
BENCHMARK(BM_SettingsOpenLargeFile)->Unit(benchmark::kMillisecond);

// The floor: the same file read into a string and scanned once for the value.
void BM_SettingsOpenLargeFileFloor(benchmark::State& state)
{
    const LargeSettings large;
    const std::string path = large.config / "Orvane/Chronel.reg";
    for (auto _ : state) {
        const FileReadResult file = ReadFileLimited(path, RegFileSettingsBackend::kMaxFileBytes);
        benchmark::DoNotOptimize(file.bytes.find("\"Lang\"="));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * large.text.size()));
}
BENCHMARK(BM_SettingsOpenLargeFileFloor)->Unit(benchmark::kMillisecond);

// Every later lookup in the same file: a stat to see that it is unchanged, and a hash lookup.
void BM_SettingsLookupLargeFile(benchmark::State& state)
{
    const LargeSettings large;
    RegFileSettingsBackend backend(large.config.Path().string(), "Orvane", "Chronel");
    backend.QueryValue("Lang");
    for (auto _ : state) {
        benchmark::DoNotOptimize(backend.QueryValue("Value4711"));
    }
}
BENCHMARK(BM_SettingsLookupLargeFile);

// Its floor: the stat alone.
void BM_SettingsLookupLargeFileFloor(benchmark::State& state)
{
    const LargeSettings large;
    const std::string path = large.config / "Orvane/Chronel.reg";
    for (auto _ : state) {
        struct stat status {};
        benchmark::DoNotOptimize(stat(path.c_str(), &status));
    }
}
BENCHMARK(BM_SettingsLookupLargeFileFloor);

// english.lng as a start leaves it: every message and translator entry, and the window, menu and toolbar
// sections the translation walk writes.
struct EnglishFile {
    EnglishFile()
    {
        table.Load("english");
        for (int section = 0; section < 20; ++section) {
            for (int key = 0; key < 20; ++key) {
                table.WriteDefault("DialogID_144 - PageNo_" + std::to_string(section),
                                   "ID_" + std::to_string(1000 + key), "Some control text of ordinary length:");
            }
        }
    }

    TempFolder folder;
    FakeProgramLocation location{folder / "chronel"};
    LanguageTable table{location};
};

// A message lookup as the walks and the pages make it: the default is checked against english.lng and
// the text read, with no write.
void BM_LanguageLookupEnglish(benchmark::State& state)
{
    EnglishFile english;
    int id = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(english.table.GetString(id));
        id = (id + 1) % kMessageCount;
    }
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(english.folder / "english.lng"));
}
BENCHMARK(BM_LanguageLookupEnglish);

// The floor: english.lng read into a string and scanned once for the key.
void BM_LanguageLookupEnglishFloor(benchmark::State& state)
{
    EnglishFile english;
    const std::string path = english.folder / "english.lng";
    int id = 0;
    for (auto _ : state) {
        const FileReadResult file = ReadFileLimited(path, IniFile::kMaxIniFileBytes);
        benchmark::DoNotOptimize(file.bytes.find("ID_" + std::to_string(id) + "="));
        id = (id + 1) % kMessageCount;
    }
}
BENCHMARK(BM_LanguageLookupEnglishFloor);

}   // namespace
