#pragma once

#include <cstdint>

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Each channel c moves to c + (255 − c) × f, truncated; black unless 0 < f <= 1.
Rgb Lighten(Rgb color, double fraction);
// Each channel c moves to c − c × f, truncated; black unless 0 < f <= 1.
Rgb Darken(Rgb color, double fraction);

// The fraction by which the main window lightens the button face, and the frames' corner colour.
inline constexpr double kBackgroundLightening = 0.24;
