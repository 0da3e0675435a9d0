#include "core/locale_format.h"

#include <gtest/gtest.h>

#include "fakes/date_at.h"
#include "fakes/fake_locale_formatter.h"

namespace {

TEST(LocaleFormat, TextsOfAValidDate)
{
    const FakeLocaleFormatter english;
    const DateTime value = At(2004, 3, 1, 13, 5, 9);
    EXPECT_EQ(FormatDateNameOf(english, value, false, true), "Monday");
    EXPECT_EQ(FormatDateNameOf(english, value, false, false), "Mon");
    EXPECT_EQ(FormatDateNameOf(english, value, true, true), "March");
    EXPECT_EQ(FormatDateNameOf(english, value, true, false), "Mar");
    EXPECT_EQ(FormatDateName(english, SystemTime{2004, 2, 3, 29}, false, true), "Sunday")
        << "the weekday comes from the date, not the record's day-of-week field";
}

TEST(LocaleFormat, FailuresGiveNoText)
{
    FakeLocaleFormatter english;
    // Whether it fails: invalid, the day before the platform's calendar starts, its first day, the last one.
    for (const auto& [value, fails] : {std::pair{DateTime::Invalid(), true},
                                       {At(1600, 12, 31, 23, 59, 59), true},
                                       {At(1601, 1, 1), false},
                                       {At(9999, 12, 31, 23, 59, 59), false}}) {
        EXPECT_EQ(!FormatLongDate(english, value).has_value(), fails) << value.GetStoredValue();
        EXPECT_EQ(!FormatTime(english, value).has_value(), fails) << value.GetStoredValue();
        EXPECT_EQ(!FormatDateNameOf(english, value, true, true).has_value(), fails) << value.GetStoredValue();
    }
    EXPECT_FALSE(FormatDateName(english, SystemTime{2004, 13, 0, 1}, true, true).has_value());
    EXPECT_FALSE(FormatDateName(english, SystemTime{2005, 2, 0, 29}, false, true).has_value());
    english.overflow = true;   // texts over the buffer
    EXPECT_FALSE(FormatLongDate(english, At(2004, 3, 1)).has_value());
    EXPECT_FALSE(FormatTime(english, At(2004, 3, 1)).has_value());
    EXPECT_FALSE(FormatDateName(english, SystemTime{2004, 3, 1, 1}, true, true).has_value());
}

}   // namespace
