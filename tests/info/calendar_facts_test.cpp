#include "info/calendar_facts.h"

#include <gtest/gtest.h>

#include <ctime>
#include <set>
#include <string>
#include <utility>

#include "core/calendar.h"
#include "fakes/date_at.h"
#include "fakes/fake_locale_formatter.h"
#include "fakes/fake_messages.h"

namespace {

std::string Field(const CalendarFactTexts& texts, int controlId)
{
    for (const FieldText& field : texts) {
        if (field.controlId == controlId) {
            return field.text;
        }
    }
    return "<missing>";
}

struct FactCase {
    const char* why;
    DateTime value;
    int controlId;
    const char* text;
};

const FactCase kFactCases[] = {
    {"1900 is not a leap year", At(1900, 6, 1), kLeapYearFieldId, "No"},
    {"2000 is a leap year", At(2000, 6, 1), kLeapYearFieldId, "Yes"},
    {"2004 is a leap year", At(2004, 6, 1), kLeapYearFieldId, "Yes"},
    {"2100 is not a leap year", At(2100, 6, 1), kLeapYearFieldId, "No"},
    {"last day of a leap year", At(2004, 12, 31), kDayNumberFieldId, "366"},
    {"last day of a common year", At(2005, 12, 31, 23, 59, 59), kDayNumberFieldId, "365"},
    {"Saturday before the first Sunday", At(2005, 1, 1), kWeekNumberFieldId, "1"},
    {"first Sunday starts week 2", At(2005, 1, 2), kWeekNumberFieldId, "2"},
    {"a year that begins on Sunday has no week 1", At(2006, 1, 1), kWeekNumberFieldId, "2"},
    {"Saturday ends the week", At(2006, 1, 7, 23, 59, 59), kWeekNumberFieldId, "2"},
    {"second Sunday", At(2006, 1, 8), kWeekNumberFieldId, "3"},
    {"Saturday January 3", At(2004, 1, 3), kWeekNumberFieldId, "1"},
    {"Sunday January 4", At(2004, 1, 4), kWeekNumberFieldId, "2"},
    {"end of a leap year beginning on Thursday", At(2004, 12, 31), kWeekNumberFieldId, "53"},
    {"leap year beginning on Saturday reaches 54", At(2000, 12, 31), kWeekNumberFieldId, "54"},
    {"common year beginning on Sunday reaches 54", At(2006, 12, 31), kWeekNumberFieldId, "54"},
    {"leap year beginning on Sunday reaches 54", At(2012, 12, 31), kWeekNumberFieldId, "54"},
    {"November is autumn", At(2004, 11, 30), kSeasonFieldId, "Autumn"},
    {"December is winter", At(2004, 12, 1), kSeasonFieldId, "Winter"},
    {"March is spring", At(2004, 3, 31), kSeasonFieldId, "Spring"},
    {"August is summer", At(2004, 8, 31), kSeasonFieldId, "Summer"},
    {"March is the first quarter", At(2004, 3, 31), kQuarterFieldId, "1"},
    {"April is the second quarter", At(2004, 4, 1), kQuarterFieldId, "2"},
    {"December is the fourth quarter", At(2004, 12, 31), kQuarterFieldId, "4"},
    {"day name from the locale", At(2004, 3, 5, 13), kDayOfWeekFieldId, "Friday"},
    {"no day name before 1601", At(1600, 12, 31), kDayOfWeekFieldId, ""},
    {"facts still given before 1601", At(1600, 12, 31), kDayNumberFieldId, "366"},
    {"invalid value", DateTime::Invalid(), kWeekNumberFieldId, "*"},
    {"invalid value has no day name either", DateTime::Invalid(), kDayOfWeekFieldId, "*"},
};

TEST(CalendarFacts, KnownDays)
{
    const FakeMessages messages;
    const FakeLocaleFormatter english;
    for (const FactCase& c : kFactCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(Field(ComputeCalendarFacts(c.value, messages, english), c.controlId), c.text);
    }
}

TEST(CalendarFacts, WrittenInPageOrderWithLanguageTexts)
{
    FakeMessages messages;
    messages.Override(33, "Ja");
    messages.Override(36, "Frühling");
    const FakeLocaleFormatter english;
    const CalendarFactTexts texts = ComputeCalendarFacts(At(2004, 4, 30, 12), messages, english);
    const CalendarFactTexts expected = {FieldText{kLeapYearFieldId, "Ja"},    FieldText{kDayNumberFieldId, "121"},
                                        FieldText{kWeekNumberFieldId, "18"},  FieldText{kDayOfWeekFieldId, "Friday"},
                                        FieldText{kQuarterFieldId, "2"},      FieldText{kSeasonFieldId, "Frühling"}};
    EXPECT_EQ(texts, expected);
}

// The C library's own reading of a date: weekday, day of the year and "%U".
std::tm LibraryDay(int year, int month, int day)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = 12;
    const std::time_t t = timegm(&tm);
    std::tm out{};
    gmtime_r(&t, &out);
    return out;
}

TEST(CalendarFacts, EveryDayAgreesWithTheCLibrary)
{
    // A leap and a common year starting on each weekday, and the century years.
    std::set<std::pair<bool, int>> kinds;
    std::set<int> years = {1800, 1900, 2000, 2100};
    for (int year = 1754; kinds.size() < 14; ++year) {
        if (kinds.insert({IsLeapYear(year), LibraryDay(year, 1, 1).tm_wday}).second) {
            years.insert(year);
        }
    }
    const FakeMessages messages;
    const FakeLocaleFormatter english;
    for (const int year : years) {
        SCOPED_TRACE(year);
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                const std::tm tm = LibraryDay(year, month, day);
                char expected[64];
                std::strftime(expected, sizeof expected, "%A", &tm);
                const CalendarFactTexts texts = ComputeCalendarFacts(At(year, month, day, 12), messages, english);
                ASSERT_EQ(Field(texts, kDayOfWeekFieldId), expected) << month << "-" << day;
                ASSERT_EQ(Field(texts, kDayNumberFieldId), std::to_string(tm.tm_yday + 1)) << month << "-" << day;
                std::strftime(expected, sizeof expected, "%U", &tm);
                ASSERT_EQ(WeekNumber(At(year, month, day)), std::stoi(expected) + 1) << month << "-" << day;
            }
        }
    }
}

}  // namespace
