#pragma once

#include <cstdint>
#include <optional>

#include "core/date_time.h"
#include "core/system_time.h"

// Pure code gets the current time and the local calendar only through this.
class Clock {
public:
    virtual ~Clock() = default;
    // The current local wall-clock time, truncated to the whole second.
    virtual SystemTime Now() const = 0;
    // Local wall-clock fields of an instant of the Unix time scale; empty when the platform cannot
    // convert it.
    virtual std::optional<SystemTime> LocalTimeAt(std::int64_t unixSeconds) const = 0;
    // The instant of the Unix time scale whose local wall-clock fields are `local` (day of week and
    // milliseconds ignored), as mktime settles them with tm_isdst = -1: a time skipped or repeated by a
    // change of offset takes one of the offsets around it. Empty when the platform cannot convert it.
    virtual std::optional<std::int64_t> UnixTimeAt(const SystemTime& local) const = 0;
    // The present instant of the Unix time scale; by default read back from Now() (which cannot tell the
    // two instances of a repeated hour apart): the system clock answers it exactly.
    virtual std::optional<std::int64_t> UnixNow() const { return UnixTimeAt(Now()); }
};

// The current local time; invalid only when the clock reads outside the range.
DateTime GetNow(const Clock& clock);

// The local wall-clock time of a Unix instant, to the second; invalid before 1970 (as the native
// platform cannot convert those) or when the platform cannot convert it.
DateTime FromUnixTime(std::int64_t unixSeconds, const Clock& clock);

// The local time of the Unix instant 0: the value that stands for a missing date-time.
DateTime EpochMarker(const Clock& clock);
