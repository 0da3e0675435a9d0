#include <benchmark/benchmark.h>

#include <time.h>

#include <array>
#include <charconv>
#include <chrono>
#include <string>

#include "calc/calculation.h"
#include "fakes/fake_locale_formatter.h"

namespace {

const std::array<std::string, kCountFieldCount> kCounts = {"1", "2", "3", "4", "5", "6", "7"};

// The same two results and their texts in the plainest standard code: std::from_chars for the counts,
// std::chrono's civil calendar for the steps, and the same formatter for the texts.
std::array<std::string, 4> FloorCalculation(std::chrono::sys_seconds start,
                                            const std::array<std::string, kCountFieldCount>& texts,
                                            const LocaleFormatter& formatter)
{
    using namespace std::chrono;
    std::array<int, kCountFieldCount> counts{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::from_chars(texts[i].data(), texts[i].data() + texts[i].size(), counts[i]);
    }
    const sys_days day = floor<days>(start);
    const year_month_day date{day};
    const seconds span =
        days{counts[kDays]} + hours{counts[kHours]} + minutes{counts[kMinutes]} + seconds{counts[kSeconds]};
    std::array<std::string, 4> result;
    for (const int direction : {-1, 1}) {
        const year_month_day stepped = date + years{direction * counts[kYears]} + months{direction * counts[kMonths]};
        const sys_seconds moment = sys_days{stepped} + (start - day) + direction * span;
        const sys_days resultDay = floor<days>(moment);
        const year_month_day ymd{resultDay};
        const hh_mm_ss clock{moment - resultDay};
        const SystemTime record{static_cast<std::uint16_t>(static_cast<int>(ymd.year())),
                                static_cast<std::uint16_t>(unsigned{ymd.month()}),
                                static_cast<std::uint16_t>(weekday{resultDay}.c_encoding()),
                                static_cast<std::uint16_t>(unsigned{ymd.day()}),
                                static_cast<std::uint16_t>(clock.hours().count()),
                                static_cast<std::uint16_t>(clock.minutes().count()),
                                static_cast<std::uint16_t>(clock.seconds().count()),
                                0};
        const std::size_t first = direction < 0 ? 0 : 2;
        result[first] = formatter.LongDate(record);
        result[first + 1] = formatter.Time(record);
    }
    return result;
}

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Batches of recomputes, with the floor run between the batches; the time shown is the recomputes' CPU
// time, x_floor its ratio to the floor's.
void BM_CalculationRecompute(benchmark::State& state)
{
    constexpr int kBatch = 256;
    const FakeLocaleFormatter english;
    const CalculationInput input{DateTime::FromParts(2004, 3, 15, 10, 30, 0), kCounts, true, false, false};
    const std::chrono::sys_seconds start{std::chrono::sys_days{std::chrono::year{2004} / 3 / 15} +
                                         std::chrono::hours{10} + std::chrono::minutes{30}};
    double own = 0.0, floor = 0.0;
    for (auto _ : state) {
        const double t0 = ThreadSeconds();
        for (int i = 0; i < kBatch; ++i) {
            CalculationResult result = ComputeCalculation(input, english);
            benchmark::DoNotOptimize(result);
        }
        const double t1 = ThreadSeconds();
        for (int i = 0; i < kBatch; ++i) {
            std::array<std::string, 4> texts = FloorCalculation(start, kCounts, english);
            benchmark::DoNotOptimize(texts);
        }
        const double t2 = ThreadSeconds();
        own += t1 - t0;
        floor += t2 - t1;
        state.SetIterationTime(t1 - t0);
    }
    const double count = static_cast<double>(state.iterations()) * kBatch;
    state.SetItemsProcessed(static_cast<std::int64_t>(count));
    state.counters["ns"] = own / count * 1e9;
    state.counters["floor_ns"] = floor / count * 1e9;
    state.counters["x_floor"] = own / floor;
}
BENCHMARK(BM_CalculationRecompute)->UseManualTime();

// The floor alone.
void BM_CalculationRecomputeFloor(benchmark::State& state)
{
    const FakeLocaleFormatter english;
    const std::chrono::sys_seconds start{std::chrono::sys_days{std::chrono::year{2004} / 3 / 15} +
                                         std::chrono::hours{10} + std::chrono::minutes{30}};
    for (auto _ : state) {
        std::array<std::string, 4> texts = FloorCalculation(start, kCounts, english);
        benchmark::DoNotOptimize(texts);
    }
}
BENCHMARK(BM_CalculationRecomputeFloor);

}   // namespace
