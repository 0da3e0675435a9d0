#pragma once

#include <memory>

#include "pages/info/time_info_tab.h"
#include "pages/page_services.h"
namespace Ui {
class TimeZoneTab;
}

// The "Time Zone" sub-page of Time Info: the computer's zone, its daylight-saving rules, and the next
// change to daylight and to standard time after the value, each with a button that shows that moment.
class TimeZoneTab final : public TimeInfoTab {
    Q_OBJECT
public:
    explicit TimeZoneTab(const PageServices& services, QWidget* parent = nullptr);
    ~TimeZoneTab() override;

    // Asks the zone source afresh; a failed query leaves the whole sub-page as it was, and a zone
    // without rules keeps the moments of the last zone that had them.
    void UpdateInfo(const DateTime& value) override;

    const DateTime& NextBegin() const { return m_nextBegin; }
    const DateTime& NextEnd() const { return m_nextEnd; }

private:
    PageServices m_services;
    std::unique_ptr<Ui::TimeZoneTab> m_ui;
    DateTime m_nextBegin;
    DateTime m_nextEnd;
};
