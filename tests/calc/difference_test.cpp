#include "calc/difference.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

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
        {"borrowed from a 30-day start month", At(2003, 4, 30), At(2003, 6, 1),
         "0 1 1 0 0 0 4 4 0 1 4 32 768 46080 2764800"},
        {"borrowed from a common February", At(2003, 2, 15), At(2003, 3, 10),
         "0 0 23 0 0 0 3 2 0 0 3 23 552 33120 1987200"},
        {"across a year end, less than a year", At(2003, 11, 20), At(2004, 2, 10),
         "0 2 20 0 0 0 11 4 0 2 11 82 1968 118080 7084800"},
        {"a leap year end to end", At(2004, 1, 1), At(2004, 12, 31),
         "0 11 30 0 0 0 52 1 0 11 52 365 8760 525600 31536000"},
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
        // Swapping the ends negates every figure.
        const DifferenceTexts forward = ComputeDifference(c.start, c.final);
        const DifferenceTexts backward = ComputeDifference(c.final, c.start);
        for (std::size_t f = 0; f < forward.size() && forward[f].text.str() != "*"; ++f) {
            const std::string text = forward[f].text.str();
            EXPECT_EQ(backward[f].text.str(), text == "0" ? text : text[0] == '-' ? text.substr(1) : "-" + text);
        }
    }
}

}   // namespace
