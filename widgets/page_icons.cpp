#include "widgets/page_icons.h"

#include <QFile>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

// chronel_widgets is a static library: its embedded files are registered only on request, and the request
// also keeps their object file in the program. Outside any namespace, as the macro needs.
static void RegisterIconResources()
{
    Q_INIT_RESOURCE(chronel_icons);
}

namespace {

const QColor& kInk = kArtInk;
const QColor& kBlue = kArtBlue;
const QColor& kOrange = kArtOrange;
const QColor& kGreen = kArtGreen;
const QColor& kPaper = kArtPaper;

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

// At least one device pixel wide: thinner lines turn to grey haze in a 16-pixel menu icon.
qreal HairlineWidth(const QPainter& p, qreal width)
{
    return std::max(width, 1.0 / p.deviceTransform().m11());
}

void CalendarSheet(QPainter& p, const QRectF& r, const QColor& band)
{
    p.setPen(QPen(kInk, HairlineWidth(p, 1.4)));
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

void DrawClock(QPainter& p)
{
    ClockFace(p, QPointF(16, 16), 13.5, kBlue, 300, 60);
    p.setPen(Qt::NoPen);
    p.setBrush(kOrange);
    p.drawEllipse(QPointF(16, 16), 2, 2);
}

bool HasOpaquePixel(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 0) {
                return true;
            }
        }
    }
    return false;
}

// An empty pixmap when the picture draws nothing at this size.
QPixmap RenderSvg(QSvgRenderer& renderer, int size, qreal ratio)
{
    QImage image(QSize(size, size) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    if (!HasOpaquePixel(image)) {
        return {};
    }
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

// None when the file is missing or is not an SVG picture.
std::unique_ptr<QSvgRenderer> OpenSvg(const QString& path)
{
    static const bool registered = (RegisterIconResources(), true);
    Q_UNUSED(registered);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    auto renderer = std::make_unique<QSvgRenderer>(file.readAll());
    if (!renderer->isValid()) {
        return nullptr;
    }
    return renderer;
}

// The application picture at the one size asked for, or the drawn clock where it draws nothing. A window
// or tray asks for a few sizes of the many a desktop may want: each is drawn on its first request.
class ApplicationIconEngine final : public QIconEngine {
public:
    explicit ApplicationIconEngine(std::shared_ptr<QSvgRenderer> renderer) : m_renderer(std::move(renderer)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        const int side = std::min(size.width(), size.height());
        if (side <= 0) {
            return {};
        }
        if (!m_sides.contains(side)) {
            const QPixmap picture = m_renderer ? RenderSvg(*m_renderer, side, 1.0) : QPixmap();
            m_drawn.addPixmap(picture.isNull() ? Canvas(side, 1.0, DrawClock) : picture);
            m_sides.append(side);
        }
        // The exact size is among the drawn ones, so only the mode's look (disabled, selected) is applied.
        return m_drawn.pixmap(QSize(side, side), 1.0, mode, state);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }
    bool isNull() override { return false; }
    QIconEngine* clone() const override { return new ApplicationIconEngine(m_renderer); }

private:
    std::shared_ptr<QSvgRenderer> m_renderer;   // null when the file gave no picture
    QIcon m_drawn;
    QList<int> m_sides;
};

}   // namespace

void DrawDifferenceIcon(QPainter& p)
{
    // Lines on odd units fall on whole pixels at 16 pixels.
    CalendarSheet(p, QRectF(3, 6, 26, 23), kBlue);
    p.setPen(QPen(kInk, 2.0));
    p.drawLine(QPointF(7, 16), QPointF(7, 26));
    p.drawLine(QPointF(25, 16), QPointF(25, 26));
    Arrow(p, QPointF(16, 21), QPointF(10, 21), kOrange);
    Arrow(p, QPointF(16, 21), QPointF(22, 21), kOrange);
}

void DrawCalculationIcon(QPainter& p)
{
    CalendarSheet(p, QRectF(3, 6, 26, 23), kGreen);
    p.setPen(QPen(kInk, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 21), QPointF(15, 21));
    p.drawLine(QPointF(11, 17), QPointF(11, 25));
    p.drawLine(QPointF(18, 21), QPointF(25, 21));
}

void DrawTimeInfoIcon(QPainter& p)
{
    CalendarSheet(p, QRectF(3, 6, 26, 23), kBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(16, 15.5), 1.8, 1.8);
    p.drawRoundedRect(QRectF(14.4, 18.5, 3.2, 8), 1.2, 1.2);
}

void DrawRollbackIcon(QPainter& p)
{
    ClockFace(p, QPointF(17, 17), 11, kBlue, 300, 0);
    p.setPen(QPen(kOrange, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2.5, 2.5, 27, 27), 100 * 16, 110 * 16);
    p.setBrush(kOrange);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(0.5, 20), QPointF(8, 20), QPointF(4.2, 26)}));
}

void DrawOptionsIcon(QPainter& p)
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

void DrawAboutIcon(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(16, 16), 13.5, 13.5);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(16, 9.5), 2.3, 2.3);
    p.drawRoundedRect(QRectF(13.9, 13.5, 4.2, 11.5), 1.4, 1.4);
}

QPixmap PageIcon(PageArt art, int size, qreal devicePixelRatio)
{
    return Canvas(size, devicePixelRatio, art);
}

QIcon ApplicationIcon(const QString& svgPath)
{
    return QIcon(new ApplicationIconEngine(std::shared_ptr<QSvgRenderer>(OpenSvg(svgPath))));
}

QPixmap ProductPicture(int size, qreal devicePixelRatio)
{
    const std::unique_ptr<QSvgRenderer> renderer = OpenSvg(QString::fromLatin1(kApplicationIconPath));
    const QPixmap picture = renderer ? RenderSvg(*renderer, size, devicePixelRatio) : QPixmap();
    return picture.isNull() ? Canvas(size, devicePixelRatio, DrawClock) : picture;
}
