#include "widgets/page_icons_widget.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace {

const QColor kInk(0x2f, 0x3b, 0x4c);
const QColor kBlue(0x2d, 0x7d, 0xd2);
const QColor kOrange(0xf0, 0x8a, 0x24);
const QColor kGreen(0x3f, 0xa3, 0x5b);
const QColor kPaper(0xfa, 0xfa, 0xf7);

// All drawing is on a 32 x 32 design grid, scaled to the requested size.
QPixmap Canvas(int size, qreal ratio, const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    draw(painter);
    return pixmap;
}

void ClockFace(QPainter& p, QPointF centre, qreal radius, const QColor& rim, qreal hourAngle, qreal minuteAngle)
{
    p.setPen(QPen(rim, 2.2));
    p.setBrush(kPaper);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(kInk, 2.0, Qt::SolidLine, Qt::RoundCap));
    const auto hand = [&](qreal degrees, qreal length) {
        const qreal a = qDegreesToRadians(degrees - 90.0);
        p.drawLine(centre, centre + QPointF(std::cos(a), std::sin(a)) * length);
    };
    hand(hourAngle, radius * 0.5);
    hand(minuteAngle, radius * 0.75);
}

void CalendarSheet(QPainter& p, const QRectF& r, const QColor& band)
{
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(kPaper);
    p.drawRoundedRect(r, 2.5, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(band);
    QPainterPath top;
    top.addRoundedRect(QRectF(r.left(), r.top(), r.width(), 7), 2.5, 2.5);
    p.drawPath(top);
    p.setBrush(kInk);
    p.drawRect(QRectF(r.left() + 5, r.top() - 2, 2, 5));
    p.drawRect(QRectF(r.right() - 7, r.top() - 2, 2, 5));
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color)
{
    p.setPen(QPen(color, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    p.drawLine(to, to - d * 4 + n * 3.5);
    p.drawLine(to, to - d * 4 - n * 3.5);
}

void DrawDifference(QPainter& p)
{
    CalendarSheet(p, QRectF(3, 6, 26, 23), kBlue);
    p.setPen(QPen(kInk, 2.0));
    p.drawLine(QPointF(8, 16), QPointF(8, 25));
    p.drawLine(QPointF(24, 16), QPointF(24, 25));
    Arrow(p, QPointF(16, 20.5), QPointF(10.5, 20.5), kOrange);
    Arrow(p, QPointF(16, 20.5), QPointF(21.5, 20.5), kOrange);
}

void DrawCalculation(QPainter& p)
{
    CalendarSheet(p, QRectF(3, 6, 26, 23), kGreen);
    p.setPen(QPen(kInk, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 20), QPointF(14, 20));
    p.drawLine(QPointF(11, 17), QPointF(11, 23));
    p.drawLine(QPointF(18, 20), QPointF(24, 20));
}

void DrawTimeInfo(QPainter& p)
{
    CalendarSheet(p, QRectF(3, 6, 26, 23), kBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(16, 15.5), 1.8, 1.8);
    p.drawRoundedRect(QRectF(14.4, 18.5, 3.2, 8), 1.2, 1.2);
}

void DrawRollback(QPainter& p)
{
    ClockFace(p, QPointF(17, 17), 11, kBlue, 300, 0);
    p.setPen(QPen(kOrange, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2.5, 2.5, 27, 27), 100 * 16, 110 * 16);
    p.setBrush(kOrange);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(0.5, 20), QPointF(8, 20), QPointF(4.2, 26)}));
}

void DrawOptions(QPainter& p)
{
    p.translate(16, 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    for (int i = 0; i < 8; ++i) {
        p.drawRoundedRect(QRectF(-2.6, -14, 5.2, 7), 1.2, 1.2);
        p.rotate(45);
    }
    p.drawEllipse(QPointF(0, 0), 10, 10);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(0, 0), 4.2, 4.2);
}

void DrawAbout(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(16, 16), 13.5, 13.5);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(16, 9.5), 2.3, 2.3);
    p.drawRoundedRect(QRectF(13.9, 13.5, 4.2, 11.5), 1.4, 1.4);
}

void DrawClock(QPainter& p)
{
    ClockFace(p, QPointF(16, 16), 13.5, kBlue, 300, 60);
    p.setPen(Qt::NoPen);
    p.setBrush(kOrange);
    p.drawEllipse(QPointF(16, 16), 2, 2);
}

}  // namespace

QPixmap PageIcon(int page, int size, qreal devicePixelRatio)
{
    static const std::function<void(QPainter&)> kDrawings[kPageCount] = {
        DrawDifference, DrawCalculation, DrawTimeInfo, DrawRollback, DrawOptions, DrawAbout};
    if (page < 0 || page >= kPageCount) {
        return {};
    }
    return Canvas(size, devicePixelRatio, kDrawings[page]);
}

QIcon PageListIcon(int page)
{
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        icon.addPixmap(PageIcon(page, 32, ratio));
    }
    return icon;
}

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 22, 32, 48, 64}) {
        for (qreal ratio : {1.0, 2.0}) {
            icon.addPixmap(Canvas(size, ratio, DrawClock));
        }
    }
    return icon;
}

QPixmap ProductPicture(int size, qreal devicePixelRatio)
{
    return Canvas(size, devicePixelRatio, DrawClock);
}
