#include "pages/page_widget.h"

#include <algorithm>

#include <QTimer>

#include <QKeyEvent>
#include <QLayout>
#include <QPainter>
#include <QPalette>

#include "core/colors.h"
#include "pages/help_key_filter.h"
#include "widgets/color_conversion.h"

namespace {

void DrawOutline(QPainter& painter, const QRect& rect, const QColor& color)
{
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), color);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), color);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), color);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), color);
}

// Bottom margin of a page's frame, as on the native pages.
constexpr int kFrameBottomMargin = 13;

}   // namespace

void DrawCommonFrame(QPainter& painter, const QRect& rect, const QColor& base, double fraction)
{
    DrawOutline(painter, rect, Darkened(base, 0.15));
    DrawOutline(painter, rect.adjusted(1, 1, -1, -1), Darkened(base, 0.05));
    const QColor corner = Lightened(base, fraction);
    painter.setPen(corner);
    painter.drawPoint(rect.topLeft());
    painter.drawPoint(rect.topRight());
    painter.drawPoint(rect.bottomLeft());
    painter.drawPoint(rect.bottomRight());
}

void DrawSeparatorBand(QPainter& painter, const QRect& frame, int y, const QColor& base, double fraction, int end)
{
    if (y <= 0) {
        return;
    }
    const int left = frame.left() + 1;
    // Two pixels short of the frame's exclusive right edge.
    const int right = end > left ? std::min(end, frame.right() - 1) : frame.right() - 1;
    painter.fillRect(QRect(left, y - 1, right - left, 3), Darkened(base, 0.05));
    painter.setPen(Lightened(base, fraction));
    painter.drawPoint(left - 1, y);
    painter.drawPoint(right, y);
}

PageWidget::PageWidget(QString helpTopic, QWidget* parent) : QWidget(parent), m_helpTopic(std::move(helpTopic))
{
    setAutoFillBackground(false);
    InstallHelpKey(*this, HelpKeyMoment::PressAndRelease, [this] { return m_helpTopic; });
}

void PageWidget::keyPressEvent(QKeyEvent* event)
{
    // Escape ends the program only from the main window's own controls, never from inside a page.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

std::vector<PageWidget::SeparatorBand> PageWidget::SeparatorBands() const
{
    std::vector<SeparatorBand> bands;
    const int gap = layout() != nullptr ? std::max(layout()->spacing(), 0) : 0;
    for (const QWidget* child : findChildren<QWidget*>()) {
        if (child->property("separatorBand").toBool()) {
            const QRect area(child->mapTo(this, QPoint(0, 0)), child->size());
            const bool column = child->property("separatorBandColumn").toBool();
            bands.push_back({area.center().y(), column ? area.right() + gap / 2 : 0});
        }
    }
    return bands;
}

void PageWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor base = palette().color(QPalette::Button);
    painter.fillRect(rect(), base);
    const QRect frame = rect().adjusted(0, 0, -1, -kFrameBottomMargin);
    DrawCommonFrame(painter, frame, base, kBackgroundLightening);
    for (const SeparatorBand& band : SeparatorBands()) {
        DrawSeparatorBand(painter, frame, band.y, base, kBackgroundLightening, band.right);
    }
}

void RunClockWhile(QTimer& clock, bool following)
{
    if (!following) {
        clock.stop();
    } else if (!clock.isActive()) {
        clock.start();
    }
}
