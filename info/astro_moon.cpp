#include "info/astro_moon.h"

#include <cmath>
#include <initializer_list>
#include <iterator>
#include <numbers>
#include <tuple>
#include <utility>

namespace {

// J2000.0, 2000-01-01 12:00:00, on the Unix time scale.
constexpr std::int64_t kJ2000Unix = 946728000;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kDaysPerYear = 365.2425;
constexpr double kMeanLunation = 29.530588861;   // days
constexpr int kPictureCount = 17;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

double SinDeg(double degrees)
{
    // Reduced first: the arguments of far lunations reach 10^7 degrees.
    return std::sin(std::fmod(degrees, 360.0) * kRadiansPerDegree);
}

double CosDeg(double degrees)
{
    return std::cos(std::fmod(degrees, 360.0) * kRadiansPerDegree);
}

// c0 + c1 x + c2 x^2 + ...
double Polynomial(double x, std::initializer_list<double> coefficients)
{
    double sum = 0.0;
    for (auto c = std::rbegin(coefficients); c != std::rend(coefficients); ++c) {
        sum = sum * x + *c;
    }
    return sum;
}

// Periodic terms of the true new and full moon (Meeus table 49.A): coefficient at new moon, at full moon,
// power of E, and the multiples of M, M' and F in the argument.
struct PhaseTerm {
    double atNew, atFull;
    int powerOfE, m, mPrime, f;
};

constexpr PhaseTerm kPhaseTerms[] = {
    {-0.40720, -0.40614, 0, 0, 1, 0},   {0.17241, 0.17302, 1, 1, 0, 0},    {0.01608, 0.01614, 0, 0, 2, 0},
    {0.01039, 0.01043, 0, 0, 0, 2},     {0.00739, 0.00734, 1, -1, 1, 0},   {-0.00514, -0.00515, 1, 1, 1, 0},
    {0.00208, 0.00209, 2, 2, 0, 0},     {-0.00111, -0.00111, 0, 0, 1, -2}, {-0.00057, -0.00057, 0, 0, 1, 2},
    {0.00056, 0.00056, 1, 1, 2, 0},     {-0.00042, -0.00042, 0, 0, 3, 0},  {0.00042, 0.00042, 1, 1, 0, 2},
    {0.00038, 0.00038, 1, 1, 0, -2},    {-0.00024, -0.00024, 1, -1, 2, 0}, {-0.00007, -0.00007, 0, 2, 1, 0},
    {0.00004, 0.00004, 0, 0, 2, -2},    {0.00004, 0.00004, 0, 3, 0, 0},    {0.00003, 0.00003, 0, 1, 1, -2},
    {0.00003, 0.00003, 0, 0, 2, 2},     {-0.00003, -0.00003, 0, 1, 1, 2},  {0.00003, 0.00003, 0, -1, 1, 2},
    {-0.00002, -0.00002, 0, -1, 1, -2}, {-0.00002, -0.00002, 0, 1, 3, 0},  {0.00002, 0.00002, 0, 0, 4, 0},
};

// The planetary arguments A2..A14 (degrees, and degrees per lunation) with the coefficients of their
// corrections; A1 has a T^2 term of its own.
struct PlanetaryTerm {
    double origin, perLunation, coefficient;
};

constexpr PlanetaryTerm kPlanetaryTerms[] = {
    {251.88, 0.016321, 0.000165}, {251.83, 26.651886, 0.000164}, {349.42, 36.412478, 0.000126},
    {84.66, 18.206239, 0.000110}, {141.74, 53.303771, 0.000062}, {207.14, 2.453732, 0.000060},
    {154.84, 7.306860, 0.000056}, {34.52, 27.261239, 0.000047},  {207.19, 0.121824, 0.000042},
    {291.34, 1.844379, 0.000040}, {161.72, 24.198154, 0.000037}, {239.56, 25.513099, 0.000035},
    {331.55, 3.592518, 0.000023},
};

// Days of Dynamical Time from J2000.0 to the true phase of lunation `k`: integer k for new moons, k + 0.5
// for full moons (Meeus 49.1 with the corrections of the chapter).
double PhaseDaysTt(double k, bool full)
{
    const double t = k / 1236.85;
    const double t2 = t * t;
    double days = 5.09766 + kMeanLunation * k + Polynomial(t, {0.0, 0.0, 0.00015437, -0.000000150, 0.00000000073});
    const double e = 1.0 - 0.002516 * t - 0.0000074 * t2;
    // Reduced once, so that each term's argument stays within a few turns.
    const double m = std::fmod(2.5534 + 29.10535670 * k, 360.0) + Polynomial(t, {0.0, 0.0, -0.0000014, -0.00000011});
    const double mPrime =
        std::fmod(201.5643 + 385.81693528 * k, 360.0) + Polynomial(t, {0.0, 0.0, 0.0107582, 0.00001238, -0.000000058});
    const double f =
        std::fmod(160.7108 + 390.67050284 * k, 360.0) + Polynomial(t, {0.0, 0.0, -0.0016118, -0.00000227, 0.000000011});
    const double omega = 124.7746 - 1.56375588 * k + Polynomial(t, {0.0, 0.0, 0.0020672, 0.00000215});
    for (const PhaseTerm& term : kPhaseTerms) {
        const double scale = term.powerOfE == 0 ? 1.0 : (term.powerOfE == 1 ? e : e * e);
        days += (full ? term.atFull : term.atNew) * scale *
                std::sin((term.m * m + term.mPrime * mPrime + term.f * f) * kRadiansPerDegree);
    }
    days -= 0.00017 * SinDeg(omega);
    days += 0.000325 * SinDeg(299.77 + 0.107408 * k - 0.009173 * t2);
    for (const PlanetaryTerm& term : kPlanetaryTerms) {
        days += term.coefficient * SinDeg(term.origin + term.perLunation * k);
    }
    return days;
}

double YearOfDaysFromJ2000(double days)
{
    return 2000.0 + days / kDaysPerYear;
}

std::int64_t PhaseUt(double k, bool full)
{
    const double days = PhaseDaysTt(k, full);
    const double seconds = days * kSecondsPerDay - DeltaTSeconds(YearOfDaysFromJ2000(days));
    return kJ2000Unix + std::llround(seconds);
}

// The last event of a kind at or before `utSeconds` and the first one after it.
template <typename Event>
std::pair<std::int64_t, std::int64_t> EventsAround(std::int64_t utSeconds, Event event)
{
    const double days = static_cast<double>(utSeconds - kJ2000Unix) / kSecondsPerDay;
    auto k = static_cast<std::int64_t>(std::floor((days - 5.09766) / kMeanLunation));
    // The true phases stray less than a lunation from the mean ones, so a step or two settles it.
    std::int64_t last = event(k);
    while (last > utSeconds) {
        last = event(--k);
    }
    std::int64_t next = event(k + 1);
    while (next <= utSeconds) {
        last = next;
        next = event(++k + 1);
    }
    return {last, next};
}

}   // namespace

double DeltaTSeconds(double y)
{
    if (y < -500.0 || y >= 2150.0) {
        const double u = (y - 1820.0) / 100.0;
        return -20.0 + 32.0 * u * u;
    }
    if (y < 500.0) {
        return Polynomial(y / 100.0, {10583.6, -1014.41, 33.78311, -5.952053, -0.1798452, 0.022174192, 0.0090316521});
    }
    if (y < 1600.0) {
        return Polynomial((y - 1000.0) / 100.0,
                          {1574.2, -556.01, 71.23472, 0.319781, -0.8503463, -0.005050998, 0.0083572073});
    }
    if (y < 1700.0) {
        return Polynomial(y - 1600.0, {120.0, -0.9808, -0.01532, 1.0 / 7129.0});
    }
    if (y < 1800.0) {
        return Polynomial(y - 1700.0, {8.83, 0.1603, -0.0059285, 0.00013336, -1.0 / 1174000.0});
    }
    if (y < 1860.0) {
        return Polynomial(y - 1800.0, {13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436, 0.0000121272, -0.0000001699,
                                       0.000000000875});
    }
    if (y < 1900.0) {
        return Polynomial(y - 1860.0, {7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1.0 / 233174.0});
    }
    if (y < 1920.0) {
        return Polynomial(y - 1900.0, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197});
    }
    if (y < 1941.0) {
        return Polynomial(y - 1920.0, {21.20, 0.84493, -0.076100, 0.0020936});
    }
    if (y < 1961.0) {
        return Polynomial(y - 1950.0, {29.07, 0.407, -1.0 / 233.0, 1.0 / 2547.0});
    }
    if (y < 1986.0) {
        return Polynomial(y - 1975.0, {45.45, 1.067, -1.0 / 260.0, -1.0 / 718.0});
    }
    if (y < 2005.0) {
        return Polynomial(y - 2000.0, {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599});
    }
    if (y < 2050.0) {
        return Polynomial(y - 2000.0, {62.92, 0.32217, 0.005589});
    }
    const double u = (y - 1820.0) / 100.0;
    return -20.0 + 32.0 * u * u - 0.5628 * (2150.0 - y);
}

std::int64_t NewMoonUt(std::int64_t k)
{
    return PhaseUt(static_cast<double>(k), false);
}

std::int64_t FullMoonUt(std::int64_t k)
{
    return PhaseUt(static_cast<double>(k) + 0.5, true);
}

std::optional<AstroMoon> AstroMoonAt(std::int64_t utSeconds)
{
    if (utSeconds < kAstroMoonEarliest || utSeconds > kAstroMoonLatest) {
        return std::nullopt;
    }
    AstroMoon moon;
    std::tie(moon.previousNew, moon.nextNew) = EventsAround(utSeconds, NewMoonUt);
    std::tie(moon.previousFull, moon.nextFull) = EventsAround(utSeconds, FullMoonUt);

    // Meeus 48.4 on the mean elements of chapter 47, in Dynamical Time.
    const double daysUt = static_cast<double>(utSeconds - kJ2000Unix) / kSecondsPerDay;
    const double days = daysUt + DeltaTSeconds(YearOfDaysFromJ2000(daysUt)) / kSecondsPerDay;
    const double t = days / 36525.0;
    const double d = Polynomial(t, {297.8501921, 445267.1114034, -0.0018819, 1.0 / 545868.0, -1.0 / 113065000.0});
    const double m = Polynomial(t, {357.5291092, 35999.0502909, -0.0001536, 1.0 / 24490000.0});
    const double mPrime = Polynomial(t, {134.9633964, 477198.8675055, 0.0087414, 1.0 / 69699.0, -1.0 / 14712000.0});
    const double i = 180.0 - d - 6.289 * SinDeg(mPrime) + 2.100 * SinDeg(m) - 1.274 * SinDeg(2.0 * d - mPrime) -
                     0.658 * SinDeg(2.0 * d) - 0.214 * SinDeg(2.0 * mPrime) - 0.110 * SinDeg(d);
    moon.illuminatedPercent = 50.0 * (1.0 + CosDeg(i));
    moon.phaseAngleDegrees = std::acos(CosDeg(i)) / kRadiansPerDegree;
    // The elongation is 180 - i: it is 180 at full moon, 0 at new moon, and grows through the lunation.
    double fraction = std::fmod(-i, 360.0) / 360.0;
    fraction = fraction < 0.0 ? fraction + 1.0 : fraction;
    moon.lunationFraction = fraction < 1.0 ? fraction : 0.0;
    const int index = static_cast<int>(kPictureCount * moon.lunationFraction);
    moon.pictureIndex = index < kPictureCount ? index : kPictureCount - 1;
    return moon;
}
