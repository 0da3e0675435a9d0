#include "pages/info/time_info_tab.h"

#include <QKeyEvent>
#include <QPainter>

#include "pages/help_request.h"

namespace {

const QString kHelpTopic = QStringLiteral("timeinfo");

}   // namespace

TimeInfoTab::TimeInfoTab(QWidget* parent) : QWidget(parent) {}

void TimeInfoTab::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
}

void TimeInfoTab::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        ShowHelpTopic(kHelpTopic);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TimeInfoTab::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        ShowHelpTopic(kHelpTopic);
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}
