#pragma once

#include "info/info_sub_page.h"
#include "shell/page_services.h"
#include "ui_info_horoscope_page.h"

// The "Horoscope" sub-page of Time Info: the zodiac sign of the value's day and the animal of its year.
class CDialogEvalInfoHoroscope final : public InfoSubPage {
    Q_OBJECT
public:
    explicit CDialogEvalInfoHoroscope(const PageServices& services, QWidget* parent = nullptr);

    void UpdateInfo(const DateTime& value) override;

private:
    PageServices m_services;
    Ui::CDialogEvalInfoHoroscope m_ui;
};
