#include "pages/info/moon_tab.h"

#include "ui_moon_tab.h"

#include "info/moon_phase.h"
#include "settings/settings_store.h"
#include "widgets/control_id.h"
#include "widgets/pickers.h"

MoonTab::MoonTab(const PageServices& services, QWidget* parent)
    : TimeInfoTab(parent),
      m_services(services),
      m_ui(std::make_unique<Ui::MoonTab>())
{
    m_ui->setupUi(this);
    const std::pair<QPushButton*, const DateTime*> buttons[] = {
        {m_ui->previousFullTimeInfo, &m_previousFull},
        {m_ui->nextFullTimeInfo, &m_nextFull},
        {m_ui->previousNewTimeInfo, &m_previousNew},
        {m_ui->nextNewTimeInfo, &m_nextNew},
    };
    for (const auto& [button, moment] : buttons) {
        connect(button, &QPushButton::clicked, this, [this, m = moment] { emit timeInfoRequested(*m); });
    }
    connect(m_ui->astronomical, &QCheckBox::clicked, this, [this] { UpdateInfo(m_value); });
}

MoonTab::~MoonTab() = default;

void MoonTab::LoadSettings()
{
    m_ui->astronomical->setChecked(m_services.settings.ReadInt(SettingId::MoonAstronomical) != 0);
}

void MoonTab::SaveSettings() const
{
    m_services.settings.WriteInt(SettingId::MoonAstronomical, m_ui->astronomical->isChecked() ? 1 : 0);
}

void MoonTab::UpdateInfo(const DateTime& value)
{
    m_value = value;
    const std::optional<MoonPhase> phase = m_ui->astronomical->isChecked()
                                               ? ComputeAstronomicalMoonPhase(value, m_services.clock)
                                               : ComputeMoonPhase(value);
    WriteFieldTexts(*this, MoonFieldTexts(phase, m_services.formatter));
    if (phase) {
        m_nextFull = phase->nextFull;
        m_previousFull = phase->previousFull;
        m_nextNew = phase->nextNew;
        m_previousNew = phase->previousNew;
        m_ui->picture->SetPicture(phase->pictureIndex);
    }
    const QString outside = QString::fromStdString(m_services.messages.GetString(kOutsideTimeInfoMessage));
    SetTimeInfoButton(*m_ui->previousFullTimeInfo, phase.has_value(), m_previousFull, outside);
    SetTimeInfoButton(*m_ui->nextFullTimeInfo, phase.has_value(), m_nextFull, outside);
    SetTimeInfoButton(*m_ui->previousNewTimeInfo, phase.has_value(), m_previousNew, outside);
    SetTimeInfoButton(*m_ui->nextNewTimeInfo, phase.has_value(), m_nextNew, outside);
}
