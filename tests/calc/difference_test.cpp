#include "calc/difference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <random>
#include <sstream>
#include <string>

#include "core/calendar.h"
#include "fakes/date_at.h"

namespace {

TEST(Difference, WorkedExamples)
{
    // Overall years, months, days, hours, minutes, seconds, weeks, week-days; particular years, months,
    // weeks, days, hours, minutes, seconds. "*" alone: every field is a star.
    const struct {
        const char* why;
        DateTime start, final;
        const char* fields;
    } cases[] = {
        {"borrowed month is the start's month", At(2003, 1, 31), At(2003, 3, 1),
         "0 1 1 0 0 0 4 1 0 1 4 29 696 41760 2505600"},
        {"twelve months fold into the years", At(2003, 6, 15, 10), At(2005, 6, 20, 12, 30, 15),
         "2 0 5 2 30 15 0 5 2 24 105 736 17666 1059990 63599415"},
        {"the readings differ by a leap day", At(2003, 1, 10), At(2004, 1, 20),
         "1 0 10 0 0 0 1 2 1 12 53 375 9000 540000 32400000"},
        {"leap day to one day short of a year", At(2004, 2, 29), At(2005, 2, 28),
         "0 11 28 0 0 0 0 0 0 11 52 365 8760 525600 31536000"},
        {"late evening to early morning", At(2004, 1, 1, 23), At(2004, 1, 2, 1), "0 0 1 2 0 0 0 1 0 0 0 0 2 120 7200"},
        {"same instant", At(2000, 1, 1), At(2000, 1, 1), "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"},
        {"both ends of the range, totals beyond 32 bits", At(1754, 1, 1), At(9998, 12, 31, 23, 59, 59),
         "8244 11 30 23 59 59 52 0 8244 98939 430203 3011423 72274175 4336450559 260187033599"},
        {"only the start's lower and the final's upper bound are tested", At(9998, 12, 31, 23, 59, 59), At(1754, 1, 1),
         "-8244 -11 -30 -23 -59 -59 -52 0 -8244 -98939 -430203 -3011423 -72274175 -4336450559 -260187033599"},
        {"start before the range", At(1753, 12, 31, 23, 59, 59), At(2000, 1, 1), "*"},
        {"final after the range", At(2000, 1, 1), At(9999, 1, 1), "*"},
        {"invalid input", DateTime::Invalid(), At(2000, 1, 1), "*"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        std::istringstream fields(c.fields);
        std::string expected;
        for (const FigureField& field : ComputeDifference(c.start, c.final)) {
            if (expected != "*") {
                fields >> expected;
            }
            EXPECT_EQ(field.text, expected) << "field " << field.controlId;
        }
    }
}

// Every figure read again from std::chrono's civil calendar, for `from` not after `to` (Unix seconds).
std::array<std::int64_t, 15> ChronoFigures(std::int64_t from, std::int64_t to)
{
    using namespace std::chrono;
    const sys_days day0 = floor<days>(sys_seconds{seconds{from}}), day1 = floor<days>(sys_seconds{seconds{to}});
    const year_month_day a{day0}, b{day1};
    const int ay = int{a.year()}, by = int{b.year()}, am = int(unsigned{a.month()}), bm = int(unsigned{b.month()});
    const int ad = int(unsigned{a.day()}), bd = int(unsigned{b.day()});
    std::int64_t y = by - ay, m = by != ay ? 12 - am + bm : bm - am, d = bd - ad;
    if (bd < ad) {
        d += unsigned{year_month_day_last{a.year(), month_day_last{a.month()}}.day()};
        --m;
    }
    m <= 11 ? y -= y > 0 : m -= 12;
    const auto shifted = [](sys_days day, year_month_day ymd) {
        return (day - sys_days{ymd.year() / January / 1}).count() - ymd.year().is_leap();
    };
    const std::int64_t k = shifted(day1, b) - shifted(day0, a), n = k < 0 ? k + 365 : k, s = to - from;
    return {y, m,          d,          s % 86400 / 3600, s % 3600 / 60, s % 60, n / 7, n % 7,
            y, y * 12 + m, s / 604800, s / 86400,        s / 3600,      s / 60, s};
}

TEST(Difference, TotalsAgreeWithStdChronoAndReversalNegates)
{
    std::mt19937_64 random(20041101);
    std::uniform_int_distribution<int> years(1754, 9998), months(1, 12), days(1, 31), hours(0, 23), sixty(0, 59);
    const auto draw = [&] {
        using namespace std::chrono;
        const int y = years(random), mo = months(random), d = std::min(days(random), DaysInMonth(y, mo));
        const int h = hours(random), mi = sixty(random), s = sixty(random);
        const sys_seconds t = sys_days{year{y} / mo / d} + std::chrono::hours{h} + minutes{mi} + seconds{s};
        return std::pair{At(y, mo, d, h, mi, s), t.time_since_epoch().count()};
    };
    for (int i = 0; i < 20000; ++i) {
        const auto [start, startSeconds] = draw();
        const auto [final, finalSeconds] = draw();
        const std::int64_t seconds = finalSeconds - startSeconds;
        const DifferenceTexts forward = ComputeDifference(start, final);
        // Particular weeks, days, hours, minutes, seconds.
        for (const auto& [field, unit] : {std::pair{10, 7 * 86400}, {11, 86400}, {12, 3600}, {13, 60}, {14, 1}}) {
            ASSERT_EQ(forward[field].text, std::to_string(seconds / unit));
        }
        ASSERT_EQ(forward[3].text, std::to_string(seconds % 86400 / 3600));
        const auto figures = ChronoFigures(std::min(startSeconds, finalSeconds), std::max(startSeconds, finalSeconds));
        for (std::size_t f = 0; f < forward.size(); ++f) {
            ASSERT_EQ(forward[f].text, std::to_string(seconds < 0 ? -figures[f] : figures[f])) << "field " << f;
        }
        const DifferenceTexts backward = ComputeDifference(final, start);
        for (std::size_t f = 0; f < forward.size(); ++f) {
            const std::string text = forward[f].text.str();
            const std::string negated = text == "0" ? "0" : text[0] == '-' ? text.substr(1) : "-" + text;
            ASSERT_EQ(backward[f].text, negated) << "field " << forward[f].controlId;
        }
    }
}

}   // namespace
