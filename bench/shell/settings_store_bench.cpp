#include <benchmark/benchmark.h>

#include "fakes/fake_autostart_list.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"
#include "platform/reg_file_settings_backend.h"
#include "shell/settings_store.h"

namespace {

// The settings file with every one of the 36 settings stored, in a temporary configuration folder.
struct FullSettings {
    FullSettings()
    {
        for (int index = 0; index < kSettingCount; ++index) {
            const auto id = static_cast<SettingId>(index);
            switch (DescribeSetting(id)->kind) {
            case SettingKind::Integer: store.WriteInt(id, index); break;
            case SettingKind::DateTime: store.WriteDateTime(id, DateTime::FromParts(2004, 11, 20, 14, 5, 0)); break;
            case SettingKind::Span: store.WriteSpan(id, DateTimeSpan(1.5)); break;
            case SettingKind::Text: store.WriteString(id, "/home/user/Chronel/Templates"); break;
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
        DateTime value;
        benchmark::DoNotOptimize(settings.store.ReadDateTime(SettingId::DateFrom, value));
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

}  // namespace
