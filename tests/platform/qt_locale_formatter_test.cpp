#include "platform/qt_locale_formatter.h"

#include <gtest/gtest.h>

namespace {

// The formatter follows LC_TIME; ctest runs the tests without a user locale, so the C locale's English
// forms are what can be relied on here.
TEST(QtLocaleFormatter, FormsOfTheSystemLocale)
{
    const QtLocaleFormatter formatter;
    const SystemTime noon{2004, 3, 1, 1, 13, 5, 9, 0};
    const std::string date = formatter.LongDate(noon);
    EXPECT_TRUE(date.find("2004") != date.npos && date.find("Monday") != date.npos) << date;
    const std::string time = formatter.Time(noon);
    EXPECT_TRUE(time.find("05") != time.npos && time.find("09") != time.npos) << time;
    EXPECT_EQ(time.find("UTC"), std::string::npos) << "no zone name: " << time;
    EXPECT_EQ(formatter.DatePicture(noon, "dddd MMM"), "Monday Mar");
    EXPECT_EQ(FormatLongDate(formatter, DateTime::FromParts(1600, 12, 31, 0, 0, 0)), std::nullopt);
    // Impossible records give no text.
    EXPECT_EQ(formatter.LongDate(SystemTime{2005, 2, 0, 29}), "");
    EXPECT_EQ(formatter.Time(SystemTime{2005, 1, 0, 1, 24}), "");
}

}   // namespace
