#pragma once

#include <QTimer>
#include <memory>

#include "pages/page_services.h"
#include "pages/page_widget.h"
namespace Ui {
class DifferencePage;
}

// The Difference page: how far apart a start and a final date-time are.
class DifferencePage final : public PageWidget {
    Q_OBJECT
public:
    explicit DifferencePage(const PageServices& services, QWidget* parent = nullptr);
    ~DifferencePage() override;

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
    std::unique_ptr<Ui::DifferencePage> m_ui;
    QTimer m_clock;
};
