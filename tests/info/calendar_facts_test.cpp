#include "info/calendar_facts.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "fakes/date_at.h"
#include "fakes/fake_locale_formatter.h"
#include "fakes/fake_messages.h"

namespace {

using Texts = std::vector<std::string>;

// The seven fact texts, checked to come in page order.
Texts Facts(const DateTime& value, const FakeMessages& messages = {})
{
    const int order[] = {kLeapYearFieldId, kDayNumberFieldId, kWeekNumberFieldId, kDayOfWeekFieldId,
                         kQuarterFieldId,  kSeasonFieldId,    kIsoWeekFieldId};
    Texts texts;
    for (const FieldText& field : ComputeCalendarFacts(value, messages, FakeLocaleFormatter())) {
        EXPECT_EQ(field.controlId, order[texts.size()]);
        texts.push_back(field.text);
    }
    return texts;
}

// Week numbers of every day are checked against the C library below; here the leap years, quarter and
// season boundaries, the texts from the language, and the range's edges.
TEST(CalendarFacts, KnownDays)
{
    FakeMessages messages;
    messages.Override(33, "Ja");
    messages.Override(36, "Frühling");
    const std::pair<DateTime, Texts> cases[] = {
        {At(1900, 6, 1), {"No", "152", "22", "Friday", "2", "Summer", "22 (1900)"}},
        {At(2004, 3, 31), {"Ja", "91", "14", "Wednesday", "1", "Frühling", "14 (2004)"}},
        {At(2004, 4, 1), {"Ja", "92", "14", "Thursday", "2", "Frühling", "14 (2004)"}},
        {At(2004, 8, 31), {"Ja", "244", "36", "Tuesday", "3", "Summer", "36 (2004)"}},
        {At(2004, 11, 30), {"Ja", "335", "49", "Tuesday", "4", "Autumn", "49 (2004)"}},
        {At(2004, 12, 1), {"Ja", "336", "49", "Wednesday", "4", "Winter", "49 (2004)"}},
        {At(2026, 12, 6, 23, 59, 59), {"No", "340", "50", "Sunday", "4", "Winter", "49 (2026)"}},
        {At(2027, 1, 1), {"No", "1", "1", "Friday", "1", "Winter", "53 (2026)"}},
        {At(1600, 12, 31), {"Ja", "366", "54", "", "4", "Winter", "52 (1600)"}},   // no day name before 1601
        {DateTime::Invalid(), {"*", "*", "*", "*", "*", "*", "*"}},
    };
    for (const auto& [value, texts] : cases) {
        EXPECT_EQ(Facts(value, messages), texts);
    }
}

// The C library's own reading of a date, for "%U", "%G" and "%V".
std::tm LibraryDay(int year, int month, int day)
{
    std::tm tm{};
    tm.tm_year = year - 1900, tm.tm_mon = month - 1, tm.tm_mday = day, tm.tm_hour = 12;
    const std::time_t t = timegm(&tm);
    return *gmtime_r(&t, &tm);
}

// Every day of the Time Info range's first 647 years: each kind of year, and each turn of a year into or out
// of a 53-week ISO year, comes up many times. (Weekdays and days of the year are the date's own parts,
// checked against std::chrono for the whole range.)
TEST(CalendarFacts, EveryWeekNumberAgreesWithTheCLibrary)
{
    for (DateTime day = At(1754, 1, 1); day < At(2401, 1, 1); day += DateTimeSpan(1.0)) {
        SCOPED_TRACE(day.Format("%F"));
        const std::tm tm = LibraryDay(day.GetYear(), day.GetMonth(), day.GetDay());
        char expected[64];
        std::strftime(expected, sizeof expected, "%U", &tm);
        ASSERT_EQ(WeekNumber(day), std::stoi(expected) + 1);
        std::strftime(expected, sizeof expected, "%G %V", &tm);
        ASSERT_EQ(IsoWeekOf(day), (IsoWeek{std::stoi(expected), std::stoi(expected + 5)}));
    }
}

}   // namespace
