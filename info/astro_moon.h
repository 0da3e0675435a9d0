#pragma once

#include <cstdint>
#include <optional>

#include "core/civil.h"

// The real moon after Meeus, Astronomical Algorithms (2nd ed.): the true new and full moons of chapter 49
// with all its periodic terms and the 14 planetary corrections, worked out in Dynamical Time and brought
// to Universal Time with the Espenak-Meeus polynomials for Delta T; the lit part of the disc from the
// approximate phase angle of chapter 48. Moments are whole seconds of Universal Time since 1970-01-01
// 00:00:00, leap seconds not counted (the Unix time scale).
//
// Accuracy. Near the present the formulas put a phase within seconds of modern ephemerides; over 1900-2100
// they agree with an independent one (PyEphem) within a minute. Elsewhere the error is that of Delta T,
// which rests on old eclipse records before about 1600: Morrison and Stephenson give an uncertainty of
// about a minute around 1000 and four minutes around 100, and other models differ by several more. After
// 2150 Delta T is extrapolated by the parabola -20 + 32 u^2 s (u = (y - 1820) / 100), also beyond 3000
// where the published polynomials end: it reaches 1.2 h in 3000, 9 h in 5000 and 2.5 days in 9999, and
// may be off by hours after about 3000 and by a day or more by 9999, as the Earth's rotation cannot be
// foreseen. The lit fraction is within about 0.5 % of the disc (1 % checked).

// The moments that AstroMoonAt answers for: from 0001-01-01 up to the end of 10000 (UT), a margin around
// the years 0100-9999 that local wall-clock times can reach.
inline constexpr std::int64_t kAstroMoonEarliest = civil::DaysFromCivil(1, 1, 1) * civil::kSecondsPerDay;
inline constexpr std::int64_t kAstroMoonLatest = civil::DaysFromCivil(10001, 1, 1) * civil::kSecondsPerDay - 1;

struct AstroMoon {
    std::int64_t previousFull = 0, previousNew = 0;   // at or before the moment
    std::int64_t nextFull = 0, nextNew = 0;           // strictly after it
    double illuminatedPercent = 0.0;                  // of the disc seen from the Earth's centre: [0, 100]
    double phaseAngleDegrees = 0.0;                   // Sun - Moon - Earth: [0, 180], 0 at full moon
    // Where the moment lies in its lunation by the elongation: [0, 1), 0 full moon, 0.5 new moon.
    double lunationFraction = 0.0;
    int pictureIndex = 0;   // [0, 16] as the phase pictures count: 0 full, 8 new, 16 full again
};

// Empty outside [kAstroMoonEarliest, kAstroMoonLatest].
std::optional<AstroMoon> AstroMoonAt(std::int64_t utSeconds);

// Delta T = TT - UT in seconds for a decimal year (2000.5 is mid-2000).
double DeltaTSeconds(double year);

// The true new moon of lunation `k` (0 is the new moon of 2000-01-06) and the full moon that follows it,
// in Universal Time rounded to the second.
std::int64_t NewMoonUt(std::int64_t k);
std::int64_t FullMoonUt(std::int64_t k);
