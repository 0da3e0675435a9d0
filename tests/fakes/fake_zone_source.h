#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "fakes/temp_folder.h"
#include "info/zone_source.h"

// A zone that tests set at will; an empty one stands for a failed query. It tells `elapsed` for any two
// wall times, none unless set.
class FakeZoneSource final : public ZoneSource {
public:
    std::optional<ZoneRules> CurrentZoneRules() const override { return m_zone; }
    std::optional<LocalElapsed> ElapsedBetween(const DateTime&, const DateTime&) const override { return elapsed; }
    void Set(std::optional<ZoneRules> zone) { m_zone = std::move(zone); }

    std::optional<LocalElapsed> elapsed;

private:
    std::optional<ZoneRules> m_zone;
};

// A zone folder in a temporary place, compiled by zic from the sources in `sourceDir` (tests/data/tz),
// so that nothing depends on the machine's own zone data. Like the system's, it is named "zoneinfo", so
// a file's path below it is the zone's id, and lists its names in tzdata.zi. Removed again with the object.
class FakeZoneFolder {
public:
    explicit FakeZoneFolder(const std::filesystem::path& sourceDir)
        : m_root(m_folder.Path() / "zoneinfo"),
          m_ok(!m_folder.Path().empty() && std::system(("/usr/sbin/zic -b fat -d '" + m_root.string() + "' '" +
                                                        (sourceDir / "zones.zi").string() + "' 2>/dev/null")
                                                           .c_str()) == 0)
    {
        // The zone sources stand for the catalog of names that a system's tzdata.zi is.
        std::error_code error;
        m_ok = m_ok && std::filesystem::copy_file(sourceDir / "zones.zi", m_root / "tzdata.zi", error);
    }

    // False when zic could not build the folder.
    bool Ok() const { return m_ok; }
    const std::filesystem::path& Root() const { return m_root; }
    std::string Path(const std::string& zoneId) const { return (m_root / zoneId).string(); }
    // The zone file's bytes; empty when it cannot be read.
    std::string Read(const std::string& zoneId) const { return ReadFileBytes(Path(zoneId)); }
    // Writes `bytes` as a new file in the folder and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        WriteFileBytes(Path(name), bytes);
        return Path(name);
    }

private:
    TempFolder m_folder;
    std::filesystem::path m_root;
    bool m_ok;
};

#ifdef CHRONEL_TEST_DATA_DIR
// The zones of tests/data/tz, compiled once for the whole test run.
inline const FakeZoneFolder& TestZoneFolder()
{
    static const FakeZoneFolder folder(CHRONEL_TEST_DATA_DIR "/tz");
    return folder;
}
#endif

using ScopedZoneEnv = ScopedEnv;
