#pragma once

#include <QTimer>
#include <memory>

#include "calc/difference.h"
#include "info/chosen_zone.h"
#include "pages/page_services.h"
#include "pages/page_widget.h"
namespace Ui {
class DifferencePage;
}

// The Difference page: how far apart a start and a final date-time are, each the wall time of its own zone
// (this computer's unless chosen); across two zones the elapsed line gives the real time between them.
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
    // Each end's chooser's zone; this computer's for one that cannot be read.
    void ChooseZones();
    ElapsedLine ComputeElapsed(const DateTime& start, const DateTime& final);
    // An end's zone read whole; this computer's, read once, for an end in this computer's zone.
    const ZoneModel* ModelOf(const ChosenZone& end);

    PageServices m_services;
    ChosenZone m_startZone;
    ChosenZone m_finalZone;
    std::optional<std::optional<ZoneModel>> m_computerModel;   // read at its first use
    std::unique_ptr<Ui::DifferencePage> m_ui;
    QTimer m_clock;
};
