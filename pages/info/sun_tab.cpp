#include "pages/info/sun_tab.h"

#include "ui_sun_tab.h"

#include <QLineEdit>

#include <algorithm>

#include "info/sun_texts.h"
#include "pages/info/add_place_dialog.h"
#include "pages/translation.h"
#include "settings/settings_store.h"
#include "widgets/control_id.h"

SunTab::SunTab(const PageServices& services, QWidget* parent)
    : TimeInfoTab(parent),
      m_services(services),
      m_ui(std::make_unique<Ui::SunTab>())
{
    m_ui->setupUi(this);
    // Its entries are the zone's place in the language's words (message kZonePlaceMessage) and the user's
    // own names.
    ExcludeFromTranslation(*m_ui->place);
    connect(m_ui->place, &QComboBox::activated, this, [this] {
        ChoosePlace();
        UpdateInfo(m_value);
    });
    connect(m_ui->addPlace, &QPushButton::clicked, this, &SunTab::AskForPlace);
    connect(m_ui->removePlace, &QPushButton::clicked, this, &SunTab::RemovePlace);
    FillPlaces();
}

SunTab::~SunTab() = default;

void SunTab::LoadSettings()
{
    m_ownPlaces = ParseSunPlaces(m_services.settings.ReadList(SettingId::SunPlaces));
    FillPlaces();
}

void SunTab::SaveSettings() const
{
    m_services.settings.WriteList(SettingId::SunPlaces, FormatSunPlaces(m_ownPlaces));
}

void SunTab::SetZone(const std::string& zone)
{
    const std::string& name = zone.empty() ? m_services.computerZone : zone;
    const ZonePlace* found = nullptr;
    if (m_services.zonePlaces != nullptr) {
        const auto at = std::find_if(m_services.zonePlaces->begin(), m_services.zonePlaces->end(),
                                     [&](const ZonePlace& p) { return p.zone == name; });
        found = at != m_services.zonePlaces->end() ? &*at : nullptr;
    }
    m_zonePlace = found != nullptr && found->latitude && found->longitude ? found : nullptr;
}

QString SunTab::ZonePlaceEntry() const
{
    if (m_zonePlace == nullptr) {
        return QString::fromStdString(m_services.messages.GetString(kChoosePlaceMessage));
    }
    const ZonePlace& p = *m_zonePlace;
    const std::string where = p.country.empty() ? p.city : p.city + ", " + p.country;
    return QString::fromStdString(m_services.messages.GetString(kZonePlaceMessage))
        .replace(QStringLiteral("%1"), QString::fromStdString(where));
}

void SunTab::FillPlaces()
{
    const int chosen = m_ui->place->currentIndex();
    m_ui->place->clear();
    m_ui->place->addItem(QString());
    for (const SunPlace& place : m_ownPlaces) {
        m_ui->place->addItem(QString::fromStdString(place.name));
    }
    m_ui->place->setCurrentIndex(chosen > 0 && chosen < m_ui->place->count() ? chosen : 0);
    ChoosePlace();
}

void SunTab::ChoosePlace()
{
    const int own = m_ui->place->currentIndex() - 1;
    m_ui->removePlace->setEnabled(own >= 0);
    m_placeClock.reset();
    m_placeZone.reset();
    if (own >= 0 && m_services.loadZone) {
        m_placeZone = m_services.loadZone(m_ownPlaces[static_cast<std::size_t>(own)].zone);
    }
    if (m_placeZone) {
        m_placeClock = std::make_unique<ZoneClock>(m_services.clock, *m_placeZone);
    }
}

void SunTab::UpdateInfo(const DateTime& value)
{
    m_value = value;
    m_ui->place->setItemText(0, ZonePlaceEntry());
    const int own = m_ui->place->currentIndex() - 1;
    std::optional<GeoPoint> point;
    if (own >= 0) {
        point = m_ownPlaces[static_cast<std::size_t>(own)].point;
    } else if (m_zonePlace != nullptr) {
        point = GeoPoint{*m_zonePlace->latitude, *m_zonePlace->longitude};
    }
    // An own place whose zone does not read is told on the page's clocks.
    const Clock& clock = m_placeClock ? static_cast<const Clock&>(*m_placeClock) : m_services.clock;
    const DateTime there = m_placeClock ? SameInstantOn(value, m_services.clock, clock) : value;
    const SunReport report = ComputeSunReport(there, point, clock, m_services.messages, m_services.formatter);
    WriteFieldTexts(*this, report.fields);
    // A note longer than its field shows its start, not its end.
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        field->setCursorPosition(0);
    }
    m_ui->drawing->SetDay(report.bands, report.moment);
}

void SunTab::AddPlace(const SunPlace& place)
{
    m_ownPlaces.push_back(place);
    FillPlaces();
    m_ui->place->setCurrentIndex(m_ui->place->count() - 1);
    ChoosePlace();
    UpdateInfo(m_value);
}

void SunTab::AskForPlace()
{
    AddPlaceDialog dialog(m_services, this);
    if (dialog.exec() == QDialog::Accepted && dialog.Place()) {
        AddPlace(*dialog.Place());
    }
}

void SunTab::RemovePlace()
{
    const int own = m_ui->place->currentIndex() - 1;
    if (own < 0) {
        return;
    }
    m_ownPlaces.erase(m_ownPlaces.begin() + own);
    m_ui->place->setCurrentIndex(0);
    FillPlaces();
    UpdateInfo(m_value);
}
