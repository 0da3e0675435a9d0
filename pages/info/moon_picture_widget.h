#pragma once

#include <QPixmap>
#include <QWidget>

#include "info/moon_phase.h"

class QPainter;

// The moon phase pictures: one lunation as seen from the northern hemisphere in 17 steps. 0 is the full
// moon, 1 to 7 wane with the shadow growing from the right, 8 is the new moon, 9 to 15 wax lit from the
// right, and 16 is full again. Drawn, not shipped, so they stay sharp at any scale.
// There are kMoonPictureCount of them, each this many device-independent pixels square.
inline constexpr int kMoonPictureSize = 20;

// Draws picture `index` into `area` (a square); nothing for an index outside 0..16.
void DrawMoonPicture(QPainter& painter, const QRectF& area, int index);

// Picture `index` at 20 x 20 device-independent pixels with a transparent background; an empty pixmap
// for an index outside 0..16.
QPixmap MoonPicture(int index, qreal devicePixelRatio);

// The phase picture control: shows one of the pictures at 20 x 20, drawn at the screen's own scale.
class MoonPictureWidget final : public QWidget {
    Q_OBJECT
public:
    explicit MoonPictureWidget(QWidget* parent = nullptr);

    // An index outside 0..16 shows nothing.
    void SetPicture(int index);
    // -1 while no picture is shown.
    int Picture() const { return m_index; }

    QSize sizeHint() const override { return {kMoonPictureSize, kMoonPictureSize}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_index = -1;
};
