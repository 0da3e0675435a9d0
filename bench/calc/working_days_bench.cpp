#include <benchmark/benchmark.h>

#include <time.h>

#include <random>

#include "calc/difference.h"
#include "calc/working_days.h"

namespace {

const DateTime kStart = DateTime::FromParts(1754, 1, 1, 8, 30, 0);
const DateTime kFinal = DateTime::FromParts(9998, 12, 31, 17, 0, 0);

// Monday to Friday with 10,000 holidays spread over the whole span.
WorkingCalendar TenThousandHolidays()
{
    std::mt19937_64 random(10000);
    std::uniform_int_distribution<std::int64_t> anyDay(civil::DaysFromCivil(1754, 1, 1),
                                                       civil::DaysFromCivil(9998, 12, 31));
    std::vector<std::int64_t> holidays(10000);
    for (auto& day : holidays) {
        day = anyDay(random);
    }
    return WorkingCalendar(kMondayToFriday, std::move(holidays));
}

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// One working-day call over the whole span against ComputeDifference of the same two moments, run in turns;
// the time shown is the working days' CPU time, x_floor its ratio to the difference's.
template <typename Call>
void AgainstDifference(benchmark::State& state, Call call)
{
    constexpr int kCalls = 1000;
    double own = 0.0, floor = 0.0;
    for (auto _ : state) {
        const double t0 = ThreadSeconds();
        for (int i = 0; i < kCalls; ++i) {
            benchmark::DoNotOptimize(call());
        }
        const double t1 = ThreadSeconds();
        for (int i = 0; i < kCalls; ++i) {
            DifferenceTexts texts = ComputeDifference(kStart, kFinal);
            benchmark::DoNotOptimize(texts);
        }
        const double t2 = ThreadSeconds();
        own += t1 - t0;
        floor += t2 - t1;
        state.SetIterationTime(t1 - t0);
    }
    const double count = static_cast<double>(state.iterations()) * kCalls;
    state.counters["ns_call"] = own / count * 1e9;
    state.counters["floor_ns_call"] = floor / count * 1e9;
    state.counters["x_floor"] = own / floor;
}

void BM_WorkingDaysBetween(benchmark::State& state)
{
    const WorkingCalendar calendar = TenThousandHolidays();
    AgainstDifference(state, [&] { return WorkingDaysBetween(calendar, kStart, kFinal); });
}
BENCHMARK(BM_WorkingDaysBetween)->UseManualTime();

// As many working days as the span holds, forwards and back: across the whole span each time.
void BM_AddWorkingDays(benchmark::State& state)
{
    const WorkingCalendar calendar = TenThousandHolidays();
    const std::int64_t n = *WorkingDaysBetween(calendar, kStart, kFinal);
    bool forwards = false;
    AgainstDifference(state, [&] {
        forwards = !forwards;
        return forwards ? AddWorkingDays(calendar, kStart, n) : AddWorkingDays(calendar, kFinal, -n);
    });
}
BENCHMARK(BM_AddWorkingDays)->UseManualTime();

}   // namespace
