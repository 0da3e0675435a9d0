#include "cli/moment_text.h"

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"

namespace {

// What the text reads as: the wall time's ISO text, "@" and the instant, or the start of the problem.
struct MomentCase {
    const char* text;
    std::string_view reads;
};

const MomentCase kCases[] = {
    {"2004-02-29", "2004-02-29T00:00:00"},
    {"2004-02-29T23:59", "2004-02-29T23:59:00"},
    {"2004-02-29 23:59:59", "2004-02-29T23:59:59"},
    {"today", "2004-03-01T00:00:00"},
    {"now", "2004-03-01T13:05:09"},
    {"2004-02-29T23:59:59Z", "@1078099199"},
    {"2004-03-01T01:00+01:00", "@1078099200"},
    {"2004-02-29 19:30-0430", "@1078099200"},
    {"2004-03-01T05:00:00+05", "@1078099200"},
    {"9999-12-31T23:59:59Z", "@253402300799"},
    {"0100-01-01T00:00-00:01", "@-59011459140"},
    {"@+1078099200", "@1078099200"},
    {"@-59011459200", "@-59011459200"},
    {"@00000000000000000001", "@1"},
    {"2023-02-29", "2023-02-29: February 2023 has 28 days"},
    {"2024-04-31T12:00", "2024-04-31: April 2024 has 30 days"},
    {"2023-02-00", "2023-02-00: days run from 01"},
    {"2023-13-01", "2023-13-01: months run 01 to 12"},
    {"0099-12-31", "0099-12-31: years run 0100 to 9999"},
    {"2023-01-01T24:00:00", "24:00:00: hours run 00 to 23"},
    {"2023-01-01 12:60Z", "12:60: minutes run 00 to 59"},
    {"2016-12-31T23:59:60Z", "23:59:60: seconds run 00 to 59, as chronel-cli counts the seconds of UTC without"},
    {"2023-01-01T12:00:00.5", "12:00:00.5: chronel-cli counts whole seconds"},
    {"2023-01-01T12:00,25Z", "12:00,25: chronel-cli counts whole seconds"},
    {"@-1.5", "@-1.5: chronel-cli counts whole seconds"},
    {"2023-01-01T12:00+24:00", "+24:00: offsets run -23:59 to +23:59"},
    {"2023-01-01T12:00-0560", "-0560: offsets run -23:59 to +23:59"},
    {"2023-01-01Z", "2023-01-01Z: an offset needs a time of day, as in 2023-01-01T00:00Z"},
    {"9999-12-31T23:00-01:00", "9999-12-31T23:00-01:00: instants run @-59011459200 to @253402300799 (0100-01-01T0"},
    {"@253402300800", "@253402300800: instants run @-59011459200 to @253402300799"},
    {"@-59011459201", "@-59011459201: instants run"},
    {"@9223372036854775808", "@9223372036854775808: instants run"},
    {"tomorrow", "'tomorrow' is not a moment: use YYYY-MM-DD, YYYY-MM-DDTHH:MM[:SS]"},
    {"", "'' is not a moment"},
    {"Now", "'Now' is not a moment"},
    {"@", "'@' is not a moment"},
    {"@-", "'@-' is not a moment"},
    {"@12x", "'@12x' is not a moment"},
    {"2023-01-01t12:00", "'2023-01-01t12:00' is not a moment"},
    {"2023-01-01T12", "'2023-01-01T12' is not a moment"},
    {"2023-01-01T12:00:0", "'2023-01-01T12:00:0' is not a moment"},
    {"2023-01-01T12:00+1", "'2023-01-01T12:00+1' is not a moment"},
    {"2023-01-01T12:00 Z", "'2023-01-01T12:00 Z' is not a moment"},
    {"2023-01-01 ", "'2023-01-01 ' is not a moment"},
    {"+004-01-01", "'+004-01-01' is not a moment"},
};

TEST(MomentText, EachFormAndEachWrongPart)
{
    const FakeClock clock(SystemTime{2004, 3, 1, 1, 13, 5, 9, 0});
    for (const MomentCase& c : kCases) {
        SCOPED_TRACE(c.text);
        std::string problem;
        const std::optional<MomentText> read = ReadMomentText(c.text, clock, problem);
        const std::string reads = !read        ? problem
                                  : read->wall ? std::string(read->wall->Iso())
                                               : "@" + std::to_string(read->unixSeconds);
        EXPECT_EQ(reads.substr(0, c.reads.size()), c.reads);
        EXPECT_EQ(read.has_value(), problem.empty());
    }
}

TEST(MomentText, LongInputIsQuotedShortAndCutBetweenCharacters)
{
    const FakeClock clock(SystemTime{2004, 3, 1, 1, 13, 5, 9, 0});
    std::string text(59, 'x');
    for (int i = 0; i < 1000; ++i) {
        text += "\xC3\xA9";
    }
    for (const std::string& input : {text, "2023-01-01T00:00:00." + std::string(1000, '5')}) {
        std::string problem;
        EXPECT_FALSE(ReadMomentText(input, clock, problem));
        EXPECT_LT(problem.size(), 200u);
        EXPECT_EQ(problem.find("x\xC3."), std::string::npos) << problem;
    }
}

}   // namespace
