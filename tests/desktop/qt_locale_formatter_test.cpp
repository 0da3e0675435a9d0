#include "desktop/qt_locale_formatter.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>

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
    // Impossible records give no text.
    EXPECT_EQ(formatter.LongDate(SystemTime{2005, 2, 0, 29}), "");
    EXPECT_EQ(formatter.Time(SystemTime{2005, 1, 0, 1, 24}), "");
}

// Names come from tables read once: each must be the one Qt gives for that date, every weekday and month.
TEST(QtLocaleFormatter, NamesAsQtGivesThem)
{
    const QtLocaleFormatter formatter;
    for (std::uint16_t month = 1; month <= 12; ++month) {
        for (std::uint16_t day = 1; day <= 7; ++day) {
            for (const char* picture : {"dddd", "ddd", "MMMM", "MMM"}) {
                EXPECT_EQ(
                    formatter.DatePicture(SystemTime{2004, month, 0, day}, picture),
                    QLocale::system().toString(QDate(2004, month, day), QString::fromLatin1(picture)).toStdString());
            }
        }
    }
}

}   // namespace
