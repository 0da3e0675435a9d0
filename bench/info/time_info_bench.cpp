#include <benchmark/benchmark.h>

#include <filesystem>

#include "fakes/fake_locale_formatter.h"
#include "fakes/fake_messages.h"
#include "fakes/fake_zone_source.h"
#include "info/calendar_facts.h"
#include "info/horoscope.h"
#include "info/moon_phase.h"
#include "info/posix_tz.h"
#include "info/time_zone.h"
#include "platform/qt_locale_formatter.h"
#include "platform/qt_zone_names.h"
#include "platform/system_zone_source.h"

namespace {

const std::filesystem::path kZoneSources = std::filesystem::path(__FILE__).parent_path() / "../../tests/data/tz";

// One refresh of the four sub-pages of Time Info, as the page runs it every second while it follows the
// clock, with the zone record already read.
void RefreshAll(const DateTime& t, const TimeZoneInformation& zone, const MessageSource& messages,
                const LocaleFormatter& formatter, benchmark::State& state)
{
    for (auto _ : state) {
        CalendarFactTexts facts = ComputeCalendarFacts(t, messages, formatter);
        TimeZoneTexts zoneTexts = ComputeTimeZoneTexts(zone, t, messages, formatter);
        MoonTexts moon = MoonFieldTexts(ComputeMoonPhase(t), formatter);
        HoroscopeTexts horoscope = ComputeHoroscope(t, messages);
        benchmark::DoNotOptimize(facts);
        benchmark::DoNotOptimize(zoneTexts);
        benchmark::DoNotOptimize(moon);
        benchmark::DoNotOptimize(horoscope);
    }
}

void BM_TimeInfoRefresh(benchmark::State& state)
{
    const auto zone = ZoneFromTzString("CET-1CEST,M3.5.0,M10.5.0/3");
    RefreshAll(DateTime::FromParts(2004, 12, 4, 13, 5, 9), *zone, FakeMessages(), FakeLocaleFormatter(), state);
}
BENCHMARK(BM_TimeInfoRefresh);

// The same with the locale texts made by Qt, as in the running program.
void BM_TimeInfoRefreshQtLocale(benchmark::State& state)
{
    const auto zone = ZoneFromTzString("CET-1CEST,M3.5.0,M10.5.0/3");
    RefreshAll(DateTime::FromParts(2004, 12, 4, 13, 5, 9), *zone, FakeMessages(), QtLocaleFormatter(), state);
}
BENCHMARK(BM_TimeInfoRefreshQtLocale);

// Reading the zone from the system: the zone file named by TZ, its footer, Qt's long names and the state.
void BM_ReadSystemZone(benchmark::State& state)
{
    const FakeZoneFolder folder(kZoneSources);
    if (!folder.Ok()) {
        state.SkipWithError("zic could not build the zone folder");
        return;
    }
    const ScopedZoneEnv tz("TZ", (":" + folder.Path("Europe/Berlin")).c_str());
    const SystemZoneSource source{QtZoneNames};
    for (auto _ : state) {
        auto zone = source.GetTimeZoneInformation();
        benchmark::DoNotOptimize(zone);
    }
}
BENCHMARK(BM_ReadSystemZone);

}   // namespace
