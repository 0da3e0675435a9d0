#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>

#include <filesystem>
#include <memory>

#include "desktop/qt_locale_formatter.h"
#include "desktop/qt_zone_names.h"
#include "fakes/ui_environment.h"
#include "pages/info/time_info_page.h"
#include "platform/system_zone_source.h"
#include "settings/language_table.h"

namespace {

const std::filesystem::path kZoneSources = std::filesystem::path(__FILE__).parent_path() / "../../tests/data/tz";

// One tick of the Time Info page while it follows the clock, as the running program does it every second:
// both pickers move to now and all four sub-pages are worked out again, with the real locale texts, the
// language table reading english.lng, and the zone read from a Berlin zone file. At one tick a second,
// 100 us per tick is 0.01% of one core.
void BM_TimeInfoTickFollowingTheClock(benchmark::State& state)
{
    static int argc = 1;
    static char name[] = "chronel_bench";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QApplication> application;
    if (QApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QApplication>(argc, argv);
    }
    const FakeZoneFolder zones(kZoneSources);
    if (!zones.Ok()) {
        state.SkipWithError("zic could not build the zone folder");
        return;
    }
    const ScopedZoneEnv tz("TZ", (":" + zones.Path("Europe/Berlin")).c_str());

    UiEnvironment env;
    LanguageTable language(env.location);
    language.Load("english");
    const QtLocaleFormatter formatter;
    const SystemZoneSource zoneSource{QtZoneNames};
    const PageServices services{env.clock, formatter, env.settings, language, zoneSource, [](const DateTime&) {}};
    TimeInfoPage page(services);
    page.LoadSettings();
    page.findChild<QCheckBox*>("current")->click();
    DateTime now = DateTime::FromParts(2004, 12, 4, 13, 5, 9);
    for (auto _ : state) {
        now += DateTimeSpan(1.0 / 86400.0);
        env.clock.Set(*now.GetAsSystemTime());
        page.OnClockTick();
    }
}
BENCHMARK(BM_TimeInfoTickFollowingTheClock)->Unit(benchmark::kMicrosecond);

}   // namespace
