#include "info/astro_moon.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr std::int64_t kDay = civil::kSecondsPerDay;

std::int64_t Ut(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return civil::DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) * kDay + h * 3600 + mi * 60 + s;
}

// tests/data/moon/phases.txt, made by make_phases.py beside it with PyEphem: "new" and "full" moons and
// "lit" fractions of the disc, in UT.
TEST(AstroMoon, AgreesWithAnIndependentEphemeris)
{
    std::ifstream file(CHRONEL_TEST_DATA_DIR "/moon/phases.txt");
    ASSERT_TRUE(file.is_open());
    int phases = 0;
    for (std::string line; std::getline(file, line);) {
        char kind[8] = {};
        int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
        double percent = 0.0;
        if (line.starts_with('#') ||
            std::sscanf(line.c_str(), "%7s %d-%d-%d %d:%d:%d %lf", kind, &y, &mo, &d, &h, &mi, &s, &percent) < 7) {
            continue;
        }
        SCOPED_TRACE(line);
        const std::int64_t t = Ut(y, mo, d, h, mi, s);
        if (std::string(kind) == "lit") {
            EXPECT_NEAR(AstroMoonAt(t).value().illuminatedPercent, percent, 1.0);
            continue;
        }
        // Half a day later the moon is still the same one's previous.
        const auto moon = AstroMoonAt(t + kDay / 2).value();
        EXPECT_NEAR(std::string(kind) == "new" ? moon.previousNew : moon.previousFull, t, 120);
        ++phases;
    }
    EXPECT_GE(phases, 50);
}

// Every lunation from 1754 to 9998: new and full moons alternate, and each lasts 29.27 to 29.83 days (to
// two decimals: the longest reach 29.832). Every 50th is also looked up as the page does: each event is at
// or before itself and strictly after the second before it; the disc is dark at new moon and lit at full
// moon by the separate phase-angle formula, and the picture agrees.
TEST(AstroMoon, NewAndFullMoonsAlternateAtSteadySpacing)
{
    std::int64_t k = -3045;
    std::int64_t newMoon = NewMoonUt(k), fullMoon = FullMoonUt(k);
    ASSERT_LT(newMoon, Ut(1754, 1, 1));
    for (; newMoon < Ut(9998, 1, 1); ++k) {
        const std::int64_t nextNew = NewMoonUt(k + 1), nextFull = FullMoonUt(k + 1);
        ASSERT_TRUE(newMoon < fullMoon && fullMoon < nextNew && nextNew < nextFull) << k;
        for (const std::int64_t span : {nextNew - newMoon, nextFull - fullMoon}) {
            ASSERT_TRUE(span >= 29.265 * kDay && span < 29.835 * kDay) << k << " " << span;
        }
        for (int kind = 0; k % 50 == 0 && kind < 2; ++kind) {
            const bool isNew = kind == 0;
            const std::int64_t t = isNew ? newMoon : fullMoon;
            const AstroMoon at = AstroMoonAt(t).value(), before = AstroMoonAt(t - 1).value();
            ASSERT_EQ(isNew ? at.previousNew : at.previousFull, t) << k;
            ASSERT_EQ(isNew ? before.nextNew : before.nextFull, t) << k;
            ASSERT_TRUE(isNew ? at.illuminatedPercent < 0.2 : at.illuminatedPercent > 99.8) << k;
            ASSERT_TRUE(isNew ? at.pictureIndex == 8 : at.pictureIndex % 16 == 0) << k << " " << at.pictureIndex;
        }
        newMoon = nextNew;
        fullMoon = nextFull;
    }
}

// The first and last lunations of the years 0100-9999 are found.
TEST(AstroMoon, RangeCoversTheYears100To9999)
{
    EXPECT_TRUE(AstroMoonAt(kAstroMoonEarliest) && AstroMoonAt(kAstroMoonLatest));
    EXPECT_FALSE(AstroMoonAt(kAstroMoonEarliest - 1) || AstroMoonAt(kAstroMoonLatest + 1));
    EXPECT_LT(AstroMoonAt(Ut(100, 1, 1)).value().previousFull, Ut(100, 1, 1));
    EXPECT_GT(AstroMoonAt(Ut(9999, 12, 31, 23, 59, 59)).value().nextNew, Ut(10000, 1, 1));
}

// The pieces of Delta T meet where they change (a slip in a coefficient would open a gap), and the
// parabola kept beyond 3000 continues them.
TEST(AstroMoon, DeltaTPiecesMeet)
{
    for (const double year :
         {500.0, 1600.0, 1700.0, 1800.0, 1860.0, 1900.0, 1920.0, 1941.0, 1961.0, 1986.0, 2005.0, 2050.0, 2150.0}) {
        EXPECT_NEAR(DeltaTSeconds(year - 1e-9), DeltaTSeconds(year), 6.0) << year;
    }
    EXPECT_NEAR(DeltaTSeconds(9999.0) / kDay, 2.48, 0.01);
}

}   // namespace
