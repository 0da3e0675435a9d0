// Holiday calendars: whatever the bytes, reading ends without a fault, and what it gives is either a
// reason the reader's answer knows or holidays sorted, unique and within the span.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "holidayreader/holiday_calendar.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const HolidayCalendar calendar = ReadHolidayCalendar(std::string_view(reinterpret_cast<const char*>(data), size));
    const bool knownReason = calendar.reason == kNotCalendarCode || calendar.reason == kRepeatsCode;
    if (calendar.ok ? !calendar.reason.empty() : (!knownReason || !calendar.days.empty())) {
        std::abort();
    }
    for (std::size_t i = 0; i < calendar.days.size(); ++i) {
        const std::int64_t day = calendar.days[i];
        if (day < kFirstHolidayDay || day > kLastHolidayDay || (i > 0 && day <= calendar.days[i - 1])) {
            std::abort();
        }
    }
    return 0;
}
