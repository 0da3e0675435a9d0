#pragma once

#include <memory>

#include "pages/info/time_info_tab.h"
#include "pages/page_services.h"
namespace Ui {
class MoonTab;
}

// The "Moon" sub-page of Time Info: the phase of the value as a percentage and a picture, and the
// previous and next full and new moons, each with a button that shows that moment. Astronomical times
// (the MoonAstronomical setting, off by default) shows the real moon instead of the mean lunation.
class MoonTab final : public TimeInfoTab {
    Q_OBJECT
public:
    explicit MoonTab(const PageServices& services, QWidget* parent = nullptr);
    ~MoonTab() override;

    // An invalid value shows "*" in every field and keeps the picture and the moments of the last refresh.
    void UpdateInfo(const DateTime& value) override;
    void LoadSettings() override;
    void SaveSettings() const override;

private:
    PageServices m_services;
    std::unique_ptr<Ui::MoonTab> m_ui;
    DateTime m_value = DateTime::Invalid();   // of the last refresh, for a change of Astronomical times
    // What the four buttons show; the zero moment until the first refresh.
    DateTime m_nextFull, m_previousFull, m_nextNew, m_previousNew;
};
