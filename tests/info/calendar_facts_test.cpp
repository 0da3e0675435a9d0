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

// Day names, day and week numbers of every day are checked against the C library below.
TEST(CalendarFacts, KnownDays)
{
    const struct {
        const char* why;
        DateTime value;
        int controlId;
        const char* text;
    } cases[] = {
        {"1900 is not a leap year", At(1900, 6, 1), kLeapYearFieldId, "No"},
        {"2004 is a leap year", At(2004, 6, 1), kLeapYearFieldId, "Yes"},
        {"November is autumn", At(2004, 11, 30), kSeasonFieldId, "Autumn"},
        {"December is winter", At(2004, 12, 1), kSeasonFieldId, "Winter"},
        {"March is spring", At(2004, 3, 31), kSeasonFieldId, "Spring"},
        {"August is summer", At(2004, 8, 31), kSeasonFieldId, "Summer"},
        {"March is the first quarter", At(2004, 3, 31), kQuarterFieldId, "1"},
        {"April is the second quarter", At(2004, 4, 1), kQuarterFieldId, "2"},
        {"December is the fourth quarter", At(2004, 12, 31), kQuarterFieldId, "4"},
        {"no day name before 1601", At(1600, 12, 31), kDayOfWeekFieldId, ""},
        {"facts still given before 1601", At(1600, 12, 31), kDayNumberFieldId, "366"},
        {"invalid value", DateTime::Invalid(), kWeekNumberFieldId, "*"},
        {"invalid value has no day name either", DateTime::Invalid(), kDayOfWeekFieldId, "*"},
    };
    const FakeMessages messages;
    const FakeLocaleFormatter english;
    for (const auto& c : cases) {
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
