#include "info/posix_tz.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "info/time_zone.h"

namespace {

TEST(PosixTz, Parses)
{
    // Text, standard name and offset, daylight name and offset, whether it has change rules.
    const std::tuple<const char*, const char*, int, const char*, int, bool> cases[] = {
        {"EST5EDT,M3.2.0,M11.1.0", "EST", -18000, "EDT", -14400, true},   // west of UTC is positive
        {"<-03>3<-02>,M3.5.0/-2,M10.5.0/-1", "-03", -10800, "-02", -7200, true},
        {"LMT-0:53:28", "LMT", 3208, "", 3208, false},
        {"LHST-10:30LHDT-11,M10.1.0,M4.1.0", "LHST", 37800, "LHDT", 39600, true},
        {"UTC+0", "UTC", 0, "", 0, false},
        {"EET-2EEST,M3.4.4/-167,M10.5.5/167", "EET", 7200, "EEST", 10800, true},   // change times up to 167 hours
    };
    for (const auto& [text, stdName, stdOffset, dstName, dstOffset, hasRule] : cases) {
        SCOPED_TRACE(text);
        const auto r = ParsePosixTz(text);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(std::tie(r->stdName, r->stdOffsetSeconds, r->dstName, r->dstOffsetSeconds),
                  std::tie(stdName, stdOffset, dstName, dstOffset));
        EXPECT_EQ(r->dst.has_value(), hasRule);
    }
}

TEST(PosixTz, RejectsWhatIsNoTzString)
{
    // The rejected strings, separated by '|'; the first is the empty string.
    std::istringstream rejected(
        "|:Europe/Berlin|Europe/Berlin|CET|CE-1|<AB>-1|<+0330-3:30|CET-|CET-1:|CET-1:60|CET-25|CET-1CEST,"
        "|CET-1CEST,M3.5.0|CET-1CEST,M3.5.0,|CET-1CEST,M13.5.0,M10.5.0|CET-1CEST,M0.5.0,M10.5.0"
        "|CET-1CEST,M3.6.0,M10.5.0|CET-1CEST,M3.0.0,M10.5.0|CET-1CEST,M3.5.7,M10.5.0|CET-1CEST,M3.5.0,M10.5.0/168"
        "|CET-1CEST,M3.5.0,M10.5.0/3x|CET-1CEST,J0,J300|CET-1CEST,J366,J300|CET-1CEST,366,300"
        "|CET-1CEST,M3.5.0,M10.5.0,M1.1.1|CET-1 CEST|CET-0001|CET-1CEST-2:00:60,M3.5.0,M10.5.0");
    int count = 0;
    for (std::string text; std::getline(rejected, text, '|'); ++count) {
        EXPECT_FALSE(ParsePosixTz(text).has_value()) << text;
        EXPECT_FALSE(ZoneFromTzString(text).has_value()) << text;
    }
    EXPECT_EQ(count, 28);
    EXPECT_FALSE(ZoneFromTzString("LMT-0:53:28").has_value()) << "a base offset with seconds cannot be a bias";
}

// Zones from real footers (Central Europe, the southern hemisphere, a change at 24:00, no daylight saving)
// are checked with the zone files.
TEST(PosixTz, ZoneRecord)
{
    using Rule = ChangeRule;
    const Rule none{};
    // Text, bias, standard and daylight name, daylight and standard rule.
    const std::tuple<const char*, int, const char*, const char*, Rule, Rule> cases[] = {
        {"EST5EDT,M3.2.0/1:30:15,M11.1.0", 300, "EST", "EDT", Rule{3, 0, 2, 1, 30, 15}, Rule{11, 0, 1, 2}},
        // Negative daylight saving turns round: winter is standard.
        {"IST-1GMT0,M10.5.0,M3.5.0/1", 0, "GMT", "IST", Rule{3, 0, 5, 1}, Rule{10, 0, 5, 2}},
        // Rules the day-in-month form cannot hold: Julian and zero-based days, changes before or past a day.
        {"XST3XDT,J60/0,J300/25", 180, "XST", "XDT", none, none},
        {"XST3XDT,M3.2.0,299", 180, "XST", "XDT", none, none},
        {"<-03>3<-02>,M3.5.0/-2,M10.5.0/-1", 180, "-03", "-02", none, none},
        {"EET-2EEST,M2.5.4/24:00:01,M10.5.5/1", -120, "EET", "EEST", none, none},
        {"EST5EDT", 300, "EST", "EDT", none, none},
        {"XST3XDT2:00:30,M3.2.0,M11.1.0", 180, "XST", "XDT", none, none},   // daylight offset with seconds
    };
    for (const auto& [text, bias, standardName, daylightName, toDaylight, toStandard] : cases) {
        SCOPED_TRACE(text);
        const auto z = ZoneFromTzString(text);
        ASSERT_TRUE(z.has_value());
        EXPECT_EQ(std::tie(z->bias, z->standardName, z->daylightName), std::tie(bias, standardName, daylightName));
        EXPECT_EQ(std::tie(z->toDaylight, z->toStandard), std::tie(toDaylight, toStandard));
        EXPECT_EQ(z->state, ZoneState::Unknown);
    }
}

// Random strings over the TZ alphabet and mutations of real ones: the parser and the record must never
// crash, and whatever record comes out is either rule-less or has rules the change search accepts.
TEST(PosixTz, SurvivesRandomAndMutatedStrings)
{
    const std::vector<std::string> seeds = {
        "CET-1CEST,M3.5.0,M10.5.0/3",       "EST5EDT,M3.2.0,M11.1.0",           "<+0330>-3:30",
        "AEST-10AEDT,M10.1.0,M4.1.0/3",     "<-03>3<-02>,M3.5.0/-2,M10.5.0/-1", "XST3XDT,J60/0,299/25",
        "LHST-10:30LHDT-11,M10.1.0,M4.1.0", "EET-2EEST,M2.5.4/24,M10.5.5/1",
    };
    const std::string alphabet = "ABCDEMJXTSxyz<>+-:,./0123456789 \t\n\x80\xff";
    std::mt19937 random(20040301);
    const auto pick = [&random](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    int parsed = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        if (round % 2 == 0) {
            std::generate_n(std::back_inserter(text), pick(40), [&] { return alphabet[pick(alphabet.size())]; });
        } else {
            text = seeds[pick(seeds.size())];
            for (std::size_t edits = 1 + pick(3); edits > 0 && !text.empty(); --edits) {
                const std::size_t at = pick(text.size());
                switch (pick(4)) {
                case 0:
                    text[at] = alphabet[pick(alphabet.size())];
                    break;
                case 1:
                    text.erase(at, 1);
                    break;
                case 2:
                    text.insert(at, 1, alphabet[pick(alphabet.size())]);
                    break;
                default:
                    text.resize(at);
                    break;
                }
            }
        }
        SCOPED_TRACE(text);
        parsed += ParsePosixTz(text).has_value() ? 1 : 0;
        const auto zone = ZoneFromTzString(text);
        if (zone && (zone->toDaylight.weekOfMonth != 0 || zone->toStandard.weekOfMonth != 0)) {
            ASSERT_TRUE(HasDstRules(*zone));
            ASSERT_TRUE(NextChange(zone->toDaylight, DateTime::FromParts(2004, 1, 1, 0, 0, 0)).IsValid());
        }
    }
    // The mutations must reach the parser's deeper paths, not only fail at the first character.
    EXPECT_GT(parsed, 1000);
}

}   // namespace
