#pragma once

#include <cstdint>
#include <optional>

// Where the sun is seen from: decimal degrees, north and east positive.
struct GeoPoint {
    double latitude = 0;    // -90..90
    double longitude = 0;   // -180..180

    friend bool operator==(const GeoPoint&, const GeoPoint&) = default;
};

// Why one of the day's times does not happen.
enum class SunMiss {
    None,
    NeverRises,   // the sun stays below that altitude the whole day ("The sun does not rise" for sunrise/sunset)
    NeverSets,    // it stays above it ("The sun does not set"; for twilight "does not reach N° below the horizon")
};

struct SunEvent {
    std::optional<std::int64_t> at;   // Unix seconds, rounded to the nearest second; empty when missed
    SunMiss miss = SunMiss::None;     // why it is empty
};

// The sun over one local day [dayStart, dayEnd) (Unix seconds; the caller's zone gives the bounds, so 23-
// and 25-hour days are whole): the first rising and last setting of the upper limb with standard refraction
// (centre 0.833° below the horizon), and of the centre through 6°, 12° and 18° below it (dawn: rising
// through, dusk: setting through), the highest point (solar noon), and the time between sunrise and sunset
// (86,400 s all day up, 0 all day down; with a rising but no setting that day, until the day's end; with a
// setting but no rising, from the day's start). Meeus' solar position with the real moon's ΔT.
struct SunDay {
    SunEvent sunrise, sunset, civilDawn, civilDusk, nauticalDawn, nauticalDusk, astronomicalDawn, astronomicalDusk;
    std::int64_t solarNoon = 0;
    std::int64_t dayLengthSeconds = 0;
};
SunDay ComputeSunDay(std::int64_t dayStart, std::int64_t dayEnd, const GeoPoint& place);

// The sun's centre seen from `place` at an instant: geometric altitude (no refraction) in degrees, and
// azimuth in degrees from north through east, 0 <= azimuth < 360.
struct SunPosition {
    double altitude = 0;
    double azimuth = 0;
};
SunPosition SunPositionAt(std::int64_t unixSeconds, const GeoPoint& place);
