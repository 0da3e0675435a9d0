#include "platform/zone_catalog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "fakes/fake_zone_source.h"
#include "fakes/temp_folder.h"

namespace {

// 2010-07-15 12:00:00 UTC, in summer time north of the equator.
constexpr std::int64_t kJuly = 1279195200;

// A zone folder whose tzdata.zi lists names in the short forms the system's file uses, and one name
// that leads out of the folder.
class ZoneCatalogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TestZoneFolder().Ok());
        for (const char* name :
             {"Europe/Berlin", "Arctic/Longyearbyen", "Unlisted/Zone", "Fake/Comment", "America/New_York"}) {
            std::filesystem::create_directories(std::filesystem::path(m_zones / name).parent_path());
            WriteFileBytes(m_zones / name, TestZoneFolder().Read(name[1] == 'm' ? name : "Europe/Berlin"));
        }
        WriteFileBytes(m_zones / "Broken", "TZif2 cut short");
        ASSERT_EQ(::mkfifo((m_zones / "Pipe").c_str(), 0600), 0);
        WriteFileBytes(m_zones / "tzdata.zi",
                       "# Zone Fake/Comment\n"
                       "Z Europe/Berlin 0:53:28 - LMT 1893 Ap\n"
                       "1 c CE%sT\n"
                       "L Europe/Berlin Arctic/Longyearbyen\n"
                       "R EU 1981 ma - Mar lastSu 1u 1 S\n"
                       "Zone\tAmerica/New_York\t-5:00\tUS\tE%sT\n"
                       "Z Pipe 0 - UTC\nZ Broken 0 - UTC\n"
                       "L Europe/Berlin Europe/../Europe/Berlin\n");
    }

    TempFolder m_zones;
    const ScopedEnv m_tzDir{"TZDIR", m_zones.Path().string()};
};

// The offset in July of the zone a value names; empty when it is refused, with a one-line problem.
std::optional<std::int32_t> JulyOffset(const std::optional<ZoneModel>& zone, const std::string& problem)
{
    EXPECT_EQ(problem.empty(), zone.has_value());
    EXPECT_EQ(problem.find('\n'), std::string::npos);
    return zone ? std::optional(zone->At(kJuly).offsetSeconds) : std::nullopt;
}

TEST_F(ZoneCatalogTest, NamedZonesAreListedNamesOrTzStrings)
{
    const std::pair<std::string, std::optional<std::int32_t>> cases[] = {
        {"Europe/Berlin", 7200},
        {"Arctic/Longyearbyen", 7200},
        {"America/New_York", -14400},
        {"CET-1CEST,M3.5.0,M10.5.0/3", 7200},
        {"<+0545>-5:45", 20700},
        {"Unlisted/Zone", std::nullopt},
        {"Fake/Comment", std::nullopt},
        {"EU", std::nullopt},
        {"LMT", std::nullopt},
        {"Europe", std::nullopt},
        {"Europe/../Europe/Berlin", std::nullopt},
        {"../" + m_zones.Path().filename().string() + "/Europe/Berlin", std::nullopt},
        {m_zones / "Europe/Berlin", std::nullopt},
        {"/etc/passwd", std::nullopt},
        {"Pipe", std::nullopt},
        {"Broken", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [zone, offset] : cases) {
        std::string problem;
        EXPECT_EQ(JulyOffset(LoadNamedZone(zone, problem), problem), offset) << zone;
    }
    std::string problem;
    EXPECT_FALSE(LoadNamedZone("Mars/Olympus", problem));
    EXPECT_EQ(problem,
              "'Mars/Olympus' names no time zone: give a name of the tz database such as Europe/Berlin "
              "or a TZ string such as CET-1CEST,M3.5.0,M10.5.0/3");
}

TEST_F(ZoneCatalogTest, TzVariableInEveryFormTheCLibraryReads)
{
    const std::pair<std::string, std::optional<std::int32_t>> cases[] = {
        {"Europe/Berlin", 7200},
        {":Arctic/Longyearbyen", 7200},
        {m_zones / "America/New_York", -14400},
        {":" + m_zones / "America/New_York", -14400},
        {"EST5EDT,M3.2.0,M11.1.0", -14400},
        {":EST5EDT,M3.2.0,M11.1.0", -14400},
        {"", 0},
        {":Unlisted/Zone", std::nullopt},
        {":" + m_zones / "Pipe", std::nullopt},
        {"/etc/passwd", std::nullopt},
        {"Mars\n", std::nullopt},
    };
    for (const auto& [tz, offset] : cases) {
        std::string problem;
        EXPECT_EQ(JulyOffset(LoadTzVariable(tz.c_str(), problem), problem), offset) << tz;
    }
}

TEST_F(ZoneCatalogTest, ComputerZoneIsNamedOnlyByAListedName)
{
    const TempFolder elsewhere;
    const std::pair<std::string, std::string> links[] = {
        {"berlin", m_zones / "Europe/Berlin"},
        {"relative", "../" + m_zones.Path().filename().string() + "/Arctic/Longyearbyen"},
        {"system", "/usr/share/zoneinfo/posix/America/New_York"},
        {"unlisted", m_zones / "Unlisted/Zone"},
    };
    for (const auto& [name, target] : links) {
        std::filesystem::create_symlink(target, elsewhere / name);
    }
    WriteFileBytes(elsewhere / "copy", TestZoneFolder().Read("Europe/Berlin"));
    const std::pair<std::string, std::string> cases[] = {
        {"Europe/Berlin", "Europe/Berlin"},
        {":Arctic/Longyearbyen", "Arctic/Longyearbyen"},
        {":" + m_zones / "America/New_York", "America/New_York"},
        {elsewhere / "berlin", "Europe/Berlin"},
        {elsewhere / "relative", "Arctic/Longyearbyen"},
        {":" + elsewhere / "system", "America/New_York"},
        {elsewhere / "unlisted", ""},
        {elsewhere / "copy", ""},
        {"CET-1CEST,M3.5.0,M10.5.0/3", ""},
        {"Unlisted/Zone", ""},
        {"../Europe/Berlin", ""},
        {"", ""},
    };
    for (const auto& [tz, name] : cases) {
        EXPECT_EQ(ComputerZoneName(tz.c_str()), name) << tz;
    }
}

}   // namespace
