#include "info/model_zone_source.h"

#include "info/rule_words.h"
#include "info/time_zone.h"

std::optional<ZoneRules> ModelZoneSource::CurrentZoneRules() const
{
    std::optional<ZoneRules> zone = m_zone.PresentRules();
    const std::optional<PosixTzRules>& footer = m_zone.FooterRules();
    if (!zone || !(HasDstRules(*zone) || (footer && ChangesBeyondRecord(*footer)))) {
        return zone;
    }
    const std::optional<std::int64_t> instant = m_clock.UnixTimeAt(m_clock.Now());
    if (!instant) {
        return zone;
    }
    // By the offset, not the daylight flag: with negative daylight saving the zone calls winter daylight
    // time, while the record's standard time is the smaller offset.
    const bool inDaylight = m_zone.At(*instant).offsetSeconds != -zone->bias * 60;
    zone->state = inDaylight ? ZoneState::Daylight : ZoneState::Standard;
    return zone;
}
