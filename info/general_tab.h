#pragma once

#include "info/time_info_tab.h"
#include "pages/page_services.h"
#include "ui_general_tab.h"

// The "General" sub-page of Time Info: day of the week, leap year, day number, week number, quarter and
// season of the value.
class GeneralTab final : public TimeInfoTab {
    Q_OBJECT
public:
    explicit GeneralTab(const PageServices& services, QWidget* parent = nullptr);

    void UpdateInfo(const DateTime& value) override;

private:
    PageServices m_services;
    Ui::GeneralTab m_ui;
};
