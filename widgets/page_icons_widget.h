#pragma once

#include <QIcon>
#include <QPixmap>

// The program's artwork, drawn rather than shipped so it stays crisp at any scale.

inline constexpr int kPageCount = 6;

// The icon of page 0..5 (Difference, Calculation, Time Info, Rollback, Options, About) at `size`
// device-independent pixels; an empty pixmap for any other page.
QPixmap PageIcon(int page, int size, qreal devicePixelRatio);
// Every page icon at 32 pixels for the page list, sharp at the screen's ratio.
QIcon PageListIcon(int page);
// The window and tray icon: a clock face.
QIcon ApplicationIcon();
// The About page's product picture.
QPixmap ProductPicture(int size, qreal devicePixelRatio);
