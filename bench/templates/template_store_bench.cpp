#include <benchmark/benchmark.h>

#include <filesystem>

#include "fakes/fake_autostart_list.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_messages.h"
#include "fakes/fake_program_location.h"
#include "fakes/fake_settings_backend.h"
#include "fakes/temp_folder.h"
#include "templates/template_store.h"

namespace {

struct Store {
    Store() { std::filesystem::create_directory(folder / "Templates"); }

    TempFolder folder;
    FakeSettingsBackend backend;
    FakeAutostartList autostart;
    FakeClock clock{SystemTime{2004, 11, 6, 20, 14, 5, 0, 0}};
    FakeProgramLocation location{folder / "chronel"};
    SettingsStore settings{backend, autostart, clock, location};
    FakeMessages messages;
    TemplateStore store{settings, location, messages, nullptr};
};

// A template of a few kilobytes saved (durable replace) and loaded again, as an edit and a switch do.
void BM_TemplateSaveLoad(benchmark::State& state)
{
    Store store;
    std::string text;
    for (int line = 0; line < 100; ++line) {
        text += "Start date: %DSD%, overall years: %DY%\r\n";
    }
    for (auto _ : state) {
        store.store.SaveTemplate("Report", text);
        benchmark::DoNotOptimize(store.store.LoadTemplate("Report"));
    }
}
BENCHMARK(BM_TemplateSaveLoad)->Unit(benchmark::kMicrosecond);

}   // namespace
