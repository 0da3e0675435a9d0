#include "platform/system_zone_source.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <utility>

#include "core/file_access.h"
#include "info/posix_tz.h"
#include "info/time_zone.h"
#include "info/zone_model.h"
#include "platform/zone_catalog.h"

namespace {

constexpr const char* kDefaultZoneFile = "/etc/localtime";
constexpr const char* kDefaultZoneFolder = "/usr/share/zoneinfo";
// Real zone files are a few kilobytes; anything far larger is not one.
constexpr std::size_t kMaxZoneFileSize = 1 << 20;

// The whole file, when it is a regular file of sensible size. Never blocks: TZ may name a FIFO.
std::optional<std::string> ReadZoneFile(const std::string& path)
{
    FileReadResult file = ReadFileLimited(path, kMaxZoneFileSize);
    if (file.status != FileReadStatus::Ok) {
        return std::nullopt;
    }
    return std::move(file.bytes);
}

struct ZoneWhere {
    std::string file;     // the zone file to try first
    std::string tzText;   // a TZ string to try when the file is no zone; empty for none
    std::string zoneId;   // IANA id for the long names; empty when unknown
};

// Where the C library looks: TZ names a file (absolute, or below TZDIR) or is itself a TZ string.
ZoneWhere Resolve(const char* tz)
{
    ZoneWhere where;
    if (tz == nullptr) {
        where.file = kDefaultZoneFile;
        return where;
    }
    std::string name = tz;
    if (!name.empty() && name.front() == ':') {
        name.erase(0, 1);
    }
    where.tzText = name;
    if (!name.empty() && name.front() == '/') {
        where.file = name;
    } else if (!name.empty()) {
        const char* folder = std::getenv("TZDIR");
        where.file = std::string(folder != nullptr && *folder != '\0' ? folder : kDefaultZoneFolder) + "/" + name;
        where.zoneId = ZoneIdFromPath("/zoneinfo/" + name);
    }
    return where;
}

std::string ZoneIdOfFile(const std::string& path)
{
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) {
        return ZoneIdFromPath(path);
    }
    std::string id = ZoneIdFromPath(real);
    std::free(real);
    return id;
}

// The zone and its model as the C library reads them; the id only for a zone file.
void ReadZone(const ZoneWhere& where, std::optional<ZoneRules>& zone, std::optional<ZoneModel>& model,
              std::string& zoneId)
{
    if (!where.file.empty()) {
        if (const auto bytes = ReadZoneFile(where.file)) {
            if ((model = ZoneModel::FromTzif(*bytes)) && (zone = model->PresentRules())) {
                zoneId = where.zoneId.empty() ? ZoneIdOfFile(where.file) : where.zoneId;
                return;
            }
        }
    }
    zoneId.clear();
    // TZ set but empty, and what names no zone, the C library keeps as UTC, and so does every clock the
    // user sees.
    const std::string text = where.tzText.empty() || !ZoneFromTzString(where.tzText) ? "UTC0" : where.tzText;
    zone = ZoneFromTzString(text);
    model = ZoneModel::FromTzString(text);
}

std::optional<std::string> Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

// Writes the identity of what `status` describes into `out` (7 values); all zero when there is none.
void PutIdentity(const struct stat* status, std::int64_t* out)
{
    if (status == nullptr) {
        std::fill(out, out + 7, 0);
        return;
    }
    const auto ns = [](const timespec& time) { return std::int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec; };
    out[0] = static_cast<std::int64_t>(status->st_dev);
    out[1] = static_cast<std::int64_t>(status->st_ino);
    out[2] = static_cast<std::int64_t>(status->st_size);
    out[3] = static_cast<std::int64_t>(status->st_mode);
    out[4] = ns(status->st_mtim);
    out[5] = ns(status->st_ctim);
    out[6] = 1;
}

// Replacing the link (ln -sf, timedatectl) gives the link a new inode; rewriting the zone file in place
// gives the file new times.
SystemZoneSource::Origin OriginOf(const ZoneWhere& where)
{
    SystemZoneSource::Origin origin{Environment("TZ"), Environment("TZDIR"), {}};
    if (!where.file.empty()) {
        struct stat status {};
        PutIdentity(::lstat(where.file.c_str(), &status) == 0 ? &status : nullptr, origin.file.data());
        PutIdentity(::stat(where.file.c_str(), &status) == 0 ? &status : nullptr, origin.file.data() + 7);
    }
    return origin;
}

std::int64_t SystemUnixNow()
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

}   // namespace

std::string ZoneIdFromPath(const std::string& path)
{
    static const std::string kMarker = "/zoneinfo/";
    const std::size_t at = path.rfind(kMarker);
    if (at == std::string::npos) {
        return {};
    }
    std::string id = path.substr(at + kMarker.size());
    for (const char* prefix : {"posix/", "right/"}) {
        if (id.rfind(prefix, 0) == 0) {
            id.erase(0, std::char_traits<char>::length(prefix));
        }
    }
    return id;
}

SystemZoneSource::SystemZoneSource(LongNames longNames) : SystemZoneSource(std::move(longNames), SystemUnixNow) {}

SystemZoneSource::SystemZoneSource(LongNames longNames, UnixNow now)
    : m_longNames(std::move(longNames)),
      m_now(std::move(now))
{
}

const SystemZoneSource::Parsed& SystemZoneSource::Current() const
{
    const ZoneWhere where = Resolve(std::getenv("TZ"));
    Origin origin = OriginOf(where);
    if (!m_parsed || m_parsed->origin != origin) {
        m_parsed = Parsed{};
        ReadZone(where, m_parsed->zone, m_parsed->model, m_parsed->zoneId);
        m_parsed->origin = std::move(origin);
    }
    return *m_parsed;
}

std::optional<ZoneRules> SystemZoneSource::CurrentZoneRules() const
{
    std::optional<ZoneRules> zone;
    std::string zoneId;
    {
        const std::lock_guard lock(m_mutex);
        zone = Current().zone;
        zoneId = Current().zoneId;
    }
    if (!zone) {
        return std::nullopt;
    }
    if (m_longNames && !zoneId.empty()) {
        if (const auto names = m_longNames(zoneId)) {
            zone->standardName = names->standardName;
            if (!names->daylightName.empty()) {
                zone->daylightName = names->daylightName;
            }
        }
    }
    if (!HasDstRules(*zone)) {
        zone->state = ZoneState::Unknown;
        return zone;
    }
    // The C library reads TZ again only in tzset; localtime_r alone may keep a zone of the past.
    tzset();
    const auto now = static_cast<std::time_t>(m_now ? m_now() : SystemUnixNow());
    std::tm local{};
    // By the offset, not tm_isdst: with negative daylight saving the C library calls winter daylight time,
    // while the record's standard time is the smaller offset.
    const bool inDaylight = localtime_r(&now, &local) != nullptr && local.tm_gmtoff != -zone->bias * 60;
    zone->state = inDaylight ? ZoneState::Daylight : ZoneState::Standard;
    return zone;
}

std::optional<LocalElapsed> SystemZoneSource::ElapsedBetween(const DateTime& from, const DateTime& to) const
{
    const std::lock_guard lock(m_mutex);
    const std::optional<ZoneModel>& model = Current().model;
    return model ? model->ElapsedBetween(from, to) : std::nullopt;
}
