#pragma once

#include <string>

#include "core/system_time.h"

// Which time the computer keeps now. Unknown is what the platform reports for a zone without daylight
// saving rules; callers treat it like Standard.
enum class ZoneState { Unknown, Standard, Daylight };

// The computer's zone in the form of the Windows TIME_ZONE_INFORMATION record.
// A change rule is in day-in-month form: month [1, 12], dayOfWeek 0 = Sunday ... 6 = Saturday, day the
// occurrence of that weekday (1..4 first to fourth, 5 last, 0 no rule), and the local time of the change
// (the time in force before it). Its year and milliseconds are not used.
struct TimeZoneInformation {
    int bias = 0;   // minutes; UTC = local time + bias
    std::string standardName;
    std::string daylightName;
    SystemTime daylightDate;   // the change from standard to daylight time
    SystemTime standardDate;   // the change from daylight back to standard time
    ZoneState state = ZoneState::Unknown;

    friend bool operator==(const TimeZoneInformation&, const TimeZoneInformation&) = default;
};
