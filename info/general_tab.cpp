#include "info/general_tab.h"

#include "info/calendar_facts.h"
#include "widgets/control_id.h"

GeneralTab::GeneralTab(const PageServices& services, QWidget* parent)
    : TimeInfoTab(parent), m_services(services)
{
    m_ui.setupUi(this);
}

void GeneralTab::UpdateInfo(const DateTime& value)
{
    WriteFieldTexts(*this, ComputeCalendarFacts(value, m_services.messages, m_services.formatter));
}
