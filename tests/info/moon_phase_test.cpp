#include "info/moon_phase.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/date_at.h"
#include "fakes/fake_locale_formatter.h"

namespace {

TEST(MoonPhase, KnownMoments)
{
    // Moment, phase text, picture, previous and next full moon.
    const DateTime ref = At(1996, 1, 5, 16, 15), refNext = At(1996, 2, 4, 4, 59, 1);
    const DateTime end1995 = At(1995, 12, 7, 3, 30, 59), next2004 = At(2004, 12, 26, 13, 40, 51);
    const std::tuple<DateTime, const char*, int, DateTime, DateTime> cases[] = {
        {ref, "100.0%", 0, ref, refNext},                     // the reference full moon itself
        {At(1996, 1, 20, 10, 37), "0.0%", 8, ref, refNext},   // half a period later, rounded down
        {At(2004, 12, 26, 12), "99.5%", 16, At(2004, 11, 27, 0, 56, 50), next2004},   // just before a full moon
        {end1995, "100.0%", 16, At(1995, 11, 7, 14, 46, 58), end1995},                // a period before ends a lunation
        {At(1995, 12, 7, 3, 31, 0), "100.0%", 0, end1995, ref},   // and a second later starts the next
    };
    for (const auto& [t, percent, picture, previousFull, nextFull] : cases) {
        SCOPED_TRACE(t.Format("%F %T"));
        const auto phase = ComputeMoonPhase(t);
        EXPECT_EQ(MoonFieldTexts(phase, FakeLocaleFormatter())[0].text, percent);
        EXPECT_EQ(std::tie(phase.value().pictureIndex, phase->previousFull, phase->nextFull),
                  std::tie(picture, previousFull, nextFull));
    }
    // A new moon lies S/2 = 1275720.5 s after a full moon and reads as the later second.
    const DateTime newMoon = At(1996, 1, 20, 10, 37, 1), before = At(1995, 12, 21, 21, 53, 0);
    for (const auto& [t, previousNew, nextNew] : {std::tuple{ref, before, newMoon},
                                                  {At(1996, 1, 20, 10, 37), before, newMoon},
                                                  {newMoon, newMoon, At(1996, 2, 18, 23, 21, 2)}}) {
        SCOPED_TRACE(t.Format("%F %T"));
        const auto phase = ComputeMoonPhase(t);
        EXPECT_EQ(std::tie(phase.value().previousNew, phase->nextNew), std::tie(previousNew, nextNew));
    }
}

TEST(MoonPhase, FieldTexts)
{
    const MoonTexts expected = {
        FieldText{kMoonPhaseFieldId, "52.9%"},
        FieldText{kPreviousFullFieldId, "Saturday, November 27, 2004 12:56:50 AM"},
        FieldText{kNextFullFieldId, "Sunday, December 26, 2004 1:40:51 PM"},
        FieldText{kPreviousNewFieldId, "Friday, November 12, 2004 6:34:50 AM"},
        FieldText{kNextNewFieldId, "Saturday, December 11, 2004 7:18:51 PM"},
    };
    EXPECT_EQ(MoonFieldTexts(ComputeMoonPhase(At(2004, 12, 4)), FakeLocaleFormatter()), expected);
    // Before 1601 the locale formats nothing: both pieces are empty around the blank.
    EXPECT_EQ(MoonFieldTexts(ComputeMoonPhase(At(1500, 6, 1)), FakeLocaleFormatter())[1].text, " ");
    // The first lunation of the range has its previous moons outside it.
    const auto first = ComputeMoonPhase(At(100, 1, 1));
    ASSERT_TRUE(first.has_value());
    EXPECT_FALSE(first->previousFull.IsValid());
    EXPECT_TRUE(first->nextFull.IsValid());
    // No phase at all: every field is "*".
    for (const FieldText& field : MoonFieldTexts(ComputeMoonPhase(DateTime::Invalid()), FakeLocaleFormatter())) {
        EXPECT_EQ(field.text, "*");
    }
}

TEST(MoonPhase, EveryHourOfALunationStaysInBounds)
{
    DateTime t = At(2004, 1, 1);
    for (int hour = 0; hour < 24 * 60; ++hour, t += DateTimeSpan(1.0 / 24)) {
        const auto phase = ComputeMoonPhase(t);
        ASSERT_TRUE(phase.has_value());
        ASSERT_TRUE(phase->pictureIndex >= 0 && phase->pictureIndex <= 16) << phase->pictureIndex;
        ASSERT_TRUE(phase->previousFull <= t && t < phase->nextFull) << t.Format("%F %T");
        ASSERT_TRUE(phase->previousNew <= t && t < phase->nextNew) << t.Format("%F %T");
    }
}

}   // namespace
