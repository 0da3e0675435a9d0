#pragma once

#include <QLabel>
#include <QString>
#include <memory>

#include <functional>

#include "calc/clock_setter.h"
#include "calc/rollback.h"
#include "pages/page_services.h"
#include "pages/page_widget.h"
namespace Ui {
class RollbackPage;
}

// The Rollback page: sets the computer's clock to a chosen date-time and later puts it back to real
// time, the time that passed meanwhile counted, also after a restart.
class RollbackPage final : public PageWidget {
    Q_OBJECT
public:
    // Shows an error to the user; tests capture the text instead of opening a modal box.
    using ErrorBox = std::function<void(QWidget* parent, const QString& text)>;

    RollbackPage(const PageServices& services, ClockSetter& setter, QWidget* parent = nullptr);
    ~RollbackPage() override;

    void LoadSettings() override;
    void SaveSettings() override;

    // The system's notice that its time changed, passed on by the main window.
    void TimeChanged();
    void SetErrorBox(ErrorBox box) { m_errorBox = std::move(box); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetToNow();
    void SetClock();
    void RestoreClock();
    // Writes whether the clock is changed and the span back to real time to the settings.
    void StoreState();
    void ShowFailure(bool restoring, const SetTimeResult& result);
    void UpdateDisplay();

    PageServices m_services;
    Rollback m_rollback;
    std::unique_ptr<Ui::RollbackPage> m_ui;
    ErrorBox m_errorBox;
    QLabel* m_damagedNote = nullptr;   // why Restore is not available
};
