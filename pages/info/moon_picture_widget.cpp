#include "pages/info/moon_picture_widget.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace {

const QColor kShadow(0x39, 0x40, 0x4f);
const QColor kRim(0x20, 0x24, 0x2e, 170);
const QColor kLitCentre(0xff, 0xfb, 0xe8);
const QColor kLitEdge(0xe6, 0xd9, 0x9a);
const QColor kMare(0xd9, 0xcc, 0x92);

// The sunlit part of the disc: the limb on the lit side, from the top round to the bottom, and back up
// along the terminator, half an ellipse through (centre + side * bulge, middle). `bulge` runs from the
// radius (full) through 0 (a half moon) to minus the radius (new); side is +1 when lit from the left.
QPainterPath LitPart(const QRectF& disc, double bulge, int side)
{
    const QPointF centre = disc.center();
    const double halfHeight = disc.height() / 2.0;
    QPainterPath lit;
    lit.moveTo(centre.x(), disc.top());
    lit.arcTo(disc, 90.0, 180.0 * side);
    const double width = std::abs(bulge);
    if (width < 0.01) {
        lit.lineTo(centre.x(), disc.top());
    } else {
        const QRectF terminator(centre.x() - width, centre.y() - halfHeight, 2 * width, 2 * halfHeight);
        lit.arcTo(terminator, 270.0, bulge > 0 ? 180.0 * side : -180.0 * side);
    }
    lit.closeSubpath();
    return lit;
}

}   // namespace

void DrawMoonPicture(QPainter& painter, const QRectF& area, int index)
{
    if (index < 0 || index >= kMoonPictureCount) {
        return;
    }
    const double unit = std::min(area.width(), area.height()) / kMoonPictureSize;
    const double radius = 9.0 * unit;   // one pixel clear of the edge at 20 x 20
    const QPointF centre = area.center();
    const QRectF disc(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kShadow);
    painter.drawEllipse(disc);

    // The terminator moves in equal steps across the disc, so even the slimmest crescent stays visible
    // at 20 pixels: 0 full, 4 half, 8 new, 12 half, 16 full.
    const int steps = kMoonPictureCount - 1;
    const int half = steps / 2;
    QPainterPath lit;
    if (index != half) {
        const int fromFull = index < half ? index : steps - index;
        const double bulge = radius * (1.0 - fromFull / (half / 2.0));
        lit = LitPart(disc, bulge, index <= half ? 1 : -1);
    }
    if (!lit.isEmpty()) {
        QRadialGradient glow(centre - QPointF(2 * unit, 2 * unit), radius * 1.4);
        glow.setColorAt(0.0, kLitCentre);
        glow.setColorAt(1.0, kLitEdge);
        painter.setBrush(glow);
        painter.drawPath(lit);
        // A few seas, visible only where the sun shines.
        painter.setClipPath(lit);
        painter.setBrush(kMare);
        painter.drawEllipse(QPointF(centre.x() - 2.6 * unit, centre.y() - 2.4 * unit), 2.6 * unit, 2.0 * unit);
        painter.drawEllipse(QPointF(centre.x() + 2.8 * unit, centre.y() - 0.6 * unit), 1.8 * unit, 2.2 * unit);
        painter.drawEllipse(QPointF(centre.x() - 0.4 * unit, centre.y() + 3.6 * unit), 2.0 * unit, 1.3 * unit);
        painter.setClipping(false);
    }

    // The rim keeps the new moon visible against any background.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kRim, 0.8 * unit));
    painter.drawEllipse(disc);
    painter.restore();
}

QPixmap MoonPicture(int index, qreal devicePixelRatio)
{
    if (index < 0 || index >= kMoonPictureCount) {
        return {};
    }
    QPixmap picture(QSize(kMoonPictureSize, kMoonPictureSize) * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    DrawMoonPicture(painter, QRectF(0, 0, kMoonPictureSize, kMoonPictureSize), index);
    return picture;
}

MoonPictureWidget::MoonPictureWidget(QWidget* parent) : QWidget(parent)
{
    setFixedSize(kMoonPictureSize, kMoonPictureSize);
}

void MoonPictureWidget::SetPicture(int index)
{
    const int shown = index >= 0 && index < kMoonPictureCount ? index : -1;
    if (shown != m_index) {
        m_index = shown;
        update();
    }
}

void MoonPictureWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int side = std::min(width(), height());
    DrawMoonPicture(painter, QRectF((width() - side) / 2.0, (height() - side) / 2.0, side, side), m_index);
}
