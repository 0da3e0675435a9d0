#pragma once

#include "core/clock.h"

// The machine's clock and local time zone through the C library.
class SystemClock final : public Clock {
public:
    SystemTime Now() const override;
    std::optional<SystemTime> LocalTimeAt(std::int64_t unixSeconds) const override;
    std::optional<std::int64_t> UnixTimeAt(const SystemTime& local) const override;
};
