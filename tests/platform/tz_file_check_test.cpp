#include "platform/tz_file_check.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "fakes/fake_zone_source.h"
#include "fakes/temp_folder.h"

namespace {

TEST(TzFileCheck, OnlyAZoneFileThatIsNoRegularFileIsReplaced)
{
    const TempFolder zones;
    std::filesystem::create_directories(zones / "Europe/Folder");
    WriteFileBytes(zones / "Europe/Berlin", "TZif");
    ASSERT_EQ(::mkfifo((zones / "Europe/Pipe").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((zones / "UTC0").c_str(), 0600), 0);
    std::filesystem::create_symlink(zones / "Europe/Pipe", zones / "Europe/LinkToPipe");
    const std::string dir = zones.Path().string();
    const struct {
        std::string tz;
        std::string tzDir;
        bool replaced;
    } cases[] = {
        {"Europe/Berlin", dir, false},
        {":Europe/Berlin", dir, false},
        {dir + "/Europe/Berlin", "", false},
        {"Europe/Pipe", dir, true},
        {":Europe/Pipe", dir, true},
        {":" + dir + "/Europe/Pipe", "/nowhere", true},
        {"Europe/LinkToPipe", dir, true},
        {"Europe/Folder", dir, true},
        {dir, "", true},
        {"/dev/null", "", true},
        // The C library tries every value as a file first, a TZ string too.
        {"UTC0", dir, true},
        {"CET-1CEST,M3.5.0,M10.5.0/3", dir, false},
        {"Europe/Missing", dir, false},
        {":", dir, false},
        // An empty TZ is read as the file Universal, below the default folder when TZDIR is empty.
        {"", dir, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tz + " in " + c.tzDir);
        EXPECT_EQ(TzNamesUnreadableFile(c.tz, c.tzDir), c.replaced);
    }
    std::filesystem::create_directories(zones / "Universal");
    EXPECT_TRUE(TzNamesUnreadableFile("", dir));
}

// The window removes a TZ that names no zone, so that the computer's zone is used.
TEST(TzFileCheck, ATzThatNamesNoZoneIsRemoved)
{
    const ScopedEnv tzDir("TZDIR", TestZoneFolder().Root().string());
    for (const auto& [tz, removed] : {std::pair{"Mars/Olympus", true},
                                      {"Europe/Berlin", false},
                                      {"CET-1CEST,M3.5.0,M10.5.0/3", false},
                                      {"", false}}) {
        const ScopedEnv given("TZ", tz);
        EXPECT_EQ(TzProblem().has_value(), removed) << tz;
        EXPECT_EQ(RemoveTzNamingNoZone(), removed ? std::optional<std::string>(tz) : std::nullopt) << tz;
        EXPECT_EQ(std::getenv("TZ") == nullptr, removed) << tz;
    }
}

}   // namespace
