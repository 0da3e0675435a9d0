#pragma once

#include <QWidget>

#include <vector>

// A day drawn as bands across its 24 hours, left to right: each slot of the day in the colour of how high
// the sun stands then (0 night, 1 astronomical, 2 nautical, 3 civil twilight, 4 daylight), darkest to
// lightest in the palette's own shades so it reads in any theme, with a mark at the moment.
class SunDayWidget final : public QWidget {
    Q_OBJECT
public:
    explicit SunDayWidget(QWidget* parent = nullptr);

    // Levels outside 0..4 draw as night; no slots draws an empty frame. `moment` runs 0..1 over the day;
    // outside it no mark is drawn.
    void SetDay(std::vector<int> levels, double moment);
    const std::vector<int>& Levels() const { return m_levels; }

    QSize sizeHint() const override { return {288, 24}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<int> m_levels;
    double m_moment = -1;
};
