#include <benchmark/benchmark.h>

#include "calc/calculation.h"
#include "fakes/fake_locale_formatter.h"

namespace {

void BM_CalculationRecompute(benchmark::State& state)
{
    const FakeLocaleFormatter english;
    const CalculationInput input{
        DateTime::FromParts(2004, 3, 15, 10, 30, 0), {"1", "2", "3", "4", "5", "6", "7"}, true, false, false};
    for (auto _ : state) {
        CalculationResult result = ComputeCalculation(input, english);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_CalculationRecompute);

}   // namespace
