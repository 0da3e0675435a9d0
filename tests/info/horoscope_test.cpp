#include "info/horoscope.h"

#include <gtest/gtest.h>

#include "core/calendar.h"
#include "fakes/date_at.h"
#include "fakes/fake_messages.h"

namespace {

TEST(Horoscope, KnownDays)
{
    const struct {
        const char* why;
        DateTime value;
        const char* animal;
        const char* sign;
    } cases[] = {
        {"last minute of Aquarius", At(2004, 2, 18, 23, 59), "Monkey", "Aquarius"},
        {"first minute of Pisces", At(2004, 2, 19), "Monkey", "Pisces"},
        {"leap day", At(2004, 2, 29), "Monkey", "Pisces"},
        {"last day of Sagittarius", At(2004, 12, 21, 23, 59, 59), "Monkey", "Sagittarius"},
        {"Capricorn across the year end", At(2004, 12, 22), "Monkey", "Capricorn"},
        {"Capricorn's last day", At(2005, 1, 20), "Rooster", "Capricorn"},
        {"Aquarius' first day", At(2005, 1, 21), "Rooster", "Aquarius"},
        {"Scorpio starts October 24", At(2005, 10, 24), "Rooster", "Scorpio"},
        {"Libra ends October 23", At(2005, 10, 23), "Rooster", "Libra"},
        {"the cycle starts at 2000", At(2000, 6, 1), "Dragon", "Gemini"},
        {"the year before 2000", At(1999, 6, 1), "Rabbit", "Gemini"},
        {"1900", At(1900, 6, 1), "Rat", "Gemini"},
        {"first year of the range", At(100, 1, 1), "Rat", "Capricorn"},
        {"last year of the range", At(9999, 12, 31), "Boar", "Capricorn"},
        {"animal changes on January 1, not at lunar new year", At(2003, 12, 31, 23, 59, 59), "Ram", "Capricorn"},
        {"the next day", At(2004, 1, 1), "Monkey", "Capricorn"},
        {"invalid value", DateTime::Invalid(), "*", "*"},
    };
    const FakeMessages messages;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const HoroscopeTexts texts = ComputeHoroscope(c.value, messages);
        EXPECT_EQ(texts[0], (FieldText{kYearAnimalFieldId, c.animal}));
        EXPECT_EQ(texts[1], (FieldText{kSignFieldId, c.sign}));
    }
}

TEST(Horoscope, EveryDayOfALeapYearHasOneSignInSequence)
{
    // Walking through a year, the sign only ever moves to the next one (Capricorn wraps to Aquarius),
    // and each of the twelve is met.
    int previous = ZodiacMessageId(1, 1);
    int changes = 0;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= DaysInMonth(2004, month); ++day) {
            const int sign = ZodiacMessageId(month, day);
            if (sign != previous) {
                ASSERT_EQ(sign, previous == 23 ? 12 : previous + 1) << month << "-" << day;
                ++changes;
            }
            previous = sign;
        }
    }
    EXPECT_EQ(changes, 12);
}

TEST(Horoscope, TextsComeFromTheLanguage)
{
    FakeMessages messages;
    messages.Override(4, "Affe");
    messages.Override(13, "Fische");
    const HoroscopeTexts texts = ComputeHoroscope(At(2004, 3, 1), messages);
    EXPECT_EQ(texts[0].text, "Affe");
    EXPECT_EQ(texts[1].text, "Fische");
}

}  // namespace
