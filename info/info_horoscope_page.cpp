#include "info/info_horoscope_page.h"

#include "info/horoscope.h"
#include "widgets/control_id_widget.h"

CDialogEvalInfoHoroscope::CDialogEvalInfoHoroscope(const PageServices& services, QWidget* parent)
    : InfoSubPage(parent), m_services(services)
{
    m_ui.setupUi(this);
}

void CDialogEvalInfoHoroscope::UpdateInfo(const DateTime& value)
{
    WriteFieldTexts(*this, ComputeHoroscope(value, m_services.messages));
}
