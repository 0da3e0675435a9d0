#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

#include "core/civil.h"
#include "fakes/fake_zone_source.h"
#include "info/zone_model.h"

namespace {

const std::filesystem::path kZoneSources = std::filesystem::path(__FILE__).parent_path() / "../../tests/data/tz";

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Wall times of 1900 to 2100, a quarter of them in the days of the changes.
std::vector<DateTime> RandomWallTimes()
{
    std::mt19937 random(5545);
    std::uniform_int_distribution<int> years(1900, 2100), months(1, 12), days(1, 28), hours(0, 23), sixty(0, 59);
    std::vector<DateTime> walls;
    for (int i = 0; i < 4096; ++i) {
        const int month = i % 4 == 0 ? (i % 8 == 0 ? 3 : 10) : months(random);
        const int day = i % 4 == 0 ? 25 + days(random) % 7 : days(random);
        walls.push_back(DateTime::FromParts(years(random), month, day, hours(random), sixty(random), sixty(random)));
    }
    return walls;
}

// The floor: the same wall time as seconds read as UTC, which every answer needs anyway.
std::int64_t AsUtc(const DateTime& wall)
{
    return (wall - DateTime()).GetTotalSeconds() + civil::kOleEpochFromUnixDays * civil::kSecondsPerDay;
}

// One conversion (or one pair) per wall time, with the floor run on the same inputs between the passes;
// ns_op is the model's CPU time per operation, x_floor its ratio to the floor's.
void BM_ZoneModel(benchmark::State& state, bool elapsed)
{
    const FakeZoneFolder folder(kZoneSources);
    const std::optional<ZoneModel> berlin = ZoneModel::FromTzif(folder.Read("Europe/Berlin"));
    const std::vector<DateTime> walls = RandomWallTimes();
    std::vector<std::int64_t> wallSeconds;
    for (const DateTime& wall : walls) {
        wallSeconds.push_back(AsUtc(wall));
    }
    double own = 0.0, floor = 0.0;
    for (auto _ : state) {
        const double t0 = ThreadSeconds();
        for (std::size_t i = 0; i + 1 < walls.size(); ++i) {
            if (elapsed) {
                benchmark::DoNotOptimize(berlin->ElapsedBetween(walls[i], walls[i + 1]));
            } else {
                benchmark::DoNotOptimize(berlin->InstantOf(wallSeconds[i]));
            }
        }
        const double t1 = ThreadSeconds();
        for (std::size_t i = 0; i + 1 < walls.size(); ++i) {
            benchmark::DoNotOptimize(elapsed ? AsUtc(walls[i + 1]) - AsUtc(walls[i]) : AsUtc(walls[i]));
        }
        const double t2 = ThreadSeconds();
        own += t1 - t0;
        floor += t2 - t1;
        state.SetIterationTime(t1 - t0);
    }
    const double count = static_cast<double>(state.iterations()) * static_cast<double>(walls.size() - 1);
    state.counters["ns_op"] = own / count * 1e9;
    state.counters["floor_ns_op"] = floor / count * 1e9;
    state.counters["x_floor"] = own / floor;
}
BENCHMARK_CAPTURE(BM_ZoneModel, instant_of, false)->UseManualTime();
BENCHMARK_CAPTURE(BM_ZoneModel, elapsed_between, true)->UseManualTime();

// New York's whole history (235 changes of offset) from the reference tables' source, built here by zic.
struct LongHistory {
    TempFolder folder;
    std::optional<ZoneModel> zone;
    std::vector<std::int64_t> changes;   // the floor's table: the same changes, searched plainly
    LongHistory()
    {
        const std::string command = "/usr/sbin/zic -d '" + folder.Path().string() + "' '" +
                                    (kZoneSources / "world.zi").string() + "' 2>/dev/null";
        if (std::system(command.c_str()) == 0) {
            zone = ZoneModel::FromTzif(ReadFileBytes((folder.Path() / "America/New_York").string()));
        }
        for (auto at = zone ? zone->NextChange(INT64_MIN / 4) : std::nullopt; at && *at < 2145916800;
             at = zone->NextChange(*at)) {
            changes.push_back(*at);
        }
    }
};

// Instant to wall time (At) and wall time to instant (InstantOf) over 1900 to 2100, against a plain
// binary search of the zone's changes on the same inputs; x_floor is the ratio of the two.
void BM_LongHistory(benchmark::State& state, bool toWall)
{
    static const LongHistory history;
    if (!history.zone) {
        state.SkipWithError("zic could not build the zone");
        return;
    }
    std::mt19937_64 random(200);
    std::uniform_int_distribution<std::int64_t> seconds(-2208988800, 4102444799);
    std::vector<std::int64_t> inputs(4096);
    for (std::int64_t& input : inputs) {
        input = seconds(random);
    }
    double own = 0.0, floor = 0.0;
    for (auto _ : state) {
        const double t0 = ThreadSeconds();
        for (const std::int64_t input : inputs) {
            if (toWall) {
                benchmark::DoNotOptimize(history.zone->At(input));
            } else {
                benchmark::DoNotOptimize(history.zone->InstantOf(input));
            }
        }
        const double t1 = ThreadSeconds();
        for (const std::int64_t input : inputs) {
            benchmark::DoNotOptimize(std::upper_bound(history.changes.begin(), history.changes.end(), input));
        }
        const double t2 = ThreadSeconds();
        own += t1 - t0;
        floor += t2 - t1;
        state.SetIterationTime(t1 - t0);
    }
    const double count = static_cast<double>(state.iterations()) * static_cast<double>(inputs.size());
    state.counters["changes"] = static_cast<double>(history.changes.size());
    state.counters["ns_op"] = own / count * 1e9;
    state.counters["x_floor"] = own / floor;
}
BENCHMARK_CAPTURE(BM_LongHistory, instant_to_wall, true)->UseManualTime();
BENCHMARK_CAPTURE(BM_LongHistory, wall_to_instant, false)->UseManualTime();

}   // namespace
