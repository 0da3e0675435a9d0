#include "pages/info/general_tab.h"

#include "ui_general_tab.h"

#include "info/calendar_facts.h"
#include "widgets/control_id.h"

GeneralTab::GeneralTab(const PageServices& services, QWidget* parent)
    : TimeInfoTab(parent),
      m_services(services),
      m_ui(std::make_unique<Ui::GeneralTab>())
{
    m_ui->setupUi(this);
}

GeneralTab::~GeneralTab() = default;

void GeneralTab::UpdateInfo(const DateTime& value)
{
    WriteFieldTexts(*this, ComputeCalendarFacts(value, m_services.messages, m_services.formatter));
}
