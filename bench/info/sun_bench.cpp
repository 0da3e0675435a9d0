#include <benchmark/benchmark.h>

#include <time.h>

#include <random>
#include <vector>

#include "info/sun.h"

namespace {

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct Day {
    std::int64_t start = 0;
    GeoPoint place;
};

// Days of 1800 to 2200 anywhere on the Earth, polar ones included.
std::vector<Day> RandomDays()
{
    std::mt19937_64 random(30);
    std::uniform_int_distribution<std::int64_t> days(-62091, 84370);
    std::uniform_real_distribution<double> latitudes(-90.0, 90.0), longitudes(-180.0, 180.0);
    std::vector<Day> inputs(1024);
    for (Day& day : inputs) {
        day.place = {latitudes(random), longitudes(random)};
        day.start = days(random) * 86400 - static_cast<std::int64_t>(day.place.longitude / 15.0) * 3600;
    }
    return inputs;
}

// One day's full set of times per input, against the floor of one position of the sun on the same inputs;
// us_day is the CPU time of one day, x_floor its ratio to one position.
void BM_SunDay(benchmark::State& state)
{
    const std::vector<Day> inputs = RandomDays();
    double own = 0.0, floor = 0.0;
    for (auto _ : state) {
        const double t0 = ThreadSeconds();
        for (const Day& day : inputs) {
            benchmark::DoNotOptimize(ComputeSunDay(day.start, day.start + 86400, day.place));
        }
        const double t1 = ThreadSeconds();
        for (const Day& day : inputs) {
            benchmark::DoNotOptimize(SunPositionAt(day.start + 43200, day.place));
        }
        const double t2 = ThreadSeconds();
        own += t1 - t0;
        floor += t2 - t1;
        state.SetIterationTime(t1 - t0);
    }
    const double count = static_cast<double>(state.iterations()) * static_cast<double>(inputs.size());
    state.counters["us_day"] = own / count * 1e6;
    state.counters["floor_ns_position"] = floor / count * 1e9;
    state.counters["x_floor"] = own / floor;
}
BENCHMARK(BM_SunDay)->UseManualTime();

}   // namespace
