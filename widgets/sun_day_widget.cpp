#include "widgets/sun_day_widget.h"

#include <QPainter>

namespace {

constexpr int kLevels = 5;

// From the palette's dark shade at night to its light one in daylight, evenly.
QColor LevelColor(const QPalette& palette, int level)
{
    const QColor dark = palette.color(QPalette::Dark);
    const QColor light = palette.color(QPalette::Light);
    const double f = level >= 0 && level < kLevels ? level / double(kLevels - 1) : 0.0;
    const auto mix = [f](int a, int b) { return static_cast<int>(a + (b - a) * f + 0.5); };
    return QColor(mix(dark.red(), light.red()), mix(dark.green(), light.green()), mix(dark.blue(), light.blue()));
}

}   // namespace

SunDayWidget::SunDayWidget(QWidget* parent) : QWidget(parent)
{
    setMinimumHeight(16);
}

void SunDayWidget::SetDay(std::vector<int> levels, double moment)
{
    m_levels = std::move(levels);
    m_moment = moment;
    update();
}

void SunDayWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double slot = m_levels.empty() ? 0 : area.width() / static_cast<double>(m_levels.size());
    for (std::size_t i = 0; i < m_levels.size(); ++i) {
        // A hair wider than the slot, so no seam shows between slots at fractional scales.
        const QRectF band(area.left() + slot * static_cast<double>(i), area.top(), slot + 0.5, area.height());
        painter.fillRect(band.intersected(area), LevelColor(palette(), m_levels[i]));
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(area);
    if (!m_levels.empty() && m_moment >= 0 && m_moment <= 1) {
        const double x = area.left() + area.width() * m_moment;
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
}
