#pragma once

#include "core/clock.h"

// The machine's clock and local time zone through the C library.
class SystemClock final : public Clock {
public:
    SystemTime Now() const override;
    std::optional<std::int64_t> UnixNow() const override;
    std::optional<SystemTime> LocalTimeAt(std::int64_t unixSeconds) const override;
    std::optional<std::int64_t> UnixTimeAt(const SystemTime& local) const override;
};

// The Unix time of local wall-clock fields in the process's time zone (mktime, daylight saving left to the
// C library); empty when the fields name no moment (30 February, hour 24) or the C library cannot
// convert them.
std::optional<std::int64_t> LocalFieldsToUnixSeconds(const SystemTime& time);
