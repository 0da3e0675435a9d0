#pragma once

#include <string>

#include "core/system_time.h"

// What became of a request to set the system clock.
struct SetTimeResult {
    bool ok = false;
    std::string message;   // the system's own words when it refused, shown as is; may be empty
};

// Sets the computer's clock. Only the real implementation touches the clock; everything else, tests
// included, goes through this.
class ClockSetter {
public:
    virtual ~ClockSetter() = default;
    // Sets the system's local time to the record's calendar fields; day of week and milliseconds are
    // ignored (the clock is set to the whole second).
    virtual SetTimeResult SetClock(const SystemTime& time) = 0;
};
