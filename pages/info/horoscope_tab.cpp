#include "pages/info/horoscope_tab.h"

#include "ui_horoscope_tab.h"

#include "info/horoscope.h"
#include "widgets/control_id.h"

HoroscopeTab::HoroscopeTab(const PageServices& services, QWidget* parent)
    : TimeInfoTab(parent),
      m_services(services),
      m_ui(std::make_unique<Ui::HoroscopeTab>())
{
    m_ui->setupUi(this);
}

HoroscopeTab::~HoroscopeTab() = default;

void HoroscopeTab::UpdateInfo(const DateTime& value)
{
    WriteFieldTexts(*this, ComputeHoroscope(value, m_services.messages));
}
