#include "info/posix_tz.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "info/time_zone.h"

namespace {

TEST(PosixTz, Parses)
{
    const struct {
        const char* why;
        const char* text;
        const char* stdName;
        int stdOffset;
        const char* dstName;
        int dstOffset;
        bool hasRule;
    } cases[] = {
        {"Central Europe", "CET-1CEST,M3.5.0,M10.5.0/3", "CET", 3600, "CEST", 7200, true},
        {"west of UTC is positive", "EST5EDT,M3.2.0,M11.1.0", "EST", -18000, "EDT", -14400, true},
        {"numeric names in angle brackets", "<+0330>-3:30", "+0330", 12600, "", 12600, false},
        {"negative numeric name", "<-03>3<-02>,M3.5.0/-2,M10.5.0/-1", "-03", -10800, "-02", -7200, true},
        {"offset with seconds", "LMT-0:53:28", "LMT", 3208, "", 3208, false},
        {"explicit daylight offset", "LHST-10:30LHDT-11,M10.1.0,M4.1.0", "LHST", 37800, "LHDT", 39600, true},
        {"plus sign on the offset", "UTC+0", "UTC", 0, "", 0, false},
        {"daylight name without dates", "EST5EDT", "EST", -18000, "EDT", -14400, false},
        {"Julian days", "XST3XDT,J60/0,J300/25", "XST", -10800, "XDT", -7200, true},
        {"zero-based days", "XST3XDT,59,299", "XST", -10800, "XDT", -7200, true},
        {"change times up to 167 hours", "EET-2EEST,M3.4.4/-167,M10.5.5/167", "EET", 7200, "EEST", 10800, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const auto rules = ParsePosixTz(c.text);
        ASSERT_TRUE(rules.has_value());
        EXPECT_EQ(rules->stdName, c.stdName);
        EXPECT_EQ(rules->stdOffsetSeconds, c.stdOffset);
        EXPECT_EQ(rules->dstName, c.dstName);
        EXPECT_EQ(rules->dstOffsetSeconds, c.dstOffset);
        EXPECT_EQ(rules->dst.has_value(), c.hasRule);
    }
}

TEST(PosixTz, RejectsWhatIsNoTzString)
{
    for (const char* text : {
             "", ":Europe/Berlin", "Europe/Berlin", "CET", "CE-1", "<AB>-1", "<+0330-3:30", "CET-", "CET-1:", "CET-1:60",
             "CET-25", "CET-1CEST,", "CET-1CEST,M3.5.0", "CET-1CEST,M3.5.0,", "CET-1CEST,M13.5.0,M10.5.0",
             "CET-1CEST,M0.5.0,M10.5.0", "CET-1CEST,M3.6.0,M10.5.0", "CET-1CEST,M3.0.0,M10.5.0",
             "CET-1CEST,M3.5.7,M10.5.0", "CET-1CEST,M3.5.0,M10.5.0/168", "CET-1CEST,M3.5.0,M10.5.0/3x",
             "CET-1CEST,J0,J300", "CET-1CEST,J366,J300", "CET-1CEST,366,300", "CET-1CEST,M3.5.0,M10.5.0,M1.1.1",
             "CET-1 CEST", "CET-0001", "CET-1CEST-2:00:60,M3.5.0,M10.5.0",
         }) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParsePosixTz(text).has_value());
    }
}

struct ZoneCase {
    const char* why;
    const char* text;
    bool ok;
    int bias;
    const char* standardName;
    const char* daylightName;
    SystemTime daylightDate, standardDate;
};

constexpr SystemTime kNoRule{};

const ZoneCase kZoneCases[] = {
    {"Central Europe", "CET-1CEST,M3.5.0,M10.5.0/3", true, -60, "CET", "CEST",
     SystemTime{0, 3, 0, 5, 2, 0, 0, 0}, SystemTime{0, 10, 0, 5, 3, 0, 0, 0}},
    {"southern hemisphere", "AEST-10AEDT,M10.1.0,M4.1.0/3", true, -600, "AEST", "AEDT",
     SystemTime{0, 10, 0, 1, 2, 0, 0, 0}, SystemTime{0, 4, 0, 1, 3, 0, 0, 0}},
    {"change at 24:00 is the day's last second", "EET-2EEST,M2.5.4/24,M10.5.5/1", true, -120, "EET", "EEST",
     SystemTime{0, 2, 4, 5, 23, 59, 59, 0}, SystemTime{0, 10, 5, 5, 1, 0, 0, 0}},
    {"change time with seconds", "EST5EDT,M3.2.0/1:30:15,M11.1.0", true, 300, "EST", "EDT",
     SystemTime{0, 3, 0, 2, 1, 30, 15, 0}, SystemTime{0, 11, 0, 1, 2, 0, 0, 0}},
    {"negative daylight saving turns round: winter is standard", "IST-1GMT0,M10.5.0,M3.5.0/1", true, 0, "GMT", "IST",
     SystemTime{0, 3, 0, 5, 1, 0, 0, 0}, SystemTime{0, 10, 0, 5, 2, 0, 0, 0}},
    {"no daylight saving", "<+0330>-3:30", true, -210, "+0330", "+0330", kNoRule, kNoRule},
    {"west of UTC", "<-03>3", true, 180, "-03", "-03", kNoRule, kNoRule},
    {"Julian days have no day-in-month form", "XST3XDT,J60/0,J300/25", true, 180, "XST", "XDT", kNoRule, kNoRule},
    {"zero-based days neither", "XST3XDT,M3.2.0,299", true, 180, "XST", "XDT", kNoRule, kNoRule},
    {"negative change time", "<-03>3<-02>,M3.5.0/-2,M10.5.0/-1", true, 180, "-03", "-02", kNoRule, kNoRule},
    {"change time past a day", "EET-2EEST,M3.4.4/50,M10.5.5/1", true, -120, "EET", "EEST", kNoRule, kNoRule},
    {"24:00:01 is past a day", "EET-2EEST,M2.5.4/24:00:01,M10.5.5/1", true, -120, "EET", "EEST", kNoRule, kNoRule},
    {"daylight name without dates", "EST5EDT", true, 300, "EST", "EDT", kNoRule, kNoRule},
    {"daylight offset with seconds", "XST3XDT2:00:30,M3.2.0,M11.1.0", true, 180, "XST", "XDT", kNoRule, kNoRule},
    {"base offset with seconds cannot be a bias", "LMT-0:53:28", false, 0, "", "", kNoRule, kNoRule},
    {"not a TZ string", "Europe/Berlin", false, 0, "", "", kNoRule, kNoRule},
};

TEST(PosixTz, ZoneRecord)
{
    for (const ZoneCase& c : kZoneCases) {
        SCOPED_TRACE(c.why);
        const auto zone = ZoneFromTzString(c.text);
        ASSERT_EQ(zone.has_value(), c.ok);
        if (!zone) {
            continue;
        }
        EXPECT_EQ(zone->bias, c.bias);
        EXPECT_EQ(zone->standardName, c.standardName);
        EXPECT_EQ(zone->daylightName, c.daylightName);
        EXPECT_EQ(zone->daylightDate, c.daylightDate);
        EXPECT_EQ(zone->standardDate, c.standardDate);
        EXPECT_EQ(zone->state, ZoneState::Unknown);
    }
}

// Random strings over the TZ alphabet and mutations of real ones: the parser and the record must never
// crash, and whatever record comes out is either rule-less or has rules the change search accepts.
TEST(PosixTz, SurvivesRandomAndMutatedStrings)
{
    const std::vector<std::string> seeds = {
        "CET-1CEST,M3.5.0,M10.5.0/3", "EST5EDT,M3.2.0,M11.1.0", "<+0330>-3:30",
        "AEST-10AEDT,M10.1.0,M4.1.0/3", "<-03>3<-02>,M3.5.0/-2,M10.5.0/-1", "XST3XDT,J60/0,299/25",
        "LHST-10:30LHDT-11,M10.1.0,M4.1.0", "EET-2EEST,M2.5.4/24,M10.5.5/1",
    };
    const std::string alphabet = "ABCDEMJXTSxyz<>+-:,./0123456789 \t\n\x80\xff";
    std::mt19937 random(20040301);
    const auto pick = [&random](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    int parsed = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        if (round % 2 == 0) {
            const std::size_t length = pick(40);
            for (std::size_t i = 0; i < length; ++i) {
                text += alphabet[pick(alphabet.size())];
            }
        } else {
            text = seeds[pick(seeds.size())];
            for (std::size_t edits = 1 + pick(3); edits > 0 && !text.empty(); --edits) {
                const std::size_t at = pick(text.size());
                switch (pick(4)) {
                case 0: text[at] = alphabet[pick(alphabet.size())]; break;
                case 1: text.erase(at, 1); break;
                case 2: text.insert(at, 1, alphabet[pick(alphabet.size())]); break;
                default: text.resize(at); break;
                }
            }
        }
        SCOPED_TRACE(text);
        if (ParsePosixTz(text)) {
            ++parsed;
        }
        const auto zone = ZoneFromTzString(text);
        if (zone && (zone->daylightDate.day != 0 || zone->standardDate.day != 0)) {
            ASSERT_TRUE(HasDstRules(*zone));
            ASSERT_TRUE(NextChange(zone->daylightDate, DateTime::FromParts(2004, 1, 1, 0, 0, 0)).IsValid());
        }
    }
    // The mutations must reach the parser's deeper paths, not only fail at the first character.
    EXPECT_GT(parsed, 1000);
}

}  // namespace
