#include "info/zone_model.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "fakes/fake_zone_source.h"
#include "info/time_zone.h"

namespace {

using namespace std::string_literals;

struct Tzif : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(TestZoneFolder().Ok()); }
};

TEST_F(Tzif, ZonesFromTheirFooters)
{
    using S = ChangeRule;
    const S none{};
    // Zone, bias, standard and daylight name, daylight and standard rule.
    const std::tuple<const char*, int, const char*, const char*, S, S> cases[] = {
        {"Europe/Berlin", -60, "CET", "CEST", S{3, 0, 5, 2}, S{10, 0, 5, 3}},
        {"America/New_York", 300, "EST", "EDT", S{3, 0, 2, 2}, S{11, 0, 1, 2}},
        {"Australia/Sydney", -600, "AEST", "AEDT", S{10, 0, 1, 2}, S{4, 0, 1, 3}},
        {"Asia/Kolkata", -330, "IST", "IST", none, none},
        {"Asia/Tehran", -210, "+0330", "+0330", none, none},
        {"Test/FixedDays", -210, "+0330", "+0430", none, none},
        {"Test/Midnight", -120, "EET", "EEST", S{2, 4, 5, 23, 59, 59}, S{10, 5, 5, 1}},
    };
    for (const auto& [id, bias, standardName, daylightName, toDaylight, toStandard] : cases) {
        SCOPED_TRACE(id);
        const auto z = ZoneFromTzif(TestZoneFolder().Read(id));
        ASSERT_TRUE(z.has_value());
        EXPECT_EQ(std::tie(z->bias, z->standardName, z->daylightName), std::tie(bias, standardName, daylightName));
        EXPECT_EQ(std::tie(z->toDaylight, z->toStandard), std::tie(toDaylight, toStandard));
    }
}

// The footer is the last line of the file: "\n<TZ string>\n".
std::string WithFooter(std::string bytes, const std::string& footer)
{
    const std::size_t start = bytes.rfind('\n', bytes.size() - 2);
    return bytes.substr(0, start) + footer;
}

// Version 1: the first header and its block alone, marked as version 1.
std::string VersionOne(const std::string& bytes)
{
    const std::size_t second = bytes.find("TZif", 4);
    std::string v1 = bytes.substr(0, second);
    v1[4] = '\0';
    return v1;
}

// UT offset, is-daylight flag and abbreviation index of a local time type.
using TypeRecord = std::tuple<std::int32_t, unsigned char, unsigned char>;

// A version 1 file with one transition per index (all at time 0) and the given types.
std::string VersionOneFile(const std::vector<unsigned char>& indices, const std::vector<TypeRecord>& types,
                           const std::string& abbreviations)
{
    std::string bytes = "TZif" + std::string(16, '\0');
    const auto put = [&bytes](std::size_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            bytes += static_cast<char>((value >> shift) & 0xff);
        }
    };
    for (const std::size_t count :
         {std::size_t{0}, std::size_t{0}, std::size_t{0}, indices.size(), types.size(), abbreviations.size() + 1}) {
        put(count);
    }
    for (std::size_t i = 0; i < indices.size(); ++i) {
        put(i * 3600);   // ascending, as in every real file
    }
    bytes.append(indices.begin(), indices.end());
    for (const auto& [utOffset, isDst, abbreviationIndex] : types) {
        put(static_cast<std::uint32_t>(utOffset));
        bytes += {static_cast<char>(isDst), static_cast<char>(abbreviationIndex)};
    }
    return bytes + abbreviations + '\0';
}

TEST_F(Tzif, BaseOffsetOfTheLatestStandardType)
{
    // No transitions: the first type; the latest is daylight: the standard one before it; the latest
    // standard type wins over older ones.
    const std::tuple<std::string, int, const char*> cases[] = {
        {VersionOneFile({}, {{19800, 0, 0}}, "IST"), -330, "IST"},
        {VersionOneFile({0, 1, 0, 1}, {{3600, 0, 0}, {7200, 1, 4}}, "CET\0CEST"s), -60, "CET"},
        {VersionOneFile({0, 1}, {{-17762, 0, 0}, {-18000, 0, 4}}, "LMT\0EST"s), 300, "EST"},
    };
    for (const auto& [bytes, bias, name] : cases) {
        SCOPED_TRACE(name);
        const auto zone = ZoneFromTzif(bytes);
        ASSERT_TRUE(zone.has_value());
        EXPECT_EQ(std::tie(zone->bias, zone->standardName), std::tie(bias, name));
        EXPECT_FALSE(HasDstRules(*zone));
    }
}

TEST_F(Tzif, WithoutAUsableFooterTheDataGivesTheBaseOffset)
{
    const std::string berlin = TestZoneFolder().Read("Europe/Berlin");
    // Empty, without its closing newline, none at all, garbage, a file name; a version 1 file has none.
    for (const std::string& bytes :
         {WithFooter(berlin, "\n\n"), WithFooter(berlin, "\nCET-1CEST,M3.5.0,M10.5.0/3"), WithFooter(berlin, ""),
          WithFooter(berlin, "\n\xff\xfe garbage\n"), WithFooter(berlin, "\n:Europe/Berlin\n"), VersionOne(berlin)}) {
        SCOPED_TRACE(bytes.size());
        const auto zone = ZoneFromTzif(bytes);
        ASSERT_TRUE(zone.has_value());
        EXPECT_EQ(std::pair(zone->bias, zone->standardName), std::pair(-60, std::string("CET")));
        EXPECT_FALSE(HasDstRules(*zone));
    }
}

TEST_F(Tzif, BrokenFilesFailWithoutHarm)
{
    const std::string berlin = TestZoneFolder().Read("Europe/Berlin");
    std::string hugeCounts = berlin;
    for (std::size_t at = 32; at < 44; ++at) {
        hugeCounts[at] = '\xff';
    }
    const std::string cases[] = {"",
                                 "TZif",
                                 "TZif2",
                                 "not a zone file at all, but long enough to hold a header of forty-four bytes",
                                 hugeCounts,
                                 berlin.substr(0, 44),
                                 berlin.substr(0, berlin.find("TZif", 4) + 20),
                                 VersionOneFile({1}, {{3600, 0, 0}}, "CET"),
                                 VersionOneFile({}, {}, ""),
                                 VersionOneFile({}, {{0, 0, 9}}, "UTC"),
                                 VersionOneFile({}, {{static_cast<std::int32_t>(0x80000000u), 0, 0}}, "CET"),
                                 VersionOneFile({}, {{93600, 0, 0}}, "CET")};
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        EXPECT_FALSE(ZoneFromTzif(bytes).has_value());
    }
}

TEST_F(Tzif, EveryTruncationIsSafe)
{
    for (const char* id : {"Europe/Berlin", "Australia/Sydney", "Asia/Tehran"}) {
        const std::string bytes = TestZoneFolder().Read(id);
        ASSERT_FALSE(bytes.empty());
        for (std::size_t length = 0; length < bytes.size(); ++length) {
            const auto zone = ZoneFromTzif(std::string_view(bytes).substr(0, length));
            // Cut anywhere before the footer's end, the file gives no rules or no zone at all.
            if (zone) {
                ASSERT_FALSE(HasDstRules(*zone)) << id << " cut at " << length;
            }
        }
    }
}

TEST_F(Tzif, SurvivesMutatedFiles)
{
    const std::string seeds[] = {TestZoneFolder().Read("Europe/Berlin"), TestZoneFolder().Read("Asia/Tehran"),
                                 TestZoneFolder().Read("Test/FixedDays")};
    std::mt19937 random(19960105);
    const auto pick = [&random](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    for (int round = 0; round < 5000; ++round) {
        std::string bytes = seeds[pick(3)];
        for (std::size_t edits = 1 + pick(8); edits > 0; --edits) {
            bytes[pick(bytes.size())] = static_cast<char>(pick(256));
        }
        const auto zone = ZoneFromTzif(bytes);
        if (zone && HasDstRules(*zone)) {
            ASSERT_TRUE(NextChange(zone->toStandard, DateTime::FromParts(2004, 1, 1, 0, 0, 0)).IsValid());
        }
    }
}

}   // namespace
