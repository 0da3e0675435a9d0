#pragma once

#include <cstdint>
#include <optional>

#include "core/date_time.h"
#include "info/zone_rules.h"

class ZoneModel;

// The real time between two local wall times of the computer's zone.
struct LocalElapsed {
    std::int64_t seconds = 0;   // negative when the second wall time names the earlier moment
    // The two wall times are read with different offsets from UTC, so the real time differs from the
    // wall-clock count by their difference.
    bool offsetChanged = false;
    // The two moments differ in daylight saving (tm_isdst), not only in offset: a change from local mean
    // time or of the standard offset leaves this clear.
    bool daylightChanged = false;
    friend bool operator==(const LocalElapsed&, const LocalElapsed&) = default;
};

// Pure code learns the computer's zone only through this.
class ZoneSource {
public:
    virtual ~ZoneSource() = default;
    // The zone as it is now; empty when the platform cannot tell it (the caller then keeps what it shows).
    virtual std::optional<ZoneRules> CurrentZoneRules() const = 0;
    // The real time from wall time `from` to wall time `to` by the zone's whole history; empty when the
    // zone keeps no daylight saving or the platform cannot tell.
    virtual std::optional<LocalElapsed> ElapsedBetween(const DateTime& from, const DateTime& to) const = 0;
    // The zone read whole, when the source has it (nullptr otherwise): the Time Zone sub-page then takes its
    // next changes from the zone's history, and words for present rules the zone record cannot hold.
    virtual const ZoneModel* Model() const { return nullptr; }
};
