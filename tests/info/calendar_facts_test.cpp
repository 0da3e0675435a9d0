#include "info/calendar_facts.h"

#include <gtest/gtest.h>

#include <ctime>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/calendar.h"
#include "fakes/date_at.h"
#include "fakes/fake_locale_formatter.h"
#include "fakes/fake_messages.h"

namespace {

using Texts = std::vector<std::string>;

// The six fact texts, checked to come in page order.
Texts Facts(const DateTime& value, const FakeMessages& messages = {})
{
    const int order[] = {kLeapYearFieldId,  kDayNumberFieldId, kWeekNumberFieldId,
                         kDayOfWeekFieldId, kQuarterFieldId,   kSeasonFieldId};
    Texts texts;
    for (const FieldText& field : ComputeCalendarFacts(value, messages, FakeLocaleFormatter())) {
        EXPECT_EQ(field.controlId, order[texts.size()]);
        texts.push_back(field.text);
    }
    return texts;
}

// Day names, day and week numbers of every day are checked against the C library below; here the
// leap years, quarter and season boundaries, the texts from the language, and the range's edges.
TEST(CalendarFacts, KnownDays)
{
    FakeMessages messages;
    messages.Override(33, "Ja");
    messages.Override(36, "Frühling");
    const std::pair<DateTime, Texts> cases[] = {
        {At(1900, 6, 1), {"No", "152", "22", "Friday", "2", "Summer"}},
        {At(2004, 3, 31), {"Ja", "91", "14", "Wednesday", "1", "Frühling"}},
        {At(2004, 4, 1), {"Ja", "92", "14", "Thursday", "2", "Frühling"}},
        {At(2004, 8, 31), {"Ja", "244", "36", "Tuesday", "3", "Summer"}},
        {At(2004, 11, 30), {"Ja", "335", "49", "Tuesday", "4", "Autumn"}},
        {At(2004, 12, 1), {"Ja", "336", "49", "Wednesday", "4", "Winter"}},
        {At(1600, 12, 31), {"Ja", "366", "54", "", "4", "Winter"}},   // no day name before 1601
        {DateTime::Invalid(), {"*", "*", "*", "*", "*", "*"}},
    };
    for (const auto& [value, texts] : cases) {
        EXPECT_EQ(Facts(value, messages), texts);
    }
}

// The C library's own reading of a date: weekday, day of the year and "%U".
std::tm LibraryDay(int year, int month, int day)
{
    std::tm tm{};
    tm.tm_year = year - 1900, tm.tm_mon = month - 1, tm.tm_mday = day, tm.tm_hour = 12;
    const std::time_t t = timegm(&tm);
    return *gmtime_r(&t, &tm);
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
    for (const int year : years) {
        for (DateTime day = At(year, 1, 1); day < At(year + 1, 1, 1); day += DateTimeSpan(1.0)) {
            SCOPED_TRACE(day.Format("%F"));
            const std::tm tm = LibraryDay(year, day.GetMonth(), day.GetDay());
            char expected[64];
            std::strftime(expected, sizeof expected, "%A", &tm);
            const Texts texts = Facts(day + DateTimeSpan(0.5));
            ASSERT_EQ(texts[3], expected);
            ASSERT_EQ(texts[1], std::to_string(tm.tm_yday + 1));
            std::strftime(expected, sizeof expected, "%U", &tm);
            ASSERT_EQ(WeekNumber(day), std::stoi(expected) + 1);
        }
    }
}

}   // namespace
