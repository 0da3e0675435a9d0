#pragma once

#include <QTimer>
#include <memory>

#include <array>

#include "calc/calculation.h"
#include "pages/page_services.h"
#include "pages/page_widget.h"

class CountEditWidget;
class SpinButtonsWidget;
namespace Ui {
class CalculationPage;
}

// The Calculation page: the date-times an amount of time before and after a start.
class CalculationPage final : public PageWidget {
    Q_OBJECT
public:
    explicit CalculationPage(const PageServices& services, QWidget* parent = nullptr);
    ~CalculationPage() override;

    void LoadSettings() override;
    void SaveSettings() override;

    void RecomputeCalculation();
    // One tick of the page's one-second clock: a start that follows the clock moves to now.
    void OnClockTick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetStartToNow();
    void ChooseMonths(bool months);
    void ReplaceClampedText(CountEditWidget& edit, const QString& text);

    PageServices m_services;
    std::unique_ptr<Ui::CalculationPage> m_ui;
    std::array<CountEditWidget*, kCountFieldCount> m_edits{};
    std::array<SpinButtonsWidget*, kCountFieldCount> m_spins{};
    DateTime m_difference = DateTime::Invalid();
    DateTime m_sum = DateTime::Invalid();
    bool m_differenceAvailable = false;
    bool m_sumAvailable = false;
    QTimer m_clock;
};
