#include "pages/calc/calculation_page.h"

#include "ui_calculation_page.h"

#include <QApplication>
#include <QKeyEvent>

#include "core/calendar.h"
#include "core/count_text.h"
#include "pages/page_settings.h"
#include "pages/working_days_source.h"
#include "settings/settings_store.h"
#include "widgets/control_id.h"
#include "widgets/count_edit_widget.h"
#include "widgets/pickers.h"
#include "widgets/spin_buttons_widget.h"

namespace {

constexpr std::array<SettingId, kCountFieldCount> kCountSettings = {
    SettingId::YearsPlus, SettingId::MonthsPlus,  SettingId::WeeksPlus,   SettingId::DaysPlus,
    SettingId::HoursPlus, SettingId::MinutesPlus, SettingId::SecondsPlus,
};

}   // namespace

CalculationPage::CalculationPage(const PageServices& services, QWidget* parent)
    : PageWidget(QStringLiteral("calc"), parent),
      m_services(services),
      m_ui(std::make_unique<Ui::CalculationPage>())
{
    m_ui->setupUi(this);
    SetUpDatePicker(*m_ui->startDate, PickerEarliest(), PickerLatest());
    SetUpTimePicker(*m_ui->startTime);
    connect(m_ui->startDate, &QDateTimeEdit::dateTimeChanged, this, &CalculationPage::RecomputeCalculation);
    connect(m_ui->startTime, &QDateTimeEdit::dateTimeChanged, this, &CalculationPage::RecomputeCalculation);

    m_edits = {m_ui->years, m_ui->months, m_ui->weeks, m_ui->days, m_ui->hours, m_ui->minutes, m_ui->seconds};
    m_spins = {m_ui->yearsSpin, m_ui->monthsSpin,  m_ui->weeksSpin,  m_ui->daysSpin,
               m_ui->hoursSpin, m_ui->minutesSpin, m_ui->secondsSpin};
    const std::array<QPushButton*, kCountFieldCount> zeros = {m_ui->yearsZero,  m_ui->monthsZero, m_ui->weeksZero,
                                                              m_ui->daysZero,   m_ui->hoursZero,  m_ui->minutesZero,
                                                              m_ui->secondsZero};
    for (int i = 0; i < kCountFieldCount; ++i) {
        m_spins[i]->SetBuddy(m_edits[i]);
        m_spins[i]->SetRange(0, kLargestCount);
        m_edits[i]->setText(QStringLiteral("0"));
        connect(m_edits[i], &QLineEdit::textChanged, this, &CalculationPage::RecomputeCalculation);
        SpinButtonsWidget* spin = m_spins[i];
        CountEditWidget* edit = m_edits[i];
        // The button disables itself; the focus stays with the count it set, not the next one's text,
        // and the 0 is selected so that a digit typed next replaces it.
        connect(zeros[i], &QPushButton::clicked, spin, [spin, edit] {
            spin->SetPosition(0);
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        });
    }

    // The two choices are kept exclusive by hand: settings written elsewhere may select neither or both,
    // and the page shows that as it is until the user clicks one.
    m_ui->monthsChoice->setAutoExclusive(false);
    m_ui->weeksChoice->setAutoExclusive(false);
    // Still one group for the keyboard: the arrow keys move between them as between radio buttons.
    m_ui->monthsChoice->installEventFilter(this);
    m_ui->weeksChoice->installEventFilter(this);
    connect(m_ui->monthsChoice, &QRadioButton::clicked, this, [this] { ChooseMonths(true); });
    connect(m_ui->weeksChoice, &QRadioButton::clicked, this, [this] { ChooseMonths(false); });
    m_ui->monthsChoice->setChecked(true);

    connect(m_ui->startCurrent, &QCheckBox::clicked, this, &CalculationPage::RecomputeCalculation);
    connect(m_ui->workingDays, &QCheckBox::clicked, this, &CalculationPage::RecomputeCalculation);
    if (m_services.workingDays != nullptr) {
        connect(m_services.workingDays, &WorkingDaysSource::changed, this, &CalculationPage::RecomputeCalculation);
    }
    connect(m_ui->startNow, &QPushButton::clicked, this, &CalculationPage::SetStartToNow);
    connect(m_ui->startTimeInfo, &QPushButton::clicked, this,
            [this] { m_services.showOnTimeInfo(ReadPickerDateTime(m_ui->startDate, m_ui->startTime)); });
    connect(m_ui->differenceTimeInfo, &QPushButton::clicked, this, [this] {
        if (m_differenceAvailable) {
            m_services.showOnTimeInfo(m_difference);
        }
    });
    connect(m_ui->sumTimeInfo, &QPushButton::clicked, this, [this] {
        if (m_sumAvailable) {
            m_services.showOnTimeInfo(m_sum);
        }
    });
    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &CalculationPage::OnClockTick);
}

CalculationPage::~CalculationPage() = default;

void CalculationPage::LoadSettings()
{
    const SettingsStore& settings = m_services.settings;
    LoadPicker(*m_ui->startDate, settings, SettingId::DateStart);
    LoadPicker(*m_ui->startTime, settings, SettingId::TimeStart);
    m_ui->startCurrent->setChecked(settings.ReadInt(SettingId::CurStart) != 0);
    m_ui->monthsChoice->setChecked(settings.ReadInt(SettingId::IsMonthsPlus) != 0);
    m_ui->weeksChoice->setChecked(settings.ReadInt(SettingId::IsWeeksPlus) != 0);
    m_ui->workingDays->setChecked(settings.ReadInt(SettingId::CalcWorkingDays) != 0);
    // The stored number goes into the edit as it was saved, negative ones included.
    for (int i = 0; i < kCountFieldCount; ++i) {
        m_edits[i]->setText(QString::number(settings.ReadInt(kCountSettings[i])));
    }
    RecomputeCalculation();
}

void CalculationPage::SaveSettings()
{
    const SettingsStore& settings = m_services.settings;
    SavePicker(*m_ui->startDate, settings, SettingId::DateStart);
    SavePicker(*m_ui->startTime, settings, SettingId::TimeStart);
    settings.WriteInt(SettingId::CurStart, m_ui->startCurrent->isChecked() ? 1 : 0);
    for (int i = 0; i < kCountFieldCount; ++i) {
        settings.WriteInt(kCountSettings[i], ReadCount(m_edits[i]->text().toStdString()));
    }
    settings.WriteInt(SettingId::IsMonthsPlus, m_ui->monthsChoice->isChecked() ? 1 : 0);
    settings.WriteInt(SettingId::IsWeeksPlus, m_ui->weeksChoice->isChecked() ? 1 : 0);
    settings.WriteInt(SettingId::CalcWorkingDays, m_ui->workingDays->isChecked() ? 1 : 0);
}

void CalculationPage::RecomputeCalculation()
{
    CalculationInput input;
    input.start = ReadPickerDateTime(m_ui->startDate, m_ui->startTime);
    for (int i = 0; i < kCountFieldCount; ++i) {
        input.countTexts[i] = m_edits[i]->text().toStdString();
    }
    input.monthsSelected = m_ui->monthsChoice->isChecked();
    input.weeksSelected = m_ui->weeksChoice->isChecked();
    input.current = m_ui->startCurrent->isChecked();
    const WorkingCalendar fallback;
    if (m_ui->workingDays->isChecked()) {
        input.workingDays = m_services.workingDays != nullptr ? &m_services.workingDays->Calendar() : &fallback;
    }
    RunClockWhile(m_clock, input.current);

    const CalculationResult result = ComputeCalculation(input, m_services.formatter);
    for (int i = 0; i < kCountFieldCount; ++i) {
        if (result.clamped[i]) {
            ReplaceClampedText(*m_edits[i], QString::fromStdString(result.countTexts[i]));
        }
    }
    m_difference = result.difference;
    m_sum = result.sum;
    m_differenceAvailable = result.differenceAvailable;
    m_sumAvailable = result.sumAvailable;
    WriteFieldTexts(*this, result.fields);
    // A "*" says why, on hover and to a screen reader.
    const std::pair<ResultFailure, std::array<QLineEdit*, 2>> reasons[] = {
        {result.differenceFailure, {m_ui->differenceDate, m_ui->differenceTime}},
        {result.sumFailure, {m_ui->sumDate, m_ui->sumTime}}};
    for (const auto& [failure, fields] : reasons) {
        const QString reason = QString::fromStdString(FailureText(failure, m_services.formatter, m_services.messages));
        for (QLineEdit* field : fields) {
            field->setToolTip(reason);
            field->setAccessibleDescription(reason);
        }
    }
    ApplyControlStates(*this, result.controls);
    const QString outside = QString::fromStdString(m_services.messages.GetString(kOutsideTimeInfoMessage));
    SetTimeInfoButton(*m_ui->differenceTimeInfo, m_differenceAvailable, m_difference, outside);
    SetTimeInfoButton(*m_ui->sumTimeInfo, m_sumAvailable, m_sum, outside);
}

void CalculationPage::ReplaceClampedText(CountEditWidget& edit, const QString& text)
{
    QApplication::beep();
    const int selectionStart = edit.selectionStart();
    const int selectionLength = edit.selectionLength();
    const int cursor = edit.cursorPosition();
    {
        // This run already computes with the clamped count; a nested run would only repeat it.
        const QSignalBlocker blocker(edit);
        edit.setText(text);
    }
    if (selectionLength > 0) {
        edit.setSelection(selectionStart, selectionLength);
    } else {
        edit.setCursorPosition(cursor);
    }
}

void CalculationPage::OnClockTick()
{
    if (m_ui->startCurrent->isChecked()) {
        SetStartToNow();
    }
}

void CalculationPage::SetStartToNow()
{
    WritePickersNow(*m_ui->startDate, *m_ui->startTime, m_services.clock);
    RecomputeCalculation();
}

bool CalculationPage::eventFilter(QObject* watched, QEvent* event)
{
    const bool choice = watched == m_ui->monthsChoice || watched == m_ui->weeksChoice;
    // A choice's access key goes on to its count, where the digits typed next belong. Two controls that
    // share the key in a translation keep Qt's turn-taking.
    if (choice && event->type() == QEvent::Shortcut && !static_cast<const QShortcutEvent*>(event)->isAmbiguous()) {
        const bool months = watched == m_ui->monthsChoice;
        ChooseMonths(months);
        m_edits[months ? kMonths : kWeeks]->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    if (choice && event->type() == QEvent::KeyPress) {
        const int key = static_cast<const QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right) {
            QRadioButton* other = watched == m_ui->monthsChoice ? m_ui->weeksChoice : m_ui->monthsChoice;
            other->setFocus(Qt::TabFocusReason);
            other->click();
            return true;
        }
    }
    return PageWidget::eventFilter(watched, event);
}

void CalculationPage::ChooseMonths(bool months)
{
    m_ui->monthsChoice->setChecked(months);
    m_ui->weeksChoice->setChecked(!months);
    RecomputeCalculation();
}
