#pragma once

#include <memory>

#include "pages/info/time_info_tab.h"
#include "pages/page_services.h"
namespace Ui {
class GeneralTab;
}

// The "General" sub-page of Time Info: day of the week, leap year, day number, week number, ISO week,
// quarter and season of the value.
class GeneralTab final : public TimeInfoTab {
    Q_OBJECT
public:
    explicit GeneralTab(const PageServices& services, QWidget* parent = nullptr);
    ~GeneralTab() override;

    void UpdateInfo(const DateTime& value) override;

private:
    PageServices m_services;
    std::unique_ptr<Ui::GeneralTab> m_ui;
};
