#pragma once

#include <QTimer>

#include "shell/page_frame_widget.h"
#include "shell/page_services.h"
#include "ui_range_page.h"

// The Difference page: how far apart a start and a final date-time are.
class CDialogEvalRange final : public PageWidget {
    Q_OBJECT
public:
    explicit CDialogEvalRange(const PageServices& services, QWidget* parent = nullptr);

    void LoadSettings() override;
    void SaveSettings() override;

    void RecomputeDifference();
    // One tick of the page's one-second clock: an end that follows the clock moves to now.
    void OnClockTick();

private:
    void SetStartToNow();
    void SetFinalToNow();
    void UpdateEnabledStates();

    PageServices m_services;
    Ui::CDialogEvalRange m_ui;
    QTimer m_clock;
};
