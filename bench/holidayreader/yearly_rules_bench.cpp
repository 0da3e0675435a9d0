// Loading a holiday file of 300 yearly rules, as a national calendar kept over centuries may hold: fixed
// days, nth weekdays and last weekdays of a month, each from its own year on. Must stay well within the
// reader's 2 s: libical is asked for one 400-year cycle per rule, the rest is carried by cycles.
#include <benchmark/benchmark.h>

#include <string>

#include "holidayreader/holiday_calendar.h"

namespace {

std::string ThreeHundredYearlyRules()
{
    const char* const kDays[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Chronel bench//EN\r\n";
    for (int i = 0; i < 300; ++i) {
        const std::string month = std::to_string(i % 12 + 1);
        std::string rule = "FREQ=YEARLY;BYMONTH=" + month;
        if (i % 3 == 0) {
            rule += ";BYMONTHDAY=" + std::to_string(i % 28 + 1);
        } else if (i % 3 == 1) {
            rule += ";BYDAY=" + std::to_string(i % 4 + 1) + kDays[i % 7];
        } else {
            rule += ";BYDAY=-1" + std::string(kDays[i % 7]);
        }
        text += "BEGIN:VEVENT\r\nUID:rule-" + std::to_string(i) +
                "@bench\r\nDTSTART;VALUE=DATE:" + std::to_string(1754 + i) + "0101\r\nRRULE:" + rule +
                "\r\nSUMMARY:Holiday\r\nEND:VEVENT\r\n";
    }
    return text + "END:VCALENDAR\r\n";
}

void BM_LoadThreeHundredYearlyRules(benchmark::State& state)
{
    const std::string file = ThreeHundredYearlyRules();
    for (auto _ : state) {
        const HolidayCalendar calendar = ReadHolidayCalendar(file);
        benchmark::DoNotOptimize(calendar.days.data());
    }
}
BENCHMARK(BM_LoadThreeHundredYearlyRules)->Unit(benchmark::kMillisecond);

}   // namespace
