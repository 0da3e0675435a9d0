#include "pages/info/time_info_tab.h"

#include <QPainter>

#include "pages/help_key_filter.h"

TimeInfoTab::TimeInfoTab(QWidget* parent) : QWidget(parent)
{
    InstallHelpKey(*this, HelpKeyMoment::PressAndRelease, [] { return QStringLiteral("timeinfo"); });
}

void TimeInfoTab::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
}
