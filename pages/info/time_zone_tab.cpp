#include "pages/info/time_zone_tab.h"

#include "ui_time_zone_tab.h"

#include "info/time_zone.h"
#include "widgets/control_id.h"
#include "widgets/pickers.h"

TimeZoneTab::TimeZoneTab(const PageServices& services, QWidget* parent)
    : TimeInfoTab(parent),
      m_services(services),
      m_ui(std::make_unique<Ui::TimeZoneTab>())
{
    m_ui->setupUi(this);
    connect(m_ui->beginTimeInfo, &QPushButton::clicked, this, [this] { emit timeInfoRequested(m_nextBegin); });
    connect(m_ui->endTimeInfo, &QPushButton::clicked, this, [this] { emit timeInfoRequested(m_nextEnd); });
}

TimeZoneTab::~TimeZoneTab() = default;

void TimeZoneTab::UpdateInfo(const DateTime& value)
{
    const std::optional<ZoneRules> zone = m_services.zones.CurrentZoneRules();
    if (!zone) {
        return;
    }
    const TimeZoneTexts texts =
        ComputeTimeZoneTexts(*zone, value, m_services.messages, m_services.formatter, m_services.zones.Model());
    if (texts.hasRules) {
        m_nextBegin = texts.nextBegin;
        m_nextEnd = texts.nextEnd;
    }
    ApplyControlStates(*this, texts.buttons);
    WriteFieldTexts(*this, texts.fields);
    const QString outside = QString::fromStdString(m_services.messages.GetString(kOutsideTimeInfoMessage));
    SetTimeInfoButton(*m_ui->beginTimeInfo, texts.hasRules, texts.nextBegin, outside);
    SetTimeInfoButton(*m_ui->endTimeInfo, texts.hasRules, texts.nextEnd, outside);
}
