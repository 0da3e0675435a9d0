#include "calc/difference.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sstream>
#include <string>

#include "core/calendar.h"
#include "fakes/date_at.h"

namespace {

// Overall years, months, days, hours, minutes, seconds, weeks, week-days; particular years, months,
// weeks, days, hours, minutes, seconds.
struct DiffCase {
    const char* why;
    DateTime start, final;
    const char* fields;   // separated by blanks
};

const DiffCase kCases[] = {
    {"borrowed month is the start's month", At(2003, 1, 31), At(2003, 3, 1),
     "0 1 1 0 0 0 4 1 0 1 4 29 696 41760 2505600"},
    {"twelve months fold into the years", At(2003, 6, 15, 10), At(2005, 6, 20, 12, 30, 15),
     "2 0 5 2 30 15 0 5 2 24 105 736 17666 1059990 63599415"},
    {"over a year end into a leap year", At(2003, 12, 31), At(2004, 1, 1), "0 0 1 0 0 0 0 0 0 0 0 1 24 1440 86400"},
    {"the two readings differ by a leap day", At(2003, 1, 10), At(2004, 1, 20),
     "1 0 10 0 0 0 1 2 1 12 53 375 9000 540000 32400000"},
    {"leap day to one day short of a year", At(2004, 2, 29), At(2005, 2, 28),
     "0 11 28 0 0 0 0 0 0 11 52 365 8760 525600 31536000"},
    {"late evening to early morning counts the day", At(2004, 1, 1, 23), At(2004, 1, 2, 1),
     "0 0 1 2 0 0 0 1 0 0 0 0 2 120 7200"},
    {"same instant", At(2000, 1, 1), At(2000, 1, 1), "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"},
    {"wall-clock days across a daylight-saving change", At(2004, 3, 27, 12), At(2004, 3, 29, 12),
     "0 0 2 0 0 0 0 2 0 0 0 2 48 2880 172800"},
    {"both ends of the range, totals beyond 32 bits", At(1754, 1, 1), At(9998, 12, 31, 23, 59, 59),
     "8244 11 30 23 59 59 52 0 8244 98939 430203 3011423 72274175 4336450559 260187033599"},
    {"only the start's lower and the final's upper bound are tested", At(9998, 12, 31, 23, 59, 59), At(1754, 1, 1),
     "-8244 -11 -30 -23 -59 -59 -52 0 -8244 -98939 -430203 -3011423 -72274175 -4336450559 -260187033599"},
    {"start before the range", At(1753, 12, 31, 23, 59, 59), At(2000, 1, 1), "* * * * * * * * * * * * * * *"},
    {"final after the range", At(2000, 1, 1), At(9999, 1, 1), "* * * * * * * * * * * * * * *"},
    {"invalid input", DateTime::Invalid(), At(2000, 1, 1), "* * * * * * * * * * * * * * *"},
};

TEST(Difference, WorkedExamples)
{
    for (const DiffCase& c : kCases) {
        SCOPED_TRACE(c.why);
        std::istringstream fields(c.fields);
        for (const FieldText& field : ComputeDifference(c.start, c.final)) {
            std::string expected;
            fields >> expected;
            EXPECT_EQ(field.text, expected) << "field " << field.controlId;
        }
    }
}

TEST(Difference, NothingUnlessStrictlyLater)
{
    const CalendarSpan calendar = CalendarDifference(At(2004, 5, 5, 12), At(2004, 5, 5, 11));
    EXPECT_EQ(calendar.years + calendar.months + calendar.days, 0);
    const WeekSpan weeks = WeekDifference(At(2004, 5, 5), At(2004, 5, 5));
    EXPECT_EQ(weeks.weeks + weeks.days, 0);
}

std::int64_t ChronoSeconds(int y, int mo, int d, int h, int mi, int s)
{
    using namespace std::chrono;
    const sys_days day{year{y} / month{static_cast<unsigned>(mo)} / static_cast<unsigned>(d)};
    return (sys_seconds{day} + hours{h} + minutes{mi} + seconds{s}).time_since_epoch().count();
}

TEST(Difference, TotalsAgreeWithStdChronoAndReversalNegates)
{
    std::mt19937_64 random(20041101);
    std::uniform_int_distribution<int> year(1754, 9998), month(1, 12), day(1, 31), hour(0, 23), sixty(0, 59);
    for (int i = 0; i < 20000; ++i) {
        int parts[2][6];
        DateTime values[2];
        for (int k = 0; k < 2; ++k) {
            const int y = year(random), mo = month(random);
            parts[k][0] = y;
            parts[k][1] = mo;
            parts[k][2] = std::min(day(random), DaysInMonth(y, mo));
            parts[k][3] = hour(random);
            parts[k][4] = sixty(random);
            parts[k][5] = sixty(random);
            values[k] = At(parts[k][0], parts[k][1], parts[k][2], parts[k][3], parts[k][4], parts[k][5]);
        }
        const std::int64_t seconds = ChronoSeconds(parts[1][0], parts[1][1], parts[1][2], parts[1][3], parts[1][4],
                                                   parts[1][5]) -
                                     ChronoSeconds(parts[0][0], parts[0][1], parts[0][2], parts[0][3], parts[0][4],
                                                   parts[0][5]);
        const DifferenceTexts forward = ComputeDifference(values[0], values[1]);
        ASSERT_EQ(forward[11].text, std::to_string(seconds / 86400));
        ASSERT_EQ(forward[10].text, std::to_string(seconds / 86400 / 7));
        ASSERT_EQ(forward[12].text, std::to_string(seconds / 3600));
        ASSERT_EQ(forward[13].text, std::to_string(seconds / 60));
        ASSERT_EQ(forward[14].text, std::to_string(seconds));
        ASSERT_EQ(forward[3].text, std::to_string(seconds % 86400 / 3600));

        const DifferenceTexts backward = ComputeDifference(values[1], values[0]);
        for (std::size_t f = 0; f < forward.size(); ++f) {
            const std::string negated = forward[f].text == "0" ? "0"
                                        : forward[f].text[0] == '-' ? forward[f].text.substr(1)
                                                                   : "-" + forward[f].text;
            ASSERT_EQ(backward[f].text, negated) << "field " << forward[f].controlId;
        }
    }
}

TEST(Difference, AtMostOneEndFollowsTheClock)
{
    const struct {
        const char* why;
        bool startCurrent, finalCurrent;
        bool startInputs, finalInputs;
    } cases[] = {
        {"both ends editable", false, false, true, true},
        {"start follows the clock", true, false, false, true},
        {"final follows the clock", false, true, true, false},
        {"both ticked by another tool", true, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const auto states = DifferenceControlStates(c.startCurrent, c.finalCurrent);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(states[i].enabled, c.startInputs) << states[i].controlId;
            EXPECT_EQ(states[4 + i].enabled, c.finalInputs) << states[4 + i].controlId;
        }
    }
}

}  // namespace
