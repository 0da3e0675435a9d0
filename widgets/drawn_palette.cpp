#include "widgets/drawn_palette.h"

#include <QBitmap>
#include <QPainter>

#include "widgets/color_conversion.h"

DrawnPalette::DrawnPalette(const QPalette& palette)
    : m_face(palette.color(QPalette::Button)),
      m_highlight(palette.color(QPalette::Highlight)),
      m_menu(palette.color(QPalette::Base)),
      m_menuText(palette.color(QPalette::Text)),
      m_dark(palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness())
{
}

QColor DrawnPalette::Light(const QColor& color, double fraction) const
{
    return m_dark ? Darkened(color, fraction) : Lightened(color, fraction);
}

QColor DrawnPalette::Dark(const QColor& color, double fraction) const
{
    return m_dark ? Lightened(color, fraction) : Darkened(color, fraction);
}

QPixmap Silhouette(const QPixmap& image, const QColor& color)
{
    QPixmap shape(image.size());
    shape.setDevicePixelRatio(image.devicePixelRatio());
    shape.fill(Qt::transparent);
    QPainter painter(&shape);
    painter.drawPixmap(0, 0, image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRect(QPoint(0, 0), image.deviceIndependentSize().toSize()), color);
    return shape;
}

QList<QPixmap> CutIconStrip(const QPixmap& strip, const QColor& maskColor)
{
    QList<QPixmap> icons;
    const int side = strip.height();
    if (strip.isNull() || side <= 0) {
        return icons;
    }
    QPixmap masked = strip;
    if (!masked.hasAlphaChannel()) {
        masked.setMask(strip.createMaskFromColor(maskColor, Qt::MaskInColor));
    }
    for (int x = 0; x + side <= strip.width(); x += side) {
        icons.append(masked.copy(x, 0, side, side));
    }
    return icons;
}
