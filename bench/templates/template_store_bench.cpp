#include <fcntl.h>
#include <unistd.h>

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

// The floor: the same bytes replaced durably by path with no link checks (temporary file, fsync, rename,
// fsync of the folder) and read back whole.
void BM_PlainDurableReplaceFloor(benchmark::State& state)
{
    TempFolder folder;
    const std::string path = folder / "Report.trt";
    const std::string temp = folder / ".Report.trt.tmp";
    std::string text;
    for (int line = 0; line < 100; ++line) {
        text += "Start date: %DSD%, overall years: %DY%\r\n";
    }
    for (auto _ : state) {
        const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        benchmark::DoNotOptimize(write(fd, text.data(), text.size()));
        fsync(fd);
        close(fd);
        rename(temp.c_str(), path.c_str());
        const int dir = open(folder.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        fsync(dir);
        close(dir);
        benchmark::DoNotOptimize(ReadFileBytes(path));
    }
}
BENCHMARK(BM_PlainDurableReplaceFloor)->Unit(benchmark::kMicrosecond);

}   // namespace
