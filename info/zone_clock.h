#pragma once

#include "core/clock.h"
#include "info/zone_model.h"

// Another zone's clock: the base clock's present instant, and every instant, shown on that zone's wall
// clocks; wall fields read back as ZoneModel::InstantOf reads them. The pages answer for any place by
// being handed one of these instead of the computer's clock.
class ZoneClock final : public Clock {
public:
    // Both must outlive the clock.
    ZoneClock(const Clock& base, const ZoneModel& zone) : m_base(base), m_zone(zone) {}

    SystemTime Now() const override;
    std::optional<std::int64_t> UnixNow() const override { return m_base.UnixNow(); }
    std::optional<SystemTime> LocalTimeAt(std::int64_t unixSeconds) const override;
    std::optional<std::int64_t> UnixTimeAt(const SystemTime& local) const override;

private:
    const Clock& m_base;
    const ZoneModel& m_zone;
};
