#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's artwork, drawn rather than shipped so it stays crisp at any scale.

// The palette every drawn icon shares.
inline const QColor kArtInk(0x2f, 0x3b, 0x4c);
inline const QColor kArtBlue(0x2d, 0x7d, 0xd2);
inline const QColor kArtOrange(0xf0, 0x8a, 0x24);
inline const QColor kArtGreen(0x3f, 0xa3, 0x5b);
inline const QColor kArtRed(0xd2, 0x3f, 0x3f);
inline const QColor kArtPaper(0xfa, 0xfa, 0xf7);

inline constexpr int kPageCount = 6;

// The application icon's source, embedded in the program.
inline constexpr char kApplicationIconPath[] = ":/icons/chronel.svg";

// The icon of page 0..5 (Difference, Calculation, Time Info, Rollback, Options, About) at `size`
// device-independent pixels; an empty pixmap for any other page.
QPixmap PageIcon(int page, int size, qreal devicePixelRatio);
// Every page icon at 32 pixels for the page list, sharp at the screen's ratio.
QIcon PageListIcon(int page);
// The window and tray icon: the SVG at `svgPath`, rendered at each size when that size is first asked for.
// Where that file cannot be read or draws nothing, a drawn clock face stands in: never an empty icon.
QIcon ApplicationIcon(const QString& svgPath = QString::fromLatin1(kApplicationIconPath));
// The About page's product picture: the application icon at `size` device-independent pixels.
QPixmap ProductPicture(int size, qreal devicePixelRatio);
