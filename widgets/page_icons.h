#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

class QPainter;

// The program's artwork, drawn rather than shipped so it stays crisp at any scale.

// The palette every drawn icon shares.
inline const QColor kArtInk(0x2f, 0x3b, 0x4c);
inline const QColor kArtBlue(0x2d, 0x7d, 0xd2);
inline const QColor kArtOrange(0xf0, 0x8a, 0x24);
inline const QColor kArtGreen(0x3f, 0xa3, 0x5b);
inline const QColor kArtRed(0xd2, 0x3f, 0x3f);
inline const QColor kArtPaper(0xfa, 0xfa, 0xf7);

// The application icon's source, embedded in the program.
inline constexpr char kApplicationIconPath[] = ":/icons/chronel.svg";

// A page's picture, drawn on a 32 x 32 design grid.
using PageArt = void (*)(QPainter&);
void DrawDifferenceIcon(QPainter& p);
void DrawCalculationIcon(QPainter& p);
void DrawTimeInfoIcon(QPainter& p);
void DrawRollbackIcon(QPainter& p);
void DrawOptionsIcon(QPainter& p);
void DrawAboutIcon(QPainter& p);

// A page's icon at `size` device-independent pixels.
QPixmap PageIcon(PageArt art, int size, qreal devicePixelRatio);
// The window and tray icon: the SVG at `svgPath`, rendered at each size when that size is first asked for.
// Where that file cannot be read or draws nothing, a drawn clock face stands in: never an empty icon.
QIcon ApplicationIcon(const QString& svgPath = QString::fromLatin1(kApplicationIconPath));
// The About page's product picture: the application icon at `size` device-independent pixels.
QPixmap ProductPicture(int size, qreal devicePixelRatio);
