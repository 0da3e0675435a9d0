#include "pages/calc/rollback_page.h"

#include "ui_rollback_page.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QStyle>

#include "pages/page_settings.h"
#include "pages/translation.h"
#include "settings/settings_store.h"
#include "widgets/control_id.h"
#include "widgets/pickers.h"

namespace {

void ShowStopBox(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent, QCoreApplication::applicationName(), text, QMessageBox::Ok);
}

}   // namespace

RollbackPage::RollbackPage(const PageServices& services, ClockSetter& setter, QWidget* parent)
    : PageWidget(QStringLiteral("rollback"), parent),
      m_services(services),
      m_rollback(services.clock, setter),
      m_ui(std::make_unique<Ui::RollbackPage>()),
      m_errorBox(ShowStopBox)
{
    m_ui->setupUi(this);
    SetUpDatePicker(*m_ui->targetDate, RollbackEarliest(), RollbackLatest());
    SetUpTimePicker(*m_ui->targetTime);
    m_damagedNote = new QLabel(this);
    m_damagedNote->setWordWrap(true);
    m_damagedNote->hide();
    ExcludeFromTranslation(*m_damagedNote);
    m_ui->pageLayout->insertWidget(m_ui->pageLayout->count() - 1, m_damagedNote);

    connect(m_ui->now, &QPushButton::clicked, this, &RollbackPage::SetToNow);
    connect(m_ui->timeInfo, &QPushButton::clicked, this,
            [this] { m_services.showOnTimeInfo(ReadPickerDateTime(m_ui->targetDate, m_ui->targetTime)); });
    connect(m_ui->setClock, &QPushButton::clicked, this, &RollbackPage::SetClock);
    connect(m_ui->restoreClock, &QPushButton::clicked, this, &RollbackPage::RestoreClock);
    UpdateDisplay();
}

RollbackPage::~RollbackPage() = default;

void RollbackPage::LoadSettings()
{
    const SettingsStore& settings = m_services.settings;
    LoadPicker(*m_ui->targetDate, settings, SettingId::DateRollback);
    LoadPicker(*m_ui->targetTime, settings, SettingId::TimeRollback);
    std::string span;
    settings.ReadString(SettingId::Span, span);
    m_rollback.Load(settings.ReadInt(SettingId::Rollback) != 0, ParseStoredSpan(span));
    UpdateDisplay();
}

void RollbackPage::SaveSettings()
{
    const SettingsStore& settings = m_services.settings;
    SavePicker(*m_ui->targetDate, settings, SettingId::DateRollback);
    SavePicker(*m_ui->targetTime, settings, SettingId::TimeRollback);
    StoreState();
}

void RollbackPage::StoreState()
{
    // A damaged state stays on disk as it is, so the page keeps saying why until the next Set.
    if (m_rollback.Damaged()) {
        return;
    }
    const SettingsStore& settings = m_services.settings;
    settings.WriteInt(SettingId::Rollback, m_rollback.Changed() ? 1 : 0);
    settings.WriteSpan(SettingId::Span, m_rollback.Offset());
}

void RollbackPage::TimeChanged()
{
    if (m_rollback.TimeChanged()) {
        StoreState();
        UpdateDisplay();
    }
}

void RollbackPage::SetToNow()
{
    WritePickersNow(*m_ui->targetDate, *m_ui->targetTime, m_services.clock);
    UpdateDisplay();
}

void RollbackPage::SetClock()
{
    const std::optional<SetTimeResult> result = m_rollback.Set(ReadPickerDateTime(m_ui->targetDate, m_ui->targetTime));
    // Stored at once: a logout, a kill or a crash must not lose the way back.
    StoreState();
    UpdateDisplay();
    if (result && !result->ok) {
        ShowFailure(false, *result);
    }
}

void RollbackPage::RestoreClock()
{
    const std::optional<SetTimeResult> result = m_rollback.Restore();
    // A refused restore keeps the way back; stored at once like a Set, so a retry survives a restart.
    StoreState();
    UpdateDisplay();
    if (result && !result->ok) {
        ShowFailure(true, *result);
    }
}

void RollbackPage::ShowFailure(bool restoring, const SetTimeResult& result)
{
    if (m_errorBox) {
        m_errorBox(this,
                   QString::fromStdString(ClockErrorText(m_rollback, restoring, result.message, m_services.messages)));
    }
}

void RollbackPage::UpdateDisplay()
{
    ApplyControlStates(*this, RollbackControlStates(m_rollback.Changed()));
    m_ui->state->setText(QString::fromStdString(RollbackStateText(m_rollback, m_services.messages)));
    m_damagedNote->setText(m_rollback.Damaged() ? QString::fromStdString(m_services.messages.GetString(58))
                                                : QString());
    m_damagedNote->setVisible(m_rollback.Damaged());
}

// The icon comes when the page is first shown: looking it up in the desktop's icon theme costs a sixth of
// the program's start, and most starts never show this page.
void RollbackPage::showEvent(QShowEvent* event)
{
    if (m_ui->warningIcon->pixmap().isNull()) {
        const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        m_ui->warningIcon->setPixmap(
            style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(iconSize));
    }
    PageWidget::showEvent(event);
}
