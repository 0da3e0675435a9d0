#include "pages/info/time_info_page.h"

#include "ui_time_info_page.h"

#include "core/calendar.h"
#include "pages/help_key_filter.h"
#include "pages/info/general_tab.h"
#include "pages/info/horoscope_tab.h"
#include "pages/info/moon_tab.h"
#include "pages/info/sun_tab.h"
#include "pages/info/time_info_tab_widget.h"
#include "pages/info/time_zone_tab.h"
#include "pages/page_settings.h"
#include "pages/zone_chooser.h"
#include "settings/settings_store.h"
#include "widgets/pickers.h"

namespace {

const char* const kSubPageTitles[kInfoSubPageCount] = {"General", "Time Zone", "Moon", "Horoscope", "Sun"};
// The sub-pages' sections in the help topic "timeinfo".
const char* const kSubPageHelpAnchors[kInfoSubPageCount] = {"general", "zone", "moon", "horoscope", "sun"};

}   // namespace

TimeInfoPage::TimeInfoPage(const PageServices& services, QWidget* parent)
    : PageWidget(QStringLiteral("timeinfo"), parent),
      m_services(services),
      m_zone(services.clock, services.zones),
      m_zoneServices(ServicesIn(services, m_zone)),
      m_ui(std::make_unique<Ui::TimeInfoPage>())
{
    m_ui->setupUi(this);
    SetUpDatePicker(*m_ui->date, PickerEarliest(), PickerLatest());
    SetUpTimePicker(*m_ui->time);
    connect(m_ui->date, &QDateTimeEdit::dateTimeChanged, this, &TimeInfoPage::Refresh);
    connect(m_ui->time, &QDateTimeEdit::dateTimeChanged, this, &TimeInfoPage::Refresh);
    connect(m_ui->current, &QCheckBox::clicked, this, &TimeInfoPage::Refresh);
    connect(m_ui->now, &QPushButton::clicked, this, &TimeInfoPage::SetToNow);
    connect(m_ui->zone, &ZoneChooser::zoneChosen, this, &TimeInfoPage::ApplyZone);

    // All five exist before the first refresh, so every refresh reaches every one.
    m_sun = new SunTab(m_zoneServices);
    m_subPages = {new GeneralTab(m_zoneServices), new TimeZoneTab(m_zoneServices), new MoonTab(m_zoneServices),
                  new HoroscopeTab(m_zoneServices), m_sun};
    // F1 on a sub-page or its tab opens the shown sub-page's section, ahead of the sub-page's own F1,
    // which knows only the topic.
    const auto section = [this] {
        const int index = m_ui->sheet->currentIndex();
        const bool known = index >= 0 && index < kInfoSubPageCount;
        return known ? HelpTopic() + u'#' + QLatin1String(kSubPageHelpAnchors[index]) : HelpTopic();
    };
    InstallHelpKey(*m_ui->sheet, HelpKeyMoment::PressAndRelease, section);
    for (int i = 0; i < kInfoSubPageCount; ++i) {
        TimeInfoTab* page = m_subPages[static_cast<std::size_t>(i)];
        m_ui->sheet->addTab(page, QString::fromLatin1(kSubPageTitles[i]));
        connect(page, &TimeInfoTab::timeInfoRequested, this, &TimeInfoPage::ShowDateInfo);
        InstallHelpKey(*page, HelpKeyMoment::PressAndRelease, section);
    }

    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &TimeInfoPage::OnClockTick);
}

TimeInfoPage::~TimeInfoPage() = default;

void TimeInfoPage::LoadSettings()
{
    const SettingsStore& settings = m_services.settings;
    const int stored = settings.ReadInt(SettingId::ActiveInfoPageNo);
    m_ui->sheet->setCurrentIndex(stored >= 0 && stored < kInfoSubPageCount ? stored : kGeneralInfoPage);
    LoadPicker(*m_ui->date, settings, SettingId::Date);
    LoadPicker(*m_ui->time, settings, SettingId::Time);
    m_ui->current->setChecked(settings.ReadInt(SettingId::Current) != 0);
    FillZoneChooser(*m_ui->zone, m_services);
    std::string zone;
    settings.ReadString(SettingId::InfoZone, zone);
    m_ui->zone->SetZone(zone);
    for (TimeInfoTab* page : m_subPages) {
        page->LoadSettings();
    }
    ChooseZone();
    Refresh();
}

void TimeInfoPage::SaveSettings()
{
    const SettingsStore& settings = m_services.settings;
    SavePicker(*m_ui->date, settings, SettingId::Date);
    SavePicker(*m_ui->time, settings, SettingId::Time);
    settings.WriteInt(SettingId::Current, m_ui->current->isChecked() ? 1 : 0);
    settings.WriteString(SettingId::InfoZone, m_ui->zone->Zone());
    settings.WriteInt(SettingId::ActiveInfoPageNo, m_ui->sheet->currentIndex());
    for (const TimeInfoTab* page : m_subPages) {
        page->SaveSettings();
    }
}

void TimeInfoPage::ShowDateInfo(const DateTime& value)
{
    // The pickers would hold another moment in their range and show that under this one's name.
    if (!IsInPickerRange(value)) {
        return;
    }
    WritePicker(*m_ui->date, value);
    WritePicker(*m_ui->time, value);
    m_ui->current->setChecked(false);
    Refresh();
}

void TimeInfoPage::Refresh()
{
    const DateTime value = ReadPickerDateTime(m_ui->date, m_ui->time);
    for (TimeInfoTab* page : m_subPages) {
        page->UpdateInfo(value);
    }
    const bool manual = !m_ui->current->isChecked();
    m_ui->date->setEnabled(manual);
    m_ui->time->setEnabled(manual);
    m_ui->now->setEnabled(manual);
    RunClockWhile(m_clock, !manual);
}

void TimeInfoPage::OnClockTick()
{
    if (m_ui->current->isChecked()) {
        SetToNow();
    }
}

void TimeInfoPage::SetToNow()
{
    WritePickersNow(*m_ui->date, *m_ui->time, m_zone.GetClock());
    Refresh();
}

void TimeInfoPage::ChooseZone()
{
    if (!m_zone.Choose(m_ui->zone->Zone(), m_services.loadZone)) {
        m_ui->zone->SetZone({});
    }
    m_sun->SetZone(m_ui->zone->Zone());
}

void TimeInfoPage::ApplyZone()
{
    ChooseZone();
    // Following the clock shows the new zone's present at once.
    if (m_ui->current->isChecked()) {
        SetToNow();
    } else {
        Refresh();
    }
}

TimeInfoTabWidget& TimeInfoPage::Sheet() const
{
    return *m_ui->sheet;
}
