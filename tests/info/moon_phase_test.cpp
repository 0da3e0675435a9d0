#include "info/moon_phase.h"

#include <gtest/gtest.h>

#include "fakes/date_at.h"
#include "fakes/fake_locale_formatter.h"

namespace {

TEST(MoonPhase, KnownMoments)
{
    const struct {
        const char* why;
        DateTime t;
        const char* percent;
        int picture;
        DateTime previousFull, nextFull;
    } cases[] = {
        {"the reference full moon itself", At(1996, 1, 5, 16, 15), "100.0%", 0, At(1996, 1, 5, 16, 15),
         At(1996, 2, 4, 4, 59, 1)},
        {"half a period later, rounded down", At(1996, 1, 20, 10, 37), "0.0%", 8, At(1996, 1, 5, 16, 15),
         At(1996, 2, 4, 4, 59, 1)},
        {"waning, years after the reference", At(2004, 12, 4), "52.9%", 4, At(2004, 11, 27, 0, 56, 50),
         At(2004, 12, 26, 13, 40, 51)},
        {"just before a full moon", At(2004, 12, 26, 12), "99.5%", 16, At(2004, 11, 27, 0, 56, 50),
         At(2004, 12, 26, 13, 40, 51)},
        {"a whole period before the reference ends its lunation", At(1995, 12, 7, 3, 30, 59), "100.0%", 16,
         At(1995, 11, 7, 14, 46, 58), At(1995, 12, 7, 3, 30, 59)},
        {"a second after that starts the next", At(1995, 12, 7, 3, 31, 0), "100.0%", 0, At(1995, 12, 7, 3, 30, 59),
         At(1996, 1, 5, 16, 15)},
        {"turn of the millennium", At(2000, 1, 1), "36.8%", 5, At(1999, 12, 22, 16, 11, 49),
         At(2000, 1, 21, 4, 55, 50)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const auto phase = ComputeMoonPhase(c.t);
        ASSERT_TRUE(phase.has_value());
        const MoonTexts texts = MoonFieldTexts(phase, FakeLocaleFormatter());
        EXPECT_EQ(texts[0], (FieldText{kMoonPhaseFieldId, c.percent}));
        EXPECT_EQ(phase->pictureIndex, c.picture);
        EXPECT_EQ(phase->previousFull, c.previousFull);
        EXPECT_EQ(phase->nextFull, c.nextFull);
    }
}

struct NewMoonCase {
    const char* why;
    DateTime t;
    DateTime previousNew, nextNew;
};

// A new moon lies S/2 = 1275720.5 s after a full moon and reads as the later second.
const NewMoonCase kNewMoonCases[] = {
    {"before the first new moon of the lunation", At(1996, 1, 5, 16, 15), At(1995, 12, 21, 21, 53, 0),
     At(1996, 1, 20, 10, 37, 1)},
    {"the new moon's own second is still before it", At(1996, 1, 20, 10, 37), At(1995, 12, 21, 21, 53, 0),
     At(1996, 1, 20, 10, 37, 1)},
    {"the second after it is past it", At(1996, 1, 20, 10, 37, 1), At(1996, 1, 20, 10, 37, 1),
     At(1996, 2, 18, 23, 21, 2)},
};

TEST(MoonPhase, NewMoonsFallOnTheLaterSecond)
{
    for (const NewMoonCase& c : kNewMoonCases) {
        SCOPED_TRACE(c.why);
        const auto phase = ComputeMoonPhase(c.t);
        ASSERT_TRUE(phase.has_value());
        EXPECT_EQ(phase->previousNew, c.previousNew);
        EXPECT_EQ(phase->nextNew, c.nextNew);
    }
}

TEST(MoonPhase, FieldTexts)
{
    const auto phase = ComputeMoonPhase(At(2004, 12, 4));
    const MoonTexts expected = {
        FieldText{kMoonPhaseFieldId, "52.9%"},
        FieldText{kPreviousFullFieldId, "Saturday, November 27, 2004 12:56:50 AM"},
        FieldText{kNextFullFieldId, "Sunday, December 26, 2004 1:40:51 PM"},
        FieldText{kPreviousNewFieldId, "Friday, November 12, 2004 6:34:50 AM"},
        FieldText{kNextNewFieldId, "Saturday, December 11, 2004 7:18:51 PM"},
    };
    EXPECT_EQ(MoonFieldTexts(phase, FakeLocaleFormatter()), expected);
}

TEST(MoonPhase, FailuresShowInTheirFields)
{
    // Before 1601 the locale formats nothing: both pieces are empty around the blank.
    const MoonTexts early = MoonFieldTexts(ComputeMoonPhase(At(1500, 6, 1)), FakeLocaleFormatter());
    EXPECT_EQ(early[1].text, " ");
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
        ASSERT_GE(phase->pictureIndex, 0);
        ASSERT_LE(phase->pictureIndex, 16);
        ASSERT_LE(phase->previousFull, t);
        ASSERT_GT(phase->nextFull, t);
        ASSERT_LE(phase->previousNew, t);
        ASSERT_GT(phase->nextNew, t);
    }
}

}  // namespace
