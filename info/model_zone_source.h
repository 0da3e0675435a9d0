#pragma once

#include "core/clock.h"
#include "info/zone_model.h"
#include "info/zone_source.h"

// A zone source over one zone read whole, so that no answer asks the C library: the rules of its TZ
// string (the abbreviations as names) with the state at the clock's present instant, or, when it has no
// TZ string it can use, no daylight saving rules at its standard offset; the elapsed time by the model.
// The state is Unknown when the clock cannot tell its present instant.
class ModelZoneSource final : public ZoneSource {
public:
    // Both must outlive the source.
    ModelZoneSource(const ZoneModel& zone, const Clock& clock) : m_zone(zone), m_clock(clock) {}

    std::optional<ZoneRules> CurrentZoneRules() const override;
    std::optional<LocalElapsed> ElapsedBetween(const DateTime& from, const DateTime& to) const override
    {
        return m_zone.ElapsedBetween(from, to);
    }
    const ZoneModel* Model() const override { return &m_zone; }

private:
    const ZoneModel& m_zone;
    const Clock& m_clock;
};
