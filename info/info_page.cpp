#include "info/info_page.h"

#include "core/calendar.h"
#include "info/info_general_page.h"
#include "info/info_horoscope_page.h"
#include "info/info_moon_page.h"
#include "info/info_sheet_widget.h"
#include "info/info_time_zone_page.h"
#include "shell/settings_store.h"
#include "widgets/picker_widget.h"

namespace {


const char* const kSubPageTitles[kInfoSubPageCount] = {"General", "Time Zone", "Moon", "Horoscope"};

}  // namespace

CDialogEvalInfo::CDialogEvalInfo(const PageServices& services, QWidget* parent)
    : PageWidget(QStringLiteral("timeinfo"), parent), m_services(services)
{
    m_ui.setupUi(this);
    SetUpDatePicker(*m_ui.date, PickerEarliest(), PickerLatest());
    SetUpTimePicker(*m_ui.time);
    connect(m_ui.date, &QDateTimeEdit::dateTimeChanged, this, &CDialogEvalInfo::Refresh);
    connect(m_ui.time, &QDateTimeEdit::dateTimeChanged, this, &CDialogEvalInfo::Refresh);
    connect(m_ui.current, &QCheckBox::clicked, this, &CDialogEvalInfo::Refresh);
    connect(m_ui.now, &QPushButton::clicked, this, &CDialogEvalInfo::SetToNow);

    // All four exist before the first refresh, so every refresh reaches every one.
    m_subPages = {new CDialogEvalInfoGeneral(m_services), new CDialogEvalInfoTimeZone(m_services),
                  new CDialogEvalInfoMoon(m_services), new CDialogEvalInfoHoroscope(m_services)};
    for (int i = 0; i < kInfoSubPageCount; ++i) {
        InfoSubPage* page = m_subPages[static_cast<std::size_t>(i)];
        m_ui.sheet->addTab(page, QString::fromLatin1(kSubPageTitles[i]));
        connect(page, &InfoSubPage::timeInfoRequested, this, &CDialogEvalInfo::ShowDateInfo);
    }

    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &CDialogEvalInfo::OnClockTick);
}

void CDialogEvalInfo::LoadSettings()
{
    const SettingsStore& settings = m_services.settings;
    const int stored = settings.ReadInt(SettingId::ActiveInfoPageNo);
    m_ui.sheet->setCurrentIndex(stored >= 0 && stored < kInfoSubPageCount ? stored : kGeneralInfoPage);
    LoadPicker(*m_ui.date, settings, SettingId::Date);
    LoadPicker(*m_ui.time, settings, SettingId::Time);
    m_ui.current->setChecked(settings.ReadInt(SettingId::Current) != 0);
    m_clock.start();
    Refresh();
}

void CDialogEvalInfo::SaveSettings()
{
    const SettingsStore& settings = m_services.settings;
    SavePicker(*m_ui.date, settings, SettingId::Date);
    SavePicker(*m_ui.time, settings, SettingId::Time);
    settings.WriteInt(SettingId::Current, m_ui.current->isChecked() ? 1 : 0);
    settings.WriteInt(SettingId::ActiveInfoPageNo, m_ui.sheet->currentIndex());
}

void CDialogEvalInfo::ShowDateInfo(const DateTime& value)
{
    // The pickers would hold another moment in their range and show that under this one's name.
    if (!IsInPickerRange(value)) {
        return;
    }
    WritePicker(*m_ui.date, value);
    WritePicker(*m_ui.time, value);
    m_ui.current->setChecked(false);
    Refresh();
}

void CDialogEvalInfo::Refresh()
{
    const DateTime value = ReadPickerDateTime(m_ui.date, m_ui.time);
    for (InfoSubPage* page : m_subPages) {
        page->UpdateInfo(value);
    }
    const bool manual = !m_ui.current->isChecked();
    m_ui.date->setEnabled(manual);
    m_ui.time->setEnabled(manual);
    m_ui.now->setEnabled(manual);
}

void CDialogEvalInfo::OnClockTick()
{
    if (m_ui.current->isChecked()) {
        SetToNow();
    }
}

void CDialogEvalInfo::SetToNow()
{
    const DateTime now = GetNow(m_services.clock);
    WritePicker(*m_ui.date, now);
    WritePicker(*m_ui.time, now);
    Refresh();
}
