#include "info/sun.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <tuple>

#include "info/astro_moon.h"

namespace {

// J2000.0, 2000-01-01 12:00:00, on the Unix time scale.
constexpr std::int64_t kJ2000Unix = 946728000;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kDaysPerYear = 365.2425;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// The Earth's turn against the mean equinox, degrees per second of Universal Time.
constexpr double kSiderealDegreesPerSecond = 360.98564736629 / kSecondsPerDay;

constexpr double kRiseSetAltitude = -0.833;
constexpr double kCivilAltitude = -6.0;
constexpr double kNauticalAltitude = -12.0;
constexpr double kAstronomicalAltitude = -18.0;

double SinDeg(double degrees)
{
    return std::sin(std::fmod(degrees, 360.0) * kRadiansPerDegree);
}

double CosDeg(double degrees)
{
    return std::cos(std::fmod(degrees, 360.0) * kRadiansPerDegree);
}

double Degrees(double radians)
{
    return radians / kRadiansPerDegree;
}

// [0, 360)
double Turn(double degrees)
{
    const double reduced = std::fmod(degrees, 360.0);
    return reduced < 0.0 ? reduced + 360.0 : reduced;
}

// Where the sun stands against the sky at one instant: right ascension less the equation of the
// equinoxes, so that adding the mean sidereal time gives the hour angle; both smooth over a day.
struct SkyPlace {
    double rightAscension = 0;   // degrees
    double declination = 0;      // degrees
    double meanSidereal = 0;     // Greenwich, degrees
};

// Meeus chapter 25 (low accuracy, 0.01°) with the nutation of chapter 22 and the Greenwich sidereal
// time of chapter 12; the sun's motion is worked out in Dynamical Time, the Earth's turn in Universal Time.
SkyPlace SkyPlaceAt(double unixSeconds)
{
    const double daysUt = (unixSeconds - static_cast<double>(kJ2000Unix)) / kSecondsPerDay;
    const double days = daysUt + DeltaTSeconds(2000.0 + daysUt / kDaysPerYear) / kSecondsPerDay;
    const double t = days / 36525.0;
    const double meanLongitude = 280.46646 + 36000.76983 * t + 0.0003032 * t * t;
    const double anomaly = 357.52911 + 35999.05029 * t - 0.0001537 * t * t;
    const double center = (1.914602 - 0.004817 * t - 0.000014 * t * t) * SinDeg(anomaly) +
                          (0.019993 - 0.000101 * t) * SinDeg(2.0 * anomaly) + 0.000289 * SinDeg(3.0 * anomaly);
    const double node = 125.04452 - 1934.136261 * t;
    const double moonLongitude = 218.3165 + 481267.8813 * t;
    const double nutationLongitude = (-17.20 * SinDeg(node) - 1.32 * SinDeg(2.0 * meanLongitude) -
                                      0.23 * SinDeg(2.0 * moonLongitude) + 0.21 * SinDeg(2.0 * node)) /
                                     3600.0;
    const double nutationObliquity = (9.20 * CosDeg(node) + 0.57 * CosDeg(2.0 * meanLongitude) +
                                      0.10 * CosDeg(2.0 * moonLongitude) - 0.09 * CosDeg(2.0 * node)) /
                                     3600.0;
    // 20.4898" of annual aberration.
    const double longitude = meanLongitude + center + nutationLongitude - 0.005691;
    const double obliquity = 23.0 +
                             (26.0 + (21.448 - 46.8150 * t - 0.00059 * t * t + 0.001813 * t * t * t) / 60.0) / 60.0 +
                             nutationObliquity;
    const double sinLongitude = SinDeg(longitude);
    const double equationOfEquinoxes = nutationLongitude * CosDeg(obliquity);
    SkyPlace place;
    place.rightAscension =
        Degrees(std::atan2(CosDeg(obliquity) * sinLongitude, CosDeg(longitude))) - equationOfEquinoxes;
    place.declination = Degrees(std::asin(SinDeg(obliquity) * sinLongitude));
    const double tUt = daysUt / 36525.0;
    // 360.98564736629° a day, split so that the whole turns drop out before they cost precision.
    place.meanSidereal = Turn(280.46061837 + 360.0 * (daysUt - std::floor(daysUt)) + 0.98564736629 * daysUt +
                              (0.000387933 - tUt / 38710000.0) * tUt * tUt);
    return place;
}

SunPosition PositionFrom(double hourAngle, double declination, const GeoPoint& place)
{
    const double sinLatitude = SinDeg(place.latitude);
    const double cosLatitude = CosDeg(place.latitude);
    const double sinAltitude =
        sinLatitude * SinDeg(declination) + cosLatitude * CosDeg(declination) * CosDeg(hourAngle);
    // Meeus 13.5 counts azimuth from the south.
    const double fromSouth = std::atan2(
        SinDeg(hourAngle), CosDeg(hourAngle) * sinLatitude - std::tan(declination * kRadiansPerDegree) * cosLatitude);
    SunPosition position;
    position.altitude = Degrees(std::asin(std::clamp(sinAltitude, -1.0, 1.0)));
    position.azimuth = Turn(Degrees(fromSouth) + 180.0);
    position.azimuth = position.azimuth < 360.0 ? position.azimuth : 0.0;
    return position;
}

// The sun over one local day, from three full positions interpolated (Meeus 3.3): the declination and
// right ascension bend too little in a day for a parabola to miss by more than 10^-5 degrees.
class DaySky {
public:
    DaySky(std::int64_t dayStart, double span, const GeoPoint& place)
        : m_start(dayStart),
          m_half(span / 2.0),
          m_sinLatitude(SinDeg(place.latitude)),
          m_cosLatitude(CosDeg(place.latitude))
    {
        const double start = static_cast<double>(dayStart);
        const SkyPlace middle = SkyPlaceAt(start + m_half);
        std::array<SkyPlace, 3> sky = {SkyPlaceAt(start), middle, SkyPlaceAt(start + span)};
        for (std::size_t i = 0; i < 3; ++i) {
            // Unwound around the middle, so the right ascension crossing 0 h stays smooth.
            m_ra[i] = middle.rightAscension + std::remainder(sky[i].rightAscension - middle.rightAscension, 360.0);
            m_dec[i] = sky[i].declination;
        }
        m_hourAngleAtMiddle = middle.meanSidereal + place.longitude;
    }

    // Hour angle, unwound: it grows by about 360° a day from the middle's value in [-360, 720).
    double HourAngle(double offset) const
    {
        const double fromMiddle = offset - m_half;
        return m_hourAngleAtMiddle + kSiderealDegreesPerSecond * fromMiddle - Interpolate(m_ra, fromMiddle);
    }

    double HourAngleRate(double offset) const
    {
        const double n = (offset - m_half) / m_half;
        return kSiderealDegreesPerSecond -
               ((m_ra[2] - m_ra[0]) / 2.0 + n * (m_ra[0] + m_ra[2] - 2.0 * m_ra[1])) / m_half;
    }

    double SinAltitude(double offset) const
    {
        const double dec = Interpolate(m_dec, offset - m_half);
        return m_sinLatitude * SinDeg(dec) + m_cosLatitude * CosDeg(dec) * CosDeg(HourAngle(offset));
    }

    std::int64_t Start() const { return m_start; }

private:
    double Interpolate(const std::array<double, 3>& y, double fromMiddle) const
    {
        const double n = fromMiddle / m_half;
        return y[1] + n / 2.0 * (y[2] - y[0] + n * (y[0] + y[2] - 2.0 * y[1]));
    }

    std::int64_t m_start;
    double m_half;
    double m_sinLatitude, m_cosLatitude;
    double m_hourAngleAtMiddle = 0;
    std::array<double, 3> m_ra{}, m_dec{};
};

// The upper and lower transits (hour angle 0° and 180°) inside [0, span): between two of them the altitude
// only rises or only falls. At most three fit in a day of 25 hours; the array holds the day's ends too.
struct Turns {
    std::array<double, 6> at{};
    std::size_t count = 0;
};

Turns TransitsAndEnds(const DaySky& sky, double span)
{
    Turns turns;
    turns.at[turns.count++] = 0.0;
    double target = std::ceil(sky.HourAngle(0.0) / 180.0) * 180.0;
    for (int guard = 0; guard < 4; ++guard, target += 180.0) {
        double offset = (target - sky.HourAngle(0.0)) / kSiderealDegreesPerSecond;
        // Newton on a nearly straight line: two steps reach a millisecond.
        for (int step = 0; step < 3; ++step) {
            offset -= (sky.HourAngle(offset) - target) / sky.HourAngleRate(offset);
        }
        if (offset >= span) {
            break;
        }
        if (offset > 0.0) {
            turns.at[turns.count++] = offset;
        }
    }
    turns.at[turns.count++] = span;
    return turns;
}

// The instant in (low, high) where the sine of the altitude passes `target`, known to lie between them
// (Illinois false position: few steps on a smooth curve, never leaving the bracket).
double Crossing(const DaySky& sky, double target, double low, double high)
{
    double fLow = sky.SinAltitude(low) - target;
    double fHigh = sky.SinAltitude(high) - target;
    int lastSide = 0;
    for (int step = 0; step < 60 && high - low > 0.2; ++step) {
        const double guess = (low * fHigh - high * fLow) / (fHigh - fLow);
        const double mid = std::clamp(guess, low + 0.05, high - 0.05);
        const double f = sky.SinAltitude(mid) - target;
        if ((f < 0.0) == (fLow < 0.0)) {
            low = mid;
            fLow = f;
            fHigh = lastSide == -1 ? fHigh / 2.0 : fHigh;
            lastSide = -1;
        } else {
            high = mid;
            fHigh = f;
            fLow = lastSide == 1 ? fLow / 2.0 : fLow;
            lastSide = 1;
        }
    }
    return (low * fHigh - high * fLow) / (fHigh - fLow);
}

// A moment inside the day to the nearest second, never rounded onto its exclusive end.
std::int64_t InstantAt(std::int64_t dayStart, double offset, double span)
{
    return dayStart + std::min(static_cast<std::int64_t>(std::llround(offset)), static_cast<std::int64_t>(span) - 1);
}

struct Pair {
    SunEvent rising, setting;
};

// The first rising and the last setting through `altitude` over the day's monotone stretches.
Pair RisingAndSetting(const DaySky& sky, const Turns& turns, const std::array<double, 6>& sinAltitudes, double altitude,
                      double span)
{
    const double target = SinDeg(altitude);
    Pair pair;
    bool above = false, below = false;
    for (std::size_t i = 0; i < turns.count; ++i) {
        above = above || sinAltitudes[i] >= target;
        below = below || sinAltitudes[i] < target;
    }
    for (std::size_t i = 0; i + 1 < turns.count; ++i) {
        const bool risesHere = sinAltitudes[i] < target && sinAltitudes[i + 1] >= target;
        const bool setsHere = sinAltitudes[i] >= target && sinAltitudes[i + 1] < target;
        if (risesHere && !pair.rising.at) {
            pair.rising.at = InstantAt(sky.Start(), Crossing(sky, target, turns.at[i], turns.at[i + 1]), span);
        }
        if (setsHere) {
            pair.setting.at = InstantAt(sky.Start(), Crossing(sky, target, turns.at[i], turns.at[i + 1]), span);
        }
    }
    // Never below: it does not set; never above: it does not rise; otherwise the day had only the other one.
    const SunMiss whole = !below ? SunMiss::NeverSets : (!above ? SunMiss::NeverRises : SunMiss::None);
    pair.rising.miss = pair.rising.at ? SunMiss::None : (whole == SunMiss::None ? SunMiss::NeverRises : whole);
    pair.setting.miss = pair.setting.at ? SunMiss::None : (whole == SunMiss::None ? SunMiss::NeverSets : whole);
    return pair;
}

std::int64_t DayLength(const Pair& sun, std::int64_t dayStart, std::int64_t dayEnd)
{
    if (sun.rising.at && sun.setting.at && *sun.rising.at < *sun.setting.at) {
        return *sun.setting.at - *sun.rising.at;
    }
    if (!sun.rising.at && !sun.setting.at) {
        return sun.rising.miss == SunMiss::NeverSets ? 86400 : 0;
    }
    // Up at one end of the day or both: count what lies inside it.
    return (sun.setting.at ? *sun.setting.at - dayStart : 0) + (sun.rising.at ? dayEnd - *sun.rising.at : 0);
}

}   // namespace

SunPosition SunPositionAt(std::int64_t unixSeconds, const GeoPoint& place)
{
    const SkyPlace sky = SkyPlaceAt(static_cast<double>(unixSeconds));
    return PositionFrom(sky.meanSidereal + place.longitude - sky.rightAscension, sky.declination, place);
}

SunDay ComputeSunDay(std::int64_t dayStart, std::int64_t dayEnd, const GeoPoint& place)
{
    // A day is at least a second and at most two, so every loop below stays short.
    const std::int64_t end = std::clamp(dayEnd, dayStart + 1, dayStart + 2 * 86400);
    const auto span = static_cast<double>(end - dayStart);
    const DaySky sky(dayStart, span, place);
    const Turns turns = TransitsAndEnds(sky, span);
    std::array<double, 6> sinAltitudes{};
    for (std::size_t i = 0; i < turns.count; ++i) {
        sinAltitudes[i] = sky.SinAltitude(turns.at[i]);
    }

    SunDay day;
    const Pair sun = RisingAndSetting(sky, turns, sinAltitudes, kRiseSetAltitude, span);
    std::tie(day.sunrise, day.sunset) = std::tie(sun.rising, sun.setting);
    const Pair civil = RisingAndSetting(sky, turns, sinAltitudes, kCivilAltitude, span);
    std::tie(day.civilDawn, day.civilDusk) = std::tie(civil.rising, civil.setting);
    const Pair nautical = RisingAndSetting(sky, turns, sinAltitudes, kNauticalAltitude, span);
    std::tie(day.nauticalDawn, day.nauticalDusk) = std::tie(nautical.rising, nautical.setting);
    const Pair astronomical = RisingAndSetting(sky, turns, sinAltitudes, kAstronomicalAltitude, span);
    std::tie(day.astronomicalDawn, day.astronomicalDusk) = std::tie(astronomical.rising, astronomical.setting);

    // Solar noon: the highest of the day's turning points and ends (an upper transit where there is one).
    std::size_t highest = 0;
    for (std::size_t i = 1; i < turns.count; ++i) {
        highest = sinAltitudes[i] > sinAltitudes[highest] ? i : highest;
    }
    day.solarNoon = InstantAt(dayStart, turns.at[highest], span);
    day.dayLengthSeconds = DayLength(sun, dayStart, end);
    return day;
}
