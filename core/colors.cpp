#include "core/colors.h"

namespace {

bool IsUsableFraction(double fraction)
{
    return fraction > 0.0 && fraction <= 1.0;
}

std::uint8_t Truncate(double channel)
{
    return static_cast<std::uint8_t>(channel);
}

}   // namespace

Rgb Lighten(Rgb color, double fraction)
{
    if (!IsUsableFraction(fraction)) {
        return {};
    }
    const auto up = [fraction](std::uint8_t c) { return Truncate(c + (255 - c) * fraction); };
    return {up(color.red), up(color.green), up(color.blue)};
}

Rgb Darken(Rgb color, double fraction)
{
    if (!IsUsableFraction(fraction)) {
        return {};
    }
    const auto down = [fraction](std::uint8_t c) { return Truncate(c - c * fraction); };
    return {down(color.red), down(color.green), down(color.blue)};
}
