#pragma once

#include "info/time_info_tab.h"
#include "pages/page_services.h"
#include "ui_horoscope_tab.h"

// The "Horoscope" sub-page of Time Info: the zodiac sign of the value's day and the animal of its year.
class HoroscopeTab final : public TimeInfoTab {
    Q_OBJECT
public:
    explicit HoroscopeTab(const PageServices& services, QWidget* parent = nullptr);

    void UpdateInfo(const DateTime& value) override;

private:
    PageServices m_services;
    Ui::HoroscopeTab m_ui;
};
