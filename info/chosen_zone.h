#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "core/clock.h"
#include "info/zone_model.h"
#include "info/zone_source.h"

// A zone read whole by its name; empty when the name is not one. The empty name is this computer's zone.
using ZoneLoader = std::function<std::optional<ZoneModel>(std::string_view name)>;

// The zone a page answers for, as a clock and a zone source that stay in place while the choice changes
// (the page's parts keep references to them): this computer's own clock and zone source, or another zone
// read whole, whose clock shows the computer clock's present on that zone's wall clocks.
class ChosenZone {
public:
    // Both must outlive this. This computer's zone is chosen.
    ChosenZone(const Clock& computerClock, const ZoneSource& computerZones);
    ~ChosenZone();
    ChosenZone(const ChosenZone&) = delete;
    ChosenZone& operator=(const ChosenZone&) = delete;

    // The zone named `name`, read by `load`; this computer's for an empty name. False, choosing this
    // computer, when the name is not empty and `load` is missing or reads no zone by it.
    bool Choose(std::string_view name, const ZoneLoader& load);

    const Clock& GetClock() const { return m_clock; }
    const ZoneSource& Zones() const { return m_zones; }
    // The chosen zone read whole; nullptr while this computer's is chosen.
    const ZoneModel* Model() const;

private:
    struct Other;

    class ForwardingClock final : public Clock {
    public:
        explicit ForwardingClock(const Clock& to) : m_to(&to) {}
        SystemTime Now() const override { return m_to->Now(); }
        std::optional<std::int64_t> UnixNow() const override { return m_to->UnixNow(); }
        std::optional<SystemTime> LocalTimeAt(std::int64_t unixSeconds) const override
        {
            return m_to->LocalTimeAt(unixSeconds);
        }
        std::optional<std::int64_t> UnixTimeAt(const SystemTime& local) const override
        {
            return m_to->UnixTimeAt(local);
        }
        const Clock* m_to;
    };

    class ForwardingZones final : public ZoneSource {
    public:
        explicit ForwardingZones(const ZoneSource& to) : m_to(&to) {}
        std::optional<ZoneRules> CurrentZoneRules() const override { return m_to->CurrentZoneRules(); }
        std::optional<LocalElapsed> ElapsedBetween(const DateTime& from, const DateTime& to) const override
        {
            return m_to->ElapsedBetween(from, to);
        }
        const ZoneModel* Model() const override { return m_to->Model(); }
        const ZoneSource* m_to;
    };

    const Clock& m_computerClock;
    const ZoneSource& m_computerZones;
    std::unique_ptr<Other> m_other;
    ForwardingClock m_clock;
    ForwardingZones m_zones;
};
