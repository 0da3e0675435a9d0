#pragma once

#include <QColor>
#include <QRect>
#include <QWidget>

#include <vector>

class QPainter;

// The frame every page draws around its area and the main window around its page list: two
// shaded outlines with lightened corner pixels.
void DrawCommonFrame(QPainter& painter, const QRect& rect, const QColor& base, double fraction);
// A three-line separator band across a frame at height y, or from its left edge to `end` when that lies
// within it.
void DrawSeparatorBand(QPainter& painter, const QRect& frame, int y, const QColor& base, double fraction, int end = 0);

// Base of the pages: paints the button-face background, the common frame, and a separator band through
// the middle of every child widget marked with the property "separatorBand" (a spacer in the page's
// layout), so the bands follow the layout at any font size. A band marked "separatorBandColumn" divides
// only its own column: it ends half way to the column beside it instead of running behind it. F1 anywhere on the page
// opens the page's help topic, on key press and on key release alike, and goes no further.
class QTimer;

// Runs a page's one-second clock exactly while something on the page follows the current time, so an
// idle program is not woken every second. A running clock keeps its phase.
void RunClockWhile(QTimer& clock, bool following);

class PageWidget : public QWidget {
    Q_OBJECT
public:
    explicit PageWidget(QString helpTopic, QWidget* parent = nullptr);

    // Fill the controls from the settings (and start the page's clock), and write them back; both do
    // nothing on a page without settings.
    virtual void LoadSettings() {}
    virtual void SaveSettings() {}

    const QString& HelpTopic() const { return m_helpTopic; }
    struct SeparatorBand {
        int y;
        int right;   // the band's last pixel; 0 for one across the whole frame
    };
    // Where separator bands are drawn, in page coordinates.
    std::vector<SeparatorBand> SeparatorBands() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_helpTopic;
};
