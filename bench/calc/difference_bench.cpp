#include <benchmark/benchmark.h>

#include "calc/difference.h"

namespace {

void BM_ComputeDifference(benchmark::State& state)
{
    const DateTime start = DateTime::FromParts(1754, 1, 1, 0, 0, 0);
    const DateTime final = DateTime::FromParts(9998, 12, 31, 23, 59, 59);
    for (auto _ : state) {
        DifferenceTexts texts = ComputeDifference(start, final);
        benchmark::DoNotOptimize(texts);
    }
}
BENCHMARK(BM_ComputeDifference);

}   // namespace
