#pragma once

#include <QTimer>
#include <memory>

#include <array>

#include "info/chosen_zone.h"
#include "pages/info/time_info_tab.h"
#include "pages/page_services.h"
#include "pages/page_widget.h"

class SunTab;
class TimeInfoTabWidget;

// The sub-pages of Time Info, in the order of their tabs.
enum InfoSubPageIndex {
    kGeneralInfoPage,
    kTimeZoneInfoPage,
    kMoonInfoPage,
    kHoroscopeInfoPage,
    kSunInfoPage,
    kInfoSubPageCount
};
namespace Ui {
class TimeInfoPage;
}

// The Time Info page: one date-time in, or the clock followed every second, and five sub-pages of facts
// about it (General, Time Zone, Moon, Horoscope, Sun), all for the zone chosen: this computer's or any other,
// whose wall time the input then is.
class TimeInfoPage final : public PageWidget {
    Q_OBJECT
public:
    explicit TimeInfoPage(const PageServices& services, QWidget* parent = nullptr);
    ~TimeInfoPage() override;

    // Activates the stored sub-page (General when the stored index is not one), fills the input and the
    // zone (this computer's when the stored one cannot be read), loads the sub-pages' own settings, starts
    // the clock and refreshes.
    void LoadSettings() override;
    // Writes the input, the zone, the active sub-page and the sub-pages' own settings.
    void SaveSettings() override;

    // Shows the value in both pickers, leaves the clock (Current unticked) and refreshes; an invalid
    // value changes nothing. A value outside the pickers' range shows as the nearest allowed moment.
    void ShowDateInfo(const DateTime& value);
    // Every sub-page anew from the pickers; the inputs are enabled exactly when Current is unticked.
    void Refresh();
    // One tick of the page's one-second clock: with Current ticked, the input moves to now.
    void OnClockTick();

    TimeInfoTabWidget& Sheet() const;
    TimeInfoTab& SubPage(InfoSubPageIndex index) const { return *m_subPages[static_cast<std::size_t>(index)]; }

private:
    void SetToNow();
    // The chooser's zone for every sub-page; this computer's when it cannot be read.
    void ChooseZone();
    // The chosen zone, shown at once: its present while following the clock.
    void ApplyZone();

    PageServices m_services;
    ChosenZone m_zone;
    PageServices m_zoneServices;   // what the sub-pages see: the chosen zone's clock and zone source
    std::unique_ptr<Ui::TimeInfoPage> m_ui;
    std::array<TimeInfoTab*, kInfoSubPageCount> m_subPages{};
    SunTab* m_sun;
    QTimer m_clock;
};
