#include <benchmark/benchmark.h>

#include <time.h>

#include <filesystem>

#include "desktop/qt_locale_formatter.h"
#include "desktop/qt_zone_names.h"
#include "fakes/fake_locale_formatter.h"
#include "fakes/fake_messages.h"
#include "fakes/fake_zone_source.h"
#include "info/calendar_facts.h"
#include "info/horoscope.h"
#include "info/moon_phase.h"
#include "info/posix_tz.h"
#include "info/time_zone.h"
#include "platform/system_zone_source.h"

namespace {

const std::filesystem::path kZoneSources = std::filesystem::path(__FILE__).parent_path() / "../../tests/data/tz";

// One refresh of the four sub-pages of Time Info, as the page runs it every second while it follows the
// clock, with the zone record already read.
void RefreshOnce(const DateTime& t, const ZoneRules& zone, const MessageSource& messages,
                 const LocaleFormatter& formatter)
{
    CalendarFactTexts facts = ComputeCalendarFacts(t, messages, formatter);
    TimeZoneTexts zoneTexts = ComputeTimeZoneTexts(zone, t, messages, formatter);
    MoonTexts moon = MoonFieldTexts(ComputeMoonPhase(t), formatter);
    HoroscopeTexts horoscope = ComputeHoroscope(t, messages);
    benchmark::DoNotOptimize(facts);
    benchmark::DoNotOptimize(zoneTexts);
    benchmark::DoNotOptimize(moon);
    benchmark::DoNotOptimize(horoscope);
}

const DateTime kMoment = DateTime::FromParts(2004, 12, 4, 13, 5, 9);
const char kZone[] = "CET-1CEST,M3.5.0,M10.5.0/3";

void BM_TimeInfoRefresh(benchmark::State& state)
{
    const auto zone = ZoneFromTzString(kZone);
    const FakeMessages messages;
    const FakeLocaleFormatter formatter;
    for (auto _ : state) {
        RefreshOnce(kMoment, *zone, messages, formatter);
    }
}
BENCHMARK(BM_TimeInfoRefresh);

double ThreadCpuNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// The same with the locale texts made by Qt, as in the running program. Its floor is the refresh with the
// fixed formatter above, whose texts cost next to nothing: after the timed loop both run in turns of 1,000
// refreshes, in CPU time so that other load falls on both alike, and "x_floor" is the ratio.
void BM_TimeInfoRefreshQtLocale(benchmark::State& state)
{
    const auto zone = ZoneFromTzString(kZone);
    const FakeMessages messages;
    const QtLocaleFormatter qt;
    const FakeLocaleFormatter fixed;
    for (auto _ : state) {
        RefreshOnce(kMoment, *zone, messages, qt);
    }
    double qtTime = 0.0;
    double floorTime = 0.0;
    for (int turn = 0; turn < 20; ++turn) {
        const bool qtFirst = turn % 2 == 0;
        for (const LocaleFormatter* formatter : {qtFirst ? static_cast<const LocaleFormatter*>(&qt) : &fixed,
                                                 qtFirst ? static_cast<const LocaleFormatter*>(&fixed) : &qt}) {
            const double start = ThreadCpuNanoseconds();
            for (int i = 0; i < 1000; ++i) {
                RefreshOnce(kMoment, *zone, messages, *formatter);
            }
            (formatter == &qt ? qtTime : floorTime) += ThreadCpuNanoseconds() - start;
        }
    }
    state.counters["floor_ns"] = floorTime / 20'000;
    state.counters["x_floor"] = qtTime / floorTime;
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
        auto zone = source.CurrentZoneRules();
        benchmark::DoNotOptimize(zone);
    }
}
BENCHMARK(BM_ReadSystemZone);

}   // namespace
