#pragma once

#include <memory>

#include "pages/info/time_info_tab.h"
#include "pages/page_services.h"
namespace Ui {
class HoroscopeTab;
}

// The "Horoscope" sub-page of Time Info: the zodiac sign of the value's day and the animal of its year.
class HoroscopeTab final : public TimeInfoTab {
    Q_OBJECT
public:
    explicit HoroscopeTab(const PageServices& services, QWidget* parent = nullptr);
    ~HoroscopeTab() override;

    void UpdateInfo(const DateTime& value) override;

private:
    PageServices m_services;
    std::unique_ptr<Ui::HoroscopeTab> m_ui;
};
