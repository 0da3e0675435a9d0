#include "info/tzif.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "fakes/fake_zone_source.h"
#include "info/time_zone.h"

namespace {

using namespace std::string_literals;

class Tzif : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Folder().Ok()); }

    static const FakeZoneFolder& Folder() { return TestZoneFolder(); }
};

constexpr SystemTime kNoRule{};

struct ZoneCase {
    const char* id;
    int bias;
    const char* standardName;
    const char* daylightName;
    SystemTime daylightDate, standardDate;
};

const ZoneCase kZones[] = {
    {"Europe/Berlin", -60, "CET", "CEST", SystemTime{0, 3, 0, 5, 2, 0, 0, 0}, SystemTime{0, 10, 0, 5, 3, 0, 0, 0}},
    {"America/New_York", 300, "EST", "EDT", SystemTime{0, 3, 0, 2, 2, 0, 0, 0}, SystemTime{0, 11, 0, 1, 2, 0, 0, 0}},
    {"Australia/Sydney", -600, "AEST", "AEDT", SystemTime{0, 10, 0, 1, 2, 0, 0, 0},
     SystemTime{0, 4, 0, 1, 3, 0, 0, 0}},
    {"Asia/Kolkata", -330, "IST", "IST", kNoRule, kNoRule},
    {"Asia/Tehran", -210, "+0330", "+0330", kNoRule, kNoRule},
    {"Test/FixedDays", -210, "+0330", "+0430", kNoRule, kNoRule},
    {"Test/Midnight", -120, "EET", "EEST", SystemTime{0, 2, 4, 5, 23, 59, 59, 0}, SystemTime{0, 10, 5, 5, 1, 0, 0, 0}},
};

TEST_F(Tzif, ZonesFromTheirFooters)
{
    for (const ZoneCase& c : kZones) {
        SCOPED_TRACE(c.id);
        const auto zone = ZoneFromTzif(Folder().Read(c.id));
        ASSERT_TRUE(zone.has_value());
        EXPECT_EQ(zone->bias, c.bias);
        EXPECT_EQ(zone->standardName, c.standardName);
        EXPECT_EQ(zone->daylightName, c.daylightName);
        EXPECT_EQ(zone->daylightDate, c.daylightDate);
        EXPECT_EQ(zone->standardDate, c.standardDate);
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

struct TypeRecord {
    std::int32_t utOffset;
    unsigned char isDst;
    unsigned char abbreviationIndex;
};

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
    for (const std::size_t count : {std::size_t{0}, std::size_t{0}, std::size_t{0}, indices.size(), types.size(),
                                    abbreviations.size() + 1}) {
        put(count);
    }
    bytes.append(4 * indices.size(), '\0');
    bytes.append(indices.begin(), indices.end());
    for (const TypeRecord& type : types) {
        put(static_cast<std::uint32_t>(type.utOffset));
        bytes += {static_cast<char>(type.isDst), static_cast<char>(type.abbreviationIndex)};
    }
    return bytes + abbreviations + '\0';
}

TEST_F(Tzif, BaseOffsetOfTheLatestStandardType)
{
    struct Case {
        const char* why;
        std::string bytes;
        int bias;
        const char* name;
    };
    const Case cases[] = {
        {"no transitions: the first type", VersionOneFile({}, {{19800, 0, 0}}, "IST"), -330, "IST"},
        {"latest transition is daylight: the standard one before it",
         VersionOneFile({0, 1, 0, 1}, {{3600, 0, 0}, {7200, 1, 4}}, "CET\0CEST"s), -60, "CET"},
        {"latest standard type wins over older ones",
         VersionOneFile({0, 1}, {{-17762, 0, 0}, {-18000, 0, 4}}, "LMT\0EST"s), 300, "EST"},
        {"abbreviation index beyond the text", VersionOneFile({}, {{0, 0, 9}}, "UTC"), 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const auto zone = ZoneFromTzif(c.bytes);
        ASSERT_TRUE(zone.has_value());
        EXPECT_EQ(zone->bias, c.bias);
        EXPECT_EQ(zone->standardName, c.name);
        EXPECT_FALSE(HasDstRules(*zone));
    }
}

TEST_F(Tzif, WithoutAUsableFooterTheDataGivesTheBaseOffset)
{
    const std::string berlin = Folder().Read("Europe/Berlin");
    struct Case {
        const char* why;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty footer", WithFooter(berlin, "\n\n")},
        {"footer without its closing newline", WithFooter(berlin, "\nCET-1CEST,M3.5.0,M10.5.0/3")},
        {"no footer at all", WithFooter(berlin, "")},
        {"garbage footer", WithFooter(berlin, "\n\xff\xfe garbage\n")},
        {"footer with a file name", WithFooter(berlin, "\n:Europe/Berlin\n")},
        {"version 1 file", VersionOne(berlin)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const auto zone = ZoneFromTzif(c.bytes);
        ASSERT_TRUE(zone.has_value());
        EXPECT_EQ(zone->bias, -60);
        EXPECT_EQ(zone->standardName, "CET");
        EXPECT_FALSE(HasDstRules(*zone));
    }
}

TEST_F(Tzif, BrokenFilesFailWithoutHarm)
{
    const std::string berlin = Folder().Read("Europe/Berlin");
    std::string hugeCounts = berlin;
    for (std::size_t at = 32; at < 44; ++at) {
        hugeCounts[at] = '\xff';
    }
    const std::string cases[] = {
        "",
        "TZif",
        "TZif2",
        "not a zone file at all, but long enough to hold a header of forty-four bytes",
        hugeCounts,
        berlin.substr(0, 44),
        berlin.substr(0, berlin.find("TZif", 4) + 20),
        VersionOneFile({1}, {{3600, 0, 0}}, "CET"),
        VersionOneFile({}, {}, ""),
        VersionOneFile({}, {{static_cast<std::int32_t>(0x80000000u), 0, 0}}, "CET"),
        VersionOneFile({}, {{93600, 0, 0}}, "CET"),
    };
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        EXPECT_FALSE(ZoneFromTzif(bytes).has_value());
    }
}

TEST_F(Tzif, EveryTruncationIsSafe)
{
    for (const char* id : {"Europe/Berlin", "Australia/Sydney", "Asia/Tehran"}) {
        const std::string bytes = Folder().Read(id);
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
    const std::string seeds[] = {Folder().Read("Europe/Berlin"), Folder().Read("Asia/Tehran"),
                                 Folder().Read("Test/FixedDays")};
    std::mt19937 random(19960105);
    const auto pick = [&random](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    for (int round = 0; round < 5000; ++round) {
        std::string bytes = seeds[pick(3)];
        for (std::size_t edits = 1 + pick(8); edits > 0; --edits) {
            bytes[pick(bytes.size())] = static_cast<char>(pick(256));
        }
        const auto zone = ZoneFromTzif(bytes);
        if (zone && HasDstRules(*zone)) {
            ASSERT_TRUE(NextChange(zone->standardDate, DateTime::FromParts(2004, 1, 1, 0, 0, 0)).IsValid());
        }
    }
}

}  // namespace
