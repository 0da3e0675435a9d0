#pragma once

#include "info/info_sub_page.h"
#include "shell/page_services.h"
#include "ui_info_general_page.h"

// The "General" sub-page of Time Info: day of the week, leap year, day number, week number, quarter and
// season of the value.
class CDialogEvalInfoGeneral final : public InfoSubPage {
    Q_OBJECT
public:
    explicit CDialogEvalInfoGeneral(const PageServices& services, QWidget* parent = nullptr);

    void UpdateInfo(const DateTime& value) override;

private:
    PageServices m_services;
    Ui::CDialogEvalInfoGeneral m_ui;
};
