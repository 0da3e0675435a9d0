#pragma once

#include <QColor>
#include <QRect>
#include <QWidget>

#include <vector>

class QPainter;

// The frame every page draws around its area and the main window around its page list: two
// shaded outlines with lightened corner pixels.
void DrawCommonFrame(QPainter& painter, const QRect& rect, const QColor& base, double fraction);
// A three-line separator band across a frame at height y.
void DrawSeparatorBand(QPainter& painter, const QRect& frame, int y, const QColor& base, double fraction);

// Base of the pages: paints the button-face background, the common frame, and a separator band through
// the middle of every child widget marked with the property "separatorBand" (a spacer in the page's
// layout), so the bands follow the layout at any font size.
class PageWidget : public QWidget {
    Q_OBJECT
public:
    explicit PageWidget(QWidget* parent = nullptr);

    // The heights at which separator bands are drawn, in page coordinates.
    std::vector<int> SeparatorPositions() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
