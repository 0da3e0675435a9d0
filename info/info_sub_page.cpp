#include "info/info_sub_page.h"

#include <QKeyEvent>
#include <QPainter>

#include "shell/help_dialog.h"

namespace {

const QString kHelpTopic = QStringLiteral("timeinfo");

}  // namespace

InfoSubPage::InfoSubPage(QWidget* parent) : QWidget(parent) {}

void InfoSubPage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
}

void InfoSubPage::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        ShowHelpTopic(kHelpTopic);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void InfoSubPage::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        ShowHelpTopic(kHelpTopic);
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}
