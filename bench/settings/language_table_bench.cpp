#include <benchmark/benchmark.h>

#include <filesystem>

#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"
#include "settings/default_messages.h"
#include "settings/language_table.h"

namespace {

// A message lookup with english.lng already holding every text: one read of the file for the default
// check, one for the value, and no write.
void BM_GetStringEnglishCurrent(benchmark::State& state)
{
    TempFolder folder;
    const FakeProgramLocation location(folder / "chronel");
    LanguageTable table(location);
    table.Load("english");
    // A file of realistic size: the window, menu and toolbar sections the walks write.
    for (int section = 0; section < 20; ++section) {
        for (int key = 0; key < 20; ++key) {
            table.WriteDefault("DialogID_144 - PageNo_" + std::to_string(section), "ID_" + std::to_string(1000 + key),
                               "Some control text of ordinary length:");
        }
    }
    const std::string path = folder / "english.lng";
    const auto stamp = std::filesystem::last_write_time(path);
    int id = 0;
    for (auto _ : state) {
        std::string text = table.GetString(id);
        benchmark::DoNotOptimize(text);
        id = (id + 1) % kMessageCount;
    }
    if (std::filesystem::last_write_time(path) != stamp) {
        state.SkipWithError("english.lng was rewritten");
    }
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_GetStringEnglishCurrent);

}   // namespace
