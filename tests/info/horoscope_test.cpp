#include "info/horoscope.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/date_at.h"
#include "fakes/fake_messages.h"

namespace {

// The sign boundaries around the year end and a leap February, and the animal cycle at the range's ends.
TEST(Horoscope, KnownDays)
{
    FakeMessages messages;   // two texts from the language, to prove both are looked up
    messages.Override(4, "Affe");
    messages.Override(13, "Fische");
    const std::tuple<DateTime, const char*, const char*> cases[] = {
        {At(2004, 2, 18, 23, 59), "Affe", "Aquarius"},
        {At(2004, 2, 19), "Affe", "Fische"},
        {At(2004, 12, 21, 23, 59, 59), "Affe", "Sagittarius"},
        {At(2004, 12, 22), "Affe", "Capricorn"},
        {At(2005, 1, 20), "Rooster", "Capricorn"},
        {At(2005, 1, 21), "Rooster", "Aquarius"},
        {At(2005, 10, 23), "Rooster", "Libra"},
        {At(2005, 10, 24), "Rooster", "Scorpio"},
        {At(2000, 6, 1), "Dragon", "Gemini"},   // the cycle starts at 2000
        {At(100, 1, 1), "Rat", "Capricorn"},
        {At(9999, 12, 31), "Boar", "Capricorn"},
        {At(2003, 12, 31, 23, 59, 59), "Ram", "Capricorn"},   // on January 1, not at lunar new year
        {DateTime::Invalid(), "*", "*"},
    };
    for (const auto& [value, animal, sign] : cases) {
        SCOPED_TRACE(sign);
        const HoroscopeTexts texts = ComputeHoroscope(value, messages);
        EXPECT_EQ(texts, (HoroscopeTexts{FieldText{kYearAnimalFieldId, animal}, FieldText{kSignFieldId, sign}}));
    }
}

TEST(Horoscope, EveryDayOfALeapYearHasOneSignInSequence)
{
    // Walking through a year, the sign only ever moves to the next one (Capricorn wraps to Aquarius),
    // and each of the twelve is met.
    int previous = ZodiacMessageId(1, 1), changes = 0;
    for (DateTime day = At(2004, 1, 1); day < At(2005, 1, 1); day += DateTimeSpan(1.0)) {
        const int sign = ZodiacMessageId(day.GetMonth(), day.GetDay());
        ASSERT_TRUE(sign == previous || sign == (previous == 23 ? 12 : previous + 1)) << day.Format("%F");
        changes += sign != previous ? 1 : 0;
        previous = sign;
    }
    EXPECT_EQ(changes, 12);
}

}   // namespace
