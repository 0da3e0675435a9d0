#include "pages/calc/difference_page.h"

#include "ui_difference_page.h"

#include "calc/difference.h"
#include "calc/working_days_line.h"
#include "core/calendar.h"
#include "pages/page_settings.h"
#include "pages/working_days_source.h"
#include "pages/zone_chooser.h"
#include "settings/settings_store.h"
#include "widgets/control_id.h"
#include "widgets/pickers.h"

DifferencePage::DifferencePage(const PageServices& services, QWidget* parent)
    : PageWidget(QStringLiteral("diff"), parent),
      m_services(services),
      m_startZone(services.clock, services.zones),
      m_finalZone(services.clock, services.zones),
      m_ui(std::make_unique<Ui::DifferencePage>())
{
    m_ui->setupUi(this);
    // The elapsed-time line reads as a label, yet can be selected and reached with Tab like the fields.
    QPalette linePalette = m_ui->elapsedLine->palette();
    linePalette.setBrush(QPalette::Base, linePalette.brush(QPalette::Window));
    m_ui->elapsedLine->setPalette(linePalette);
    m_ui->elapsedLine->hide();
    m_ui->workingDays->setPalette(linePalette);
    if (m_services.workingDays != nullptr) {
        connect(m_services.workingDays, &WorkingDaysSource::changed, this, &DifferencePage::RecomputeDifference);
    }
    for (QDateEdit* date : {m_ui->startDate, m_ui->finalDate}) {
        SetUpDatePicker(*date, PickerEarliest(), PickerLatest());
        connect(date, &QDateTimeEdit::dateTimeChanged, this, &DifferencePage::RecomputeDifference);
    }
    for (QTimeEdit* time : {m_ui->startTime, m_ui->finalTime}) {
        SetUpTimePicker(*time);
        connect(time, &QDateTimeEdit::dateTimeChanged, this, &DifferencePage::RecomputeDifference);
    }
    connect(m_ui->startNow, &QPushButton::clicked, this, &DifferencePage::SetStartToNow);
    connect(m_ui->finalNow, &QPushButton::clicked, this, &DifferencePage::SetFinalToNow);
    connect(m_ui->startCurrent, &QCheckBox::clicked, this, &DifferencePage::UpdateEnabledStates);
    connect(m_ui->finalCurrent, &QCheckBox::clicked, this, &DifferencePage::UpdateEnabledStates);
    connect(m_ui->startTimeInfo, &QPushButton::clicked, this,
            [this] { m_services.showOnTimeInfo(ReadPickerDateTime(m_ui->startDate, m_ui->startTime)); });
    connect(m_ui->finalTimeInfo, &QPushButton::clicked, this,
            [this] { m_services.showOnTimeInfo(ReadPickerDateTime(m_ui->finalDate, m_ui->finalTime)); });
    for (ZoneChooser* zone : {m_ui->startZone, m_ui->finalZone}) {
        connect(zone, &ZoneChooser::zoneChosen, this, [this] {
            ChooseZones();
            RecomputeDifference();
        });
    }
    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &DifferencePage::OnClockTick);
}

DifferencePage::~DifferencePage() = default;

void DifferencePage::LoadSettings()
{
    const SettingsStore& settings = m_services.settings;
    LoadPicker(*m_ui->startDate, settings, SettingId::DateFrom);
    LoadPicker(*m_ui->startTime, settings, SettingId::TimeFrom);
    m_ui->startCurrent->setChecked(settings.ReadInt(SettingId::CurFrom) != 0);
    LoadPicker(*m_ui->finalDate, settings, SettingId::DateTo);
    LoadPicker(*m_ui->finalTime, settings, SettingId::TimeTo);
    m_ui->finalCurrent->setChecked(settings.ReadInt(SettingId::CurTo) != 0);
    for (const auto& [zone, id] : {std::pair{m_ui->startZone, SettingId::DifferenceStartZone},
                                   std::pair{m_ui->finalZone, SettingId::DifferenceFinalZone}}) {
        FillZoneChooser(*zone, m_services);
        std::string name;
        settings.ReadString(id, name);
        zone->SetZone(name);
    }
    ChooseZones();
    RecomputeDifference();
    UpdateEnabledStates();
}

void DifferencePage::SaveSettings()
{
    const SettingsStore& settings = m_services.settings;
    SavePicker(*m_ui->startDate, settings, SettingId::DateFrom);
    SavePicker(*m_ui->startTime, settings, SettingId::TimeFrom);
    SavePicker(*m_ui->finalDate, settings, SettingId::DateTo);
    SavePicker(*m_ui->finalTime, settings, SettingId::TimeTo);
    settings.WriteInt(SettingId::CurFrom, m_ui->startCurrent->isChecked() ? 1 : 0);
    settings.WriteInt(SettingId::CurTo, m_ui->finalCurrent->isChecked() ? 1 : 0);
    settings.WriteString(SettingId::DifferenceStartZone, m_ui->startZone->Zone());
    settings.WriteString(SettingId::DifferenceFinalZone, m_ui->finalZone->Zone());
}

void DifferencePage::RecomputeDifference()
{
    const DateTime start = ReadPickerDateTime(m_ui->startDate, m_ui->startTime);
    const DateTime final = ReadPickerDateTime(m_ui->finalDate, m_ui->finalTime);
    WriteFieldTexts(*this, ComputeDifference(start, final));
    const ElapsedLine elapsed = ComputeElapsed(start, final);
    WriteFieldTexts(*this, std::span(&elapsed.field, 1));
    m_ui->elapsedLine->setToolTip(QString::fromStdString(elapsed.toolTip));
    m_ui->elapsedLine->setVisible(elapsed.shown);
    const WorkingCalendar fallback;
    const WorkingCalendar& calendar = m_services.workingDays != nullptr ? m_services.workingDays->Calendar() : fallback;
    const WorkingDaysLine working =
        ComputeWorkingDaysLine(start, final, calendar, m_services.formatter, m_services.messages);
    WriteFieldTexts(*this, std::span(&working.field, 1));
    m_ui->workingDays->setToolTip(QString::fromStdString(working.toolTip));
}

void DifferencePage::OnClockTick()
{
    if (m_ui->finalCurrent->isChecked()) {
        SetFinalToNow();
    } else if (m_ui->startCurrent->isChecked()) {
        SetStartToNow();
    }
}

void DifferencePage::SetStartToNow()
{
    WritePickersNow(*m_ui->startDate, *m_ui->startTime, m_startZone.GetClock());
    RecomputeDifference();
}

void DifferencePage::SetFinalToNow()
{
    WritePickersNow(*m_ui->finalDate, *m_ui->finalTime, m_finalZone.GetClock());
    RecomputeDifference();
}

void DifferencePage::UpdateEnabledStates()
{
    const bool following = m_ui->startCurrent->isChecked() || m_ui->finalCurrent->isChecked();
    ApplyControlStates(*this,
                       DifferenceControlStates(m_ui->startCurrent->isChecked(), m_ui->finalCurrent->isChecked()));
    RunClockWhile(m_clock, following);
}

void DifferencePage::ChooseZones()
{
    for (const auto& [chooser, zone] : {std::pair{m_ui->startZone, &m_startZone}, {m_ui->finalZone, &m_finalZone}}) {
        if (!zone->Choose(chooser->Zone(), m_services.loadZone)) {
            chooser->SetZone({});
        }
    }
}

ElapsedLine DifferencePage::ComputeElapsed(const DateTime& start, const DateTime& final)
{
    if (m_ui->startZone->Zone() == m_ui->finalZone->Zone()) {
        return ComputeElapsedLine(start, final, m_startZone.Zones(), m_services.messages);
    }
    const ZoneModel* from = ModelOf(m_startZone);
    const ZoneModel* to = ModelOf(m_finalZone);
    return ElapsedLineBetweenZones(
        start, final, from != nullptr && to != nullptr ? ElapsedBetweenZones(*from, start, *to, final) : std::nullopt,
        m_services.messages);
}

const ZoneModel* DifferencePage::ModelOf(const ChosenZone& end)
{
    if (end.Model() != nullptr) {
        return end.Model();
    }
    if (!m_computerModel) {
        m_computerModel = m_services.loadZone ? m_services.loadZone({}) : std::nullopt;
    }
    return *m_computerModel ? &**m_computerModel : nullptr;
}
