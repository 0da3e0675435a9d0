#pragma once

#include "core/civil.h"
#include "core/clock.h"

// A settable clock in a fixed zone `offsetSeconds` east of UTC, without daylight saving.
class FakeClock final : public Clock {
public:
    explicit FakeClock(SystemTime now, int offsetSeconds = 0) : m_now(now), m_offsetSeconds(offsetSeconds) {}

    SystemTime Now() const override { return m_now; }
    std::optional<SystemTime> LocalTimeAt(std::int64_t unixSeconds) const override
    {
        // 1970-01-01 00:00:00 is stored as day 25569.
        const double days = static_cast<double>(unixSeconds + m_offsetSeconds) / 86400.0;
        return (DateTime::FromStoredValue(25569.0) + DateTimeSpan(days)).GetAsSystemTime();
    }
    std::optional<std::int64_t> UnixTimeAt(const SystemTime& local) const override
    {
        return civil::DaysFromCivil(local.year, local.month, local.day) * civil::kSecondsPerDay + local.hour * 3600 +
               local.minute * 60 + local.second - m_offsetSeconds;
    }
    void Set(SystemTime now) { m_now = now; }
    void Set(const DateTime& now) { m_now = *now.GetAsSystemTime(); }

private:
    SystemTime m_now;
    int m_offsetSeconds;
};
