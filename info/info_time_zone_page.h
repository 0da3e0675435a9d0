#pragma once

#include "info/info_sub_page.h"
#include "shell/page_services.h"
#include "ui_info_time_zone_page.h"

// The "Time Zone" sub-page of Time Info: the computer's zone, its daylight-saving rules, and the next
// change to daylight and to standard time after the value, each with a button that shows that moment.
class CDialogEvalInfoTimeZone final : public InfoSubPage {
    Q_OBJECT
public:
    explicit CDialogEvalInfoTimeZone(const PageServices& services, QWidget* parent = nullptr);

    // Asks the zone source afresh; a failed query leaves the whole sub-page as it was, and a zone
    // without rules keeps the moments of the last zone that had them.
    void UpdateInfo(const DateTime& value) override;

    const DateTime& NextBegin() const { return m_nextBegin; }
    const DateTime& NextEnd() const { return m_nextEnd; }

private:
    PageServices m_services;
    Ui::CDialogEvalInfoTimeZone m_ui;
    DateTime m_nextBegin;
    DateTime m_nextEnd;
};
