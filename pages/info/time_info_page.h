#pragma once

#include <QTimer>
#include <memory>

#include <array>

#include "pages/info/time_info_tab.h"
#include "pages/page_services.h"
#include "pages/page_widget.h"

class TimeInfoTabWidget;

// The sub-pages of Time Info, in the order of their tabs.
enum InfoSubPageIndex { kGeneralInfoPage, kTimeZoneInfoPage, kMoonInfoPage, kHoroscopeInfoPage, kInfoSubPageCount };
namespace Ui {
class TimeInfoPage;
}

// The Time Info page: one date-time in, or the clock followed every second, and four sub-pages of facts
// about it (General, Time Zone, Moon, Horoscope).
class TimeInfoPage final : public PageWidget {
    Q_OBJECT
public:
    explicit TimeInfoPage(const PageServices& services, QWidget* parent = nullptr);
    ~TimeInfoPage() override;

    // Activates the stored sub-page (General when the stored index is not one), fills the input, loads
    // the sub-pages' own settings, starts the clock and refreshes.
    void LoadSettings() override;
    // Writes the input, the active sub-page and the sub-pages' own settings.
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

    PageServices m_services;
    std::unique_ptr<Ui::TimeInfoPage> m_ui;
    std::array<TimeInfoTab*, kInfoSubPageCount> m_subPages{};
    QTimer m_clock;
};
