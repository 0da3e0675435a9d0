#pragma once

#include <QColor>
#include <QPalette>
#include <QPixmap>

// The colours of the drawn page list, menus and toolbar, all derived from four colours of the desktop's
// palette by lightening and darkening. In a dark palette the two directions swap, so that "lighter"
// still means "further from the text colour" and selections stay readable.
class DrawnPalette {
public:
    explicit DrawnPalette(const QPalette& palette);

    QColor Face() const { return m_face; }
    QColor Highlight() const { return m_highlight; }
    QColor Menu() const { return m_menu; }
    QColor MenuText() const { return m_menuText; }

    // Towards the background extreme (white in a light palette) by `fraction`.
    QColor Light(const QColor& color, double fraction) const;
    // Towards the text extreme (black in a light palette) by `fraction`.
    QColor Dark(const QColor& color, double fraction) const;

private:
    QColor m_face;
    QColor m_highlight;
    QColor m_menu;
    QColor m_menuText;
    bool m_dark = false;
};

// The shape of `image` (its opaque pixels) filled with `color`, at the same size and pixel ratio.
QPixmap Silhouette(const QPixmap& image, const QColor& color);

// Silver marks the transparent pixels of an icon strip that has no transparency of its own.
inline constexpr QRgb kStripMask = 0xFFC0C0C0;

// Cuts a horizontal strip into squares whose side is the strip's height; pixels of `maskColor` become
// transparent. Empty when the strip is null.
QList<QPixmap> CutIconStrip(const QPixmap& strip, const QColor& maskColor);
