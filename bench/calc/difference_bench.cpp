#include <benchmark/benchmark.h>

#include <time.h>

#include <array>
#include <charconv>
#include <chrono>
#include <random>
#include <vector>

#include "calc/difference.h"
#include "core/calendar.h"

namespace {

using std::chrono::sys_seconds;

// One pair as both sides take it: the page's moments, and the same moments as std::chrono counts them.
struct Pair {
    DateTime start, final;
    sys_seconds startSeconds, finalSeconds;
};

// 3,127 pairs over the page's range in both orders; near ones lie under 31 days apart.
std::vector<Pair> MakePairs(bool near)
{
    using namespace std::chrono;
    std::mt19937_64 random(near ? 31 : 8244);
    std::uniform_int_distribution<std::int64_t> anywhere(
        sys_seconds{sys_days{year{1754} / 1 / 1}}.time_since_epoch().count(),
        sys_seconds{sys_days{year{9998} / 12 / 31} + hours{23} + minutes{59} + seconds{59}}.time_since_epoch().count());
    std::uniform_int_distribution<std::int64_t> within(-31 * 86400 + 1, 31 * 86400 - 1);
    const auto moment = [](sys_seconds t) {
        const sys_days day = floor<days>(t);
        const year_month_day ymd{day};
        const hh_mm_ss clock{t - day};
        return DateTime::FromParts(static_cast<int>(ymd.year()), static_cast<int>(unsigned{ymd.month()}),
                                   static_cast<int>(unsigned{ymd.day()}), static_cast<int>(clock.hours().count()),
                                   static_cast<int>(clock.minutes().count()),
                                   static_cast<int>(clock.seconds().count()));
    };
    std::vector<Pair> pairs;
    while (pairs.size() < 3127) {
        const sys_seconds start{seconds{anywhere(random)}};
        const sys_seconds final = near ? start + seconds{within(random)} : sys_seconds{seconds{anywhere(random)}};
        if (IsInPickerRange(moment(final))) {
            pairs.push_back({moment(start), moment(final), start, final});
        }
    }
    return pairs;
}

// The floor's fifteen texts: each in a buffer of its own, with its length.
struct FloorTexts {
    std::array<std::array<char, 24>, 15> text;
    std::array<std::size_t, 15> length;
};

// The same fifteen figures and texts in the plainest standard code: std::chrono's civil calendar for the
// dates and the time of day, std::to_chars for the texts.
FloorTexts FloorDifference(sys_seconds start, sys_seconds final)
{
    using namespace std::chrono;
    const bool reversed = final < start;
    const sys_seconds earlier = reversed ? final : start;
    const sys_seconds later = reversed ? start : final;
    const sys_days day0 = floor<days>(earlier), day1 = floor<days>(later);
    const year_month_day from{day0}, to{day1};
    const int fromYear = static_cast<int>(from.year()), toYear = static_cast<int>(to.year());
    const int fromMonth = static_cast<int>(unsigned{from.month()}), toMonth = static_cast<int>(unsigned{to.month()});
    const int fromDay = static_cast<int>(unsigned{from.day()}), toDay = static_cast<int>(unsigned{to.day()});
    int years = toYear - fromYear;
    int months = toYear != fromYear ? 12 - fromMonth + toMonth : toMonth - fromMonth;
    int calendarDays = toDay - fromDay;
    if (toDay < fromDay) {
        calendarDays +=
            static_cast<int>(unsigned{year_month_day_last{from.year(), month_day_last{from.month()}}.day()});
        --months;
    }
    if (months <= 11) {
        years -= years > 0 ? 1 : 0;
    } else {
        months -= 12;
    }
    const auto shifted = [](const sys_days day, const year_month_day& ymd) {
        return (day - sys_days{ymd.year() / January / 1}).count() + 1 - (ymd.year().is_leap() ? 1 : 0);
    };
    const auto d0 = shifted(day0, from), d1 = shifted(day1, to);
    const auto n = d1 > d0 ? d1 - d0 : (d1 < d0 ? d1 - d0 + 365 : 0);
    const std::int64_t total = (later - earlier).count();
    const std::int64_t dayCount = total / 86400;
    const hh_mm_ss clock{seconds{total % 86400}};
    const std::int64_t h = clock.hours().count(), mi = clock.minutes().count(), s = clock.seconds().count();
    const std::int64_t sign = reversed ? -1 : 1;
    const std::array<std::int64_t, 15> figures = {
        years,        months,   calendarDays, h,          mi,   s, n / 7, n % 7, years, years * 12 + months,
        dayCount / 7, dayCount, total / 3600, total / 60, total};
    FloorTexts texts;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        char* const first = texts.text[i].data();
        texts.length[i] = static_cast<std::size_t>(std::to_chars(first, first + 24, figures[i] * sign).ptr - first);
    }
    return texts;
}

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// ComputeDifference over every pair, with the floor run on the same pairs between the passes; the time
// shown is the difference's CPU time, x_floor its ratio to the floor's.
void BM_ComputeDifference(benchmark::State& state, bool near)
{
    const std::vector<Pair> pairs = MakePairs(near);
    double own = 0.0, floor = 0.0;
    for (auto _ : state) {
        const double t0 = ThreadSeconds();
        for (const Pair& pair : pairs) {
            DifferenceTexts texts = ComputeDifference(pair.start, pair.final);
            benchmark::DoNotOptimize(texts);
        }
        const double t1 = ThreadSeconds();
        for (const Pair& pair : pairs) {
            FloorTexts texts = FloorDifference(pair.startSeconds, pair.finalSeconds);
            benchmark::DoNotOptimize(texts);
        }
        const double t2 = ThreadSeconds();
        own += t1 - t0;
        floor += t2 - t1;
        state.SetIterationTime(t1 - t0);
    }
    const double count = static_cast<double>(state.iterations()) * static_cast<double>(pairs.size());
    state.counters["ns_pair"] = own / count * 1e9;
    state.counters["floor_ns_pair"] = floor / count * 1e9;
    state.counters["x_floor"] = own / floor;
}
BENCHMARK_CAPTURE(BM_ComputeDifference, near, true)->UseManualTime();
BENCHMARK_CAPTURE(BM_ComputeDifference, far, false)->UseManualTime();

// The floor alone over the same pairs.
void BM_ComputeDifferenceFloor(benchmark::State& state, bool near)
{
    const std::vector<Pair> pairs = MakePairs(near);
    for (auto _ : state) {
        for (const Pair& pair : pairs) {
            FloorTexts texts = FloorDifference(pair.startSeconds, pair.finalSeconds);
            benchmark::DoNotOptimize(texts);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * pairs.size()));
}
BENCHMARK_CAPTURE(BM_ComputeDifferenceFloor, near, true);
BENCHMARK_CAPTURE(BM_ComputeDifferenceFloor, far, false);

}   // namespace
