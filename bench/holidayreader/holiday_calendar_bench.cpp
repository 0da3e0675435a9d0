// Loading a holiday file of 10,000 events: single days and three-day stretches, as a country's calendar
// gathered over decades looks, and 20 yearly rules. Must stay within 0.5 s. libical's iterator costs some
// 8 ms per yearly rule run to its end, so the rules, not the events, set the time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "holidayreader/holiday_calendar.h"

namespace {

std::string TenThousandEvents()
{
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Chronel bench//EN\r\n";
    for (int i = 0; i < 10000; ++i) {
        const civil::YearMonthDay date = civil::CivilFromDays(civil::DaysFromCivil(1990, 1, 1) + i * 3);
        char start[32];
        std::snprintf(start, sizeof start, "%04d%02d%02d", date.year, date.month, date.day);
        text += "BEGIN:VEVENT\r\nUID:event-" + std::to_string(i) + "@bench\r\nDTSTART;VALUE=DATE:" + start + "\r\n";
        if (i % 500 == 0) {
            text += "RRULE:FREQ=YEARLY\r\n";
        } else if (i % 10 == 1) {
            text += "DURATION:P3D\r\n";
        }
        text += "SUMMARY:Holiday\r\nEND:VEVENT\r\n";
    }
    return text + "END:VCALENDAR\r\n";
}

void BM_LoadTenThousandEventFile(benchmark::State& state)
{
    const std::string file = TenThousandEvents();
    for (auto _ : state) {
        const HolidayCalendar calendar = ReadHolidayCalendar(file);
        benchmark::DoNotOptimize(calendar.days.data());
    }
}
BENCHMARK(BM_LoadTenThousandEventFile)->Unit(benchmark::kMillisecond);

}   // namespace
