#pragma once

#include <optional>

#include "info/time_zone_information.h"

// Pure code learns the computer's zone only through this.
class ZoneSource {
public:
    virtual ~ZoneSource() = default;
    // The zone as it is now; empty when the platform cannot tell it (the caller then keeps what it shows).
    virtual std::optional<TimeZoneInformation> GetTimeZoneInformation() const = 0;
};
