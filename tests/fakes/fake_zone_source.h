#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "info/zone_source.h"

// A zone that tests set at will; an empty one stands for a failed query.
class FakeZoneSource final : public ZoneSource {
public:
    explicit FakeZoneSource(std::optional<TimeZoneInformation> zone = std::nullopt) : m_zone(std::move(zone)) {}

    std::optional<TimeZoneInformation> GetTimeZoneInformation() const override { return m_zone; }
    void Set(std::optional<TimeZoneInformation> zone) { m_zone = std::move(zone); }

private:
    std::optional<TimeZoneInformation> m_zone;
};

// A zone folder in a temporary place, compiled by zic from the sources in `sourceDir` (tests/data/tz),
// so that nothing depends on the machine's own zone data. Like the system's, it is named "zoneinfo", so
// a file's path below it is the zone's id. Removed again with the object.
class FakeZoneFolder {
public:
    explicit FakeZoneFolder(const std::filesystem::path& sourceDir)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "chronel-zones-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        m_base = pattern;
        m_root = m_base / "zoneinfo";
        const std::string command = "/usr/sbin/zic -b fat -d '" + m_root.string() + "' '" +
                                    (sourceDir / "zones.zi").string() + "' 2>/dev/null";
        m_ok = std::system(command.c_str()) == 0;
    }
    ~FakeZoneFolder()
    {
        std::error_code ignored;
        if (!m_base.empty()) {
            std::filesystem::remove_all(m_base, ignored);
        }
    }
    FakeZoneFolder(const FakeZoneFolder&) = delete;
    FakeZoneFolder& operator=(const FakeZoneFolder&) = delete;

    // False when zic could not build the folder.
    bool Ok() const { return m_ok; }
    const std::filesystem::path& Root() const { return m_root; }
    std::string Path(const std::string& zoneId) const { return (m_root / zoneId).string(); }
    // The zone file's bytes; empty when it cannot be read.
    std::string Read(const std::string& zoneId) const
    {
        std::ifstream in(Path(zoneId), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Writes `bytes` as a new file in the folder and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::filesystem::path path = m_root / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

private:
    std::filesystem::path m_base;
    std::filesystem::path m_root;
    bool m_ok = false;
};

#ifdef CHRONEL_TEST_DATA_DIR
// The zones of tests/data/tz, compiled once for the whole test run.
inline const FakeZoneFolder& TestZoneFolder()
{
    static const FakeZoneFolder folder(CHRONEL_TEST_DATA_DIR "/tz");
    return folder;
}
#endif

// Sets an environment variable (TZ, TZDIR) for one scope, or removes it with nullptr, and puts the old
// state back; the C library's zone follows both times.
class ScopedZoneEnv {
public:
    ScopedZoneEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        Apply(value);
    }
    ~ScopedZoneEnv() { Apply(m_old ? m_old->c_str() : nullptr); }
    ScopedZoneEnv(const ScopedZoneEnv&) = delete;
    ScopedZoneEnv& operator=(const ScopedZoneEnv&) = delete;

private:
    void Apply(const char* value)
    {
        if (value != nullptr) {
            ::setenv(m_name.c_str(), value, 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
        ::tzset();
    }

    std::string m_name;
    std::optional<std::string> m_old;
};
