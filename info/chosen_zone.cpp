#include "info/chosen_zone.h"

#include "info/model_zone_source.h"
#include "info/zone_clock.h"

struct ChosenZone::Other {
    Other(ZoneModel&& zone, const Clock& base) : model(std::move(zone)), clock(base, model), zones(model, clock) {}
    ZoneModel model;
    ZoneClock clock;
    ModelZoneSource zones;
};

ChosenZone::ChosenZone(const Clock& computerClock, const ZoneSource& computerZones)
    : m_computerClock(computerClock),
      m_computerZones(computerZones),
      m_clock(computerClock),
      m_zones(computerZones)
{
}

ChosenZone::~ChosenZone() = default;

bool ChosenZone::Choose(std::string_view name, const ZoneLoader& load)
{
    std::optional<ZoneModel> zone = !name.empty() && load ? load(name) : std::nullopt;
    m_clock.m_to = &m_computerClock;
    m_zones.m_to = &m_computerZones;
    m_other.reset();
    if (!zone) {
        return name.empty();
    }
    m_other = std::make_unique<Other>(std::move(*zone), m_computerClock);
    m_clock.m_to = &m_other->clock;
    m_zones.m_to = &m_other->zones;
    return true;
}

const ZoneModel* ChosenZone::Model() const
{
    return m_other ? &m_other->model : nullptr;
}
