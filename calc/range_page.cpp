#include "calc/range_page.h"

#include "core/calendar.h"
#include "calc/difference.h"
#include "shell/settings_store.h"
#include "widgets/control_id_widget.h"
#include "widgets/picker_widget.h"

namespace {


}  // namespace

CDialogEvalRange::CDialogEvalRange(const PageServices& services, QWidget* parent)
    : PageWidget(QStringLiteral("diff"), parent), m_services(services)
{
    m_ui.setupUi(this);
    for (QDateEdit* date : {m_ui.startDate, m_ui.finalDate}) {
        SetUpDatePicker(*date, PickerEarliest(), PickerLatest());
        connect(date, &QDateTimeEdit::dateTimeChanged, this, &CDialogEvalRange::RecomputeDifference);
    }
    for (QTimeEdit* time : {m_ui.startTime, m_ui.finalTime}) {
        SetUpTimePicker(*time);
        connect(time, &QDateTimeEdit::dateTimeChanged, this, &CDialogEvalRange::RecomputeDifference);
    }
    connect(m_ui.startNow, &QPushButton::clicked, this, &CDialogEvalRange::SetStartToNow);
    connect(m_ui.finalNow, &QPushButton::clicked, this, &CDialogEvalRange::SetFinalToNow);
    connect(m_ui.startCurrent, &QCheckBox::clicked, this, &CDialogEvalRange::UpdateEnabledStates);
    connect(m_ui.finalCurrent, &QCheckBox::clicked, this, &CDialogEvalRange::UpdateEnabledStates);
    connect(m_ui.startTimeInfo, &QPushButton::clicked, this,
            [this] { m_services.showOnTimeInfo(ReadPickerDateTime(m_ui.startDate, m_ui.startTime)); });
    connect(m_ui.finalTimeInfo, &QPushButton::clicked, this,
            [this] { m_services.showOnTimeInfo(ReadPickerDateTime(m_ui.finalDate, m_ui.finalTime)); });
    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &CDialogEvalRange::OnClockTick);
}

void CDialogEvalRange::LoadSettings()
{
    const SettingsStore& settings = m_services.settings;
    LoadPicker(*m_ui.startDate, settings, SettingId::DateFrom);
    LoadPicker(*m_ui.startTime, settings, SettingId::TimeFrom);
    m_ui.startCurrent->setChecked(settings.ReadInt(SettingId::CurFrom) != 0);
    LoadPicker(*m_ui.finalDate, settings, SettingId::DateTo);
    LoadPicker(*m_ui.finalTime, settings, SettingId::TimeTo);
    m_ui.finalCurrent->setChecked(settings.ReadInt(SettingId::CurTo) != 0);
    RecomputeDifference();
    UpdateEnabledStates();
    m_clock.start();
}

void CDialogEvalRange::SaveSettings()
{
    const SettingsStore& settings = m_services.settings;
    SavePicker(*m_ui.startDate, settings, SettingId::DateFrom);
    SavePicker(*m_ui.startTime, settings, SettingId::TimeFrom);
    SavePicker(*m_ui.finalDate, settings, SettingId::DateTo);
    SavePicker(*m_ui.finalTime, settings, SettingId::TimeTo);
    settings.WriteInt(SettingId::CurFrom, m_ui.startCurrent->isChecked() ? 1 : 0);
    settings.WriteInt(SettingId::CurTo, m_ui.finalCurrent->isChecked() ? 1 : 0);
}

void CDialogEvalRange::RecomputeDifference()
{
    const DateTime start = ReadPickerDateTime(m_ui.startDate, m_ui.startTime);
    const DateTime final = ReadPickerDateTime(m_ui.finalDate, m_ui.finalTime);
    WriteFieldTexts(*this, ComputeDifference(start, final));
}

void CDialogEvalRange::OnClockTick()
{
    if (m_ui.finalCurrent->isChecked()) {
        SetFinalToNow();
    } else if (m_ui.startCurrent->isChecked()) {
        SetStartToNow();
    }
}

void CDialogEvalRange::SetStartToNow()
{
    const DateTime now = GetNow(m_services.clock);
    WritePicker(*m_ui.startDate, now);
    WritePicker(*m_ui.startTime, now);
    RecomputeDifference();
}

void CDialogEvalRange::SetFinalToNow()
{
    const DateTime now = GetNow(m_services.clock);
    WritePicker(*m_ui.finalDate, now);
    WritePicker(*m_ui.finalTime, now);
    RecomputeDifference();
}

void CDialogEvalRange::UpdateEnabledStates()
{
    ApplyControlStates(*this, DifferenceControlStates(m_ui.startCurrent->isChecked(), m_ui.finalCurrent->isChecked()));
}
