#include "platform/qt_locale_formatter.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The formatter follows LC_TIME; ctest runs the tests without a user locale, so the C locale's English
// forms are what can be relied on here.
TEST(QtLocaleFormatter, FormsOfTheSystemLocale)
{
    const QtLocaleFormatter formatter;
    const SystemTime noon{2004, 3, 1, 1, 13, 5, 9, 0};
    const std::string date = formatter.LongDate(noon);
    EXPECT_NE(date.find("2004"), std::string::npos) << date;
    EXPECT_NE(date.find("Monday"), std::string::npos) << date;
    const std::string time = formatter.Time(noon);
    EXPECT_NE(time.find("05"), std::string::npos) << time;
    EXPECT_NE(time.find("09"), std::string::npos) << time;
    EXPECT_EQ(time.find("UTC"), std::string::npos) << "no zone name: " << time;
    EXPECT_EQ(formatter.DatePicture(noon, "dddd"), "Monday");
    EXPECT_EQ(formatter.DatePicture(noon, "MMM"), "Mar");
    EXPECT_EQ(FormatLongDate(formatter, DateTime::FromParts(1600, 12, 31, 0, 0, 0)), std::nullopt);
}

TEST(QtLocaleFormatter, ImpossibleRecordsGiveNoText)
{
    const QtLocaleFormatter formatter;
    EXPECT_EQ(formatter.LongDate(SystemTime{2005, 2, 0, 29}), "");
    EXPECT_EQ(formatter.Time(SystemTime{2005, 1, 0, 1, 24}), "");
}

}  // namespace
