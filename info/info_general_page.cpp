#include "info/info_general_page.h"

#include "info/calendar_facts.h"
#include "widgets/control_id_widget.h"

CDialogEvalInfoGeneral::CDialogEvalInfoGeneral(const PageServices& services, QWidget* parent)
    : InfoSubPage(parent), m_services(services)
{
    m_ui.setupUi(this);
}

void CDialogEvalInfoGeneral::UpdateInfo(const DateTime& value)
{
    WriteFieldTexts(*this, ComputeCalendarFacts(value, m_services.messages, m_services.formatter));
}
