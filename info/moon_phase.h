#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/clock.h"
#include "core/date_time.h"
#include "core/field_text.h"
#include "core/locale_format.h"

// Control ids of the Moon sub-page.
inline constexpr int kMoonPhaseFieldId = 1066;
inline constexpr int kMoonPictureId = 1067;
inline constexpr int kPreviousFullFieldId = 1101;
inline constexpr int kNextFullFieldId = 1102;
inline constexpr int kPreviousNewFieldId = 1104;
inline constexpr int kNextNewFieldId = 1103;

// The mean lunation: every full moon lies a whole number of these from 1996-01-05 16:15:00 local time.
inline constexpr std::int64_t kSynodicSeconds = 2551441;   // 29 d 12 h 44 min 1 s
inline constexpr int kMoonPictureCount = 17;

struct MoonPhase {
    // Seconds since the last full moon: [0, S) at or after the reference, (0, S] before it, so a moment a
    // whole number of periods before the reference is at the end of its lunation.
    std::int64_t position = 0;
    double fraction = 0.0;   // position / S: 0 full moon, 0.5 new moon
    double percent = 0.0;    // |200 * fraction - 100|: 100 at full moon, 0 at new moon
    int pictureIndex = 0;    // [0, 16]: 0 full, 8 new, 16 full again
    // Previous means at or before the moment, next strictly after it. New moons fall on half seconds and
    // are taken as the later second. A moment outside the range is invalid.
    DateTime previousFull, nextFull, previousNew, nextNew;
};

// Empty for an invalid value.
std::optional<MoonPhase> ComputeMoonPhase(const DateTime& value);

// The real moon (info/astro_moon.h) for a local wall-clock moment: the moment goes to Universal Time and
// the four phases come back as local wall-clock times through the clock's zone, with its whole history
// as the C library knows it. `percent` is the lit part of the disc, `fraction` the place in the lunation
// by the elongation and `position` the seconds since the previous full moon. Empty for an invalid value or
// one the clock cannot convert; a phase whose local time the clock cannot tell, or outside the range, is
// invalid.
std::optional<MoonPhase> ComputeAstronomicalMoonPhase(const DateTime& value, const Clock& clock);

// Phase ("52.9%"), previous full, next full, previous new, next new: the order the page writes them.
// A moment reads as its long date and its time joined by one blank, with an empty piece where the
// locale cannot format it. Every field is "*" without a phase.
using MoonTexts = std::array<FieldText, 5>;
MoonTexts MoonFieldTexts(const std::optional<MoonPhase>& phase, const LocaleFormatter& formatter);
