#include "widgets/color_conversion.h"

#include "core/colors.h"

namespace {

Rgb ToRgb(const QColor& color)
{
    return {static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
            static_cast<std::uint8_t>(color.blue())};
}

QColor ToQColor(Rgb color)
{
    return QColor(color.red, color.green, color.blue);
}

}   // namespace

QColor Lightened(const QColor& color, double fraction)
{
    return ToQColor(Lighten(ToRgb(color), fraction));
}

QColor Darkened(const QColor& color, double fraction)
{
    return ToQColor(Darken(ToRgb(color), fraction));
}
