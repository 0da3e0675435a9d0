#include "core/locale_format.h"

#include <gtest/gtest.h>

#include "fakes/date_at.h"
#include "fakes/fake_locale_formatter.h"

namespace {

TEST(LocaleFormat, TextsOfAValidDate)
{
    const FakeLocaleFormatter english;
    const DateTime value = At(2004, 3, 1, 13, 5, 9);
    EXPECT_EQ(FormatLongDate(english, value), "Monday, March 01, 2004");
    EXPECT_EQ(FormatTime(english, value), "1:05:09 PM");
    EXPECT_EQ(FormatDateNameOf(english, value, false, true), "Monday");
    EXPECT_EQ(FormatDateNameOf(english, value, false, false), "Mon");
    EXPECT_EQ(FormatDateNameOf(english, value, true, true), "March");
    EXPECT_EQ(FormatDateNameOf(english, value, true, false), "Mar");
    EXPECT_EQ(FormatTime(english, At(2004, 3, 1)), "12:00:00 AM");
}

struct FailCase {
    const char* why;
    DateTime value;
    bool fails;
};

const FailCase kFailCases[] = {
    {"invalid value", DateTime::Invalid(), true},
    {"the day before the platform's calendar starts", At(1600, 12, 31, 23, 59, 59), true},
    {"the platform's first day", At(1601, 1, 1), false},
    {"the last day of the range", At(9999, 12, 31, 23, 59, 59), false},
};

TEST(LocaleFormat, FailuresGiveNoText)
{
    const FakeLocaleFormatter english;
    for (const FailCase& c : kFailCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(!FormatLongDate(english, c.value).has_value(), c.fails);
        EXPECT_EQ(!FormatTime(english, c.value).has_value(), c.fails);
        EXPECT_EQ(!FormatDateNameOf(english, c.value, true, true).has_value(), c.fails);
        EXPECT_EQ(!FormatDateNameOf(english, c.value, false, false).has_value(), c.fails);
    }
}

TEST(LocaleFormat, TextsOverTheBufferFail)
{
    FakeLocaleFormatter longWinded;
    longWinded.overflow = true;
    EXPECT_FALSE(FormatLongDate(longWinded, At(2004, 3, 1)).has_value());
    EXPECT_FALSE(FormatTime(longWinded, At(2004, 3, 1)).has_value());
    EXPECT_FALSE(FormatDateName(longWinded, SystemTime{2004, 3, 1, 1}, true, true).has_value());
}

TEST(LocaleFormat, ImpossibleRecordsFail)
{
    const FakeLocaleFormatter english;
    EXPECT_FALSE(FormatDateName(english, SystemTime{2004, 13, 0, 1}, true, true).has_value());
    EXPECT_FALSE(FormatDateName(english, SystemTime{2005, 2, 0, 29}, false, true).has_value());
    EXPECT_EQ(FormatDateName(english, SystemTime{2004, 2, 3, 29}, false, true), "Sunday")
        << "the weekday comes from the date, not the record's day-of-week field";
}

}  // namespace
