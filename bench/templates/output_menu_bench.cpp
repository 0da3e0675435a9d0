#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "app/main_window.h"
#include "fakes/ui_environment.h"
#include "pages/templates/output_actions.h"
#include "qt_application.h"
#include "templates/substitution.h"

namespace {

// Opening Save >>: the menus built, translated (english.lng already current) and filled with values.
void BM_OpenOutputMenu(benchmark::State& state)
{
    BenchApplication();
    UiEnvironment env;
    MainWindow window(
        AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter, env.timeChanges});
    window.Output().ShowOutputMenu(OutputMode::Save, 0, nullptr);   // writes english.lng once
    for (auto _ : state) {
        window.Output().ShowOutputMenu(OutputMode::Save, 0, nullptr);
    }
}
BENCHMARK(BM_OpenOutputMenu)->Unit(benchmark::kMillisecond);

// A 10 kB template holding every macro ten times, expanded against the real pages.
void BM_ExpandTemplate(benchmark::State& state)
{
    BenchApplication();
    UiEnvironment env;
    MainWindow window(
        AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter, env.timeChanges});
    std::string source;
    while (source.size() < 10 * 1024) {
        for (const Macro& macro : kMacros) {
            source += "Some text around ";
            source += macro.code;
            source += ".\n";
        }
    }
    for (auto _ : state) {
        std::string text = source;
        Expand(text, window.PageValues(), env.clock, env.formatter);
        benchmark::DoNotOptimize(text);
    }
    state.counters["bytes"] = static_cast<double>(source.size());
}
BENCHMARK(BM_ExpandTemplate)->Unit(benchmark::kMicrosecond);

}   // namespace
