#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "info/sun_places.h"
#include "info/zone_clock.h"
#include "pages/info/time_info_tab.h"
#include "pages/page_services.h"
namespace Ui {
class SunTab;
}

// The "Sun" sub-page of Time Info: for a place, the value's day of sunrise, sunset, solar noon, the three
// twilights, day length and its change, the sun's altitude and azimuth at the value, and a drawing of the
// day. The place is the chosen zone's own (its zone.tab line) or one of the user's places (SunPlaces),
// each told in its zone's wall time.
class SunTab final : public TimeInfoTab {
    Q_OBJECT
public:
    explicit SunTab(const PageServices& services, QWidget* parent = nullptr);
    ~SunTab() override;

    // The zone the page answers for by name, empty for this computer: its place leads the list from the
    // next refresh.
    void SetZone(const std::string& zone);
    void UpdateInfo(const DateTime& value) override;
    void LoadSettings() override;
    void SaveSettings() const override;

    // The user's places, in the order the list shows them after the zone's place.
    const std::vector<SunPlace>& OwnPlaces() const { return m_ownPlaces; }
    // Adds a place, chooses it and refreshes.
    void AddPlace(const SunPlace& place);

private:
    // "Zone's place (Oslo, Norway)", or "Choose a place" for a zone without coordinates.
    QString ZonePlaceEntry() const;
    void FillPlaces();
    // The chosen entry's zone clock, when it is one of the user's places in a zone that reads.
    void ChoosePlace();
    void AskForPlace();
    void RemovePlace();

    PageServices m_services;
    std::unique_ptr<Ui::SunTab> m_ui;
    const ZonePlace* m_zonePlace = nullptr;   // of the chosen zone; nullptr for one without coordinates
    std::vector<SunPlace> m_ownPlaces;
    std::optional<ZoneModel> m_placeZone;   // the chosen own place's zone
    std::unique_ptr<ZoneClock> m_placeClock;
    DateTime m_value = DateTime::Invalid();
};
