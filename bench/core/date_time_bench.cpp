#include <benchmark/benchmark.h>

#include "core/date_time.h"

namespace {

void BM_TakeApartIntoComponents(benchmark::State& state)
{
    DateTime value = DateTime::FromParts(2004, 3, 1, 13, 5, 9);
    const DateTimeSpan step(1.000011574);   // a day and a second, so no two runs see the same value
    for (auto _ : state) {
        const auto parts = value.GetParts();
        benchmark::DoNotOptimize(parts);
        value += step;
        if (!value.IsValid()) {
            value = DateTime::FromParts(1800, 1, 1, 0, 0, 0);
        }
    }
}
BENCHMARK(BM_TakeApartIntoComponents);

void BM_SixAccessors(benchmark::State& state)
{
    const DateTime value = DateTime::FromParts(2004, 3, 1, 13, 5, 9);
    for (auto _ : state) {
        benchmark::DoNotOptimize(value.GetYear() + value.GetMonth() + value.GetDay() + value.GetHour() +
                                 value.GetMinute() + value.GetSecond());
    }
}
BENCHMARK(BM_SixAccessors);

}   // namespace
