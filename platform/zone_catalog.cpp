#include "platform/zone_catalog.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

#include <unistd.h>

#include "core/file_access.h"

namespace {

constexpr const char* kDefaultZoneFolder = "/usr/share/zoneinfo";
constexpr const char* kLocalTimeFile = "/etc/localtime";
// Zone files are a few kilobytes and tzdata.zi about a hundred; anything far larger is neither.
constexpr std::size_t kMaxZoneFileSize = 4 << 20;
// zone.tab is about 20 KB and iso3166.tab 5 KB.
constexpr std::size_t kMaxTableSize = 1 << 20;
constexpr const char* kHowToName =
    "give a name of the tz database such as Europe/Berlin or a TZ string such as CET-1CEST,M3.5.0,M10.5.0/3";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Only parts between single slashes that lead nowhere else, in letters, digits and the signs names use.
bool StaysInFolder(std::string_view name)
{
    if (name.empty() || name.front() == '/' || name.back() == '/' || name.find("//") != std::string_view::npos) {
        return false;
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) <= ' ' || c == '#' || c == '\\' || c == 0x7f) {
            return false;
        }
    }
    const std::string bounded = "/" + std::string(name) + "/";
    return bounded.find("/./") == std::string::npos && bounded.find("/../") == std::string::npos;
}

// Whether a line of `text` names `name` in the field of a Zone ("Z NAME ...") or Link ("L TARGET NAME")
// line; zic takes any abbreviation of the keywords. Scans for the name alone, as one lookup is cheaper so
// than a set of the ~600 names.
bool ListsName(std::string_view text, std::string_view name)
{
    // memmem: several times faster than a search for the first letter over the ~110 KB of a real file.
    const auto find = [&](std::size_t from) {
        const void* found = ::memmem(text.data() + from, text.size() - from, name.data(), name.size());
        return found == nullptr ? std::string_view::npos
                                : static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
    };
    for (std::size_t at = find(0); at != std::string_view::npos; at = find(at + 1)) {
        const std::size_t end = at + name.size();
        if (at == 0 || !IsBlank(text[at - 1]) || (end < text.size() && !IsBlank(text[end]) && text[end] != '\n')) {
            continue;
        }
        const std::size_t lineStart = text.rfind('\n', at) == std::string_view::npos ? 0 : text.rfind('\n', at) + 1;
        const std::string_view before = text.substr(lineStart, at - lineStart);
        int fields = 0;
        for (std::size_t i = 0; i < before.size(); ++i) {
            fields += !IsBlank(before[i]) && (i == 0 || IsBlank(before[i - 1]));
        }
        const char keyword = before.empty() ? ' ' : before.front();
        if (((keyword == 'Z' || keyword == 'z') && fields == 1) ||
            ((keyword == 'L' || keyword == 'l') && fields == 2)) {
            return true;
        }
    }
    return false;
}

// The value as a problem line shows it: control characters would break the line.
std::string Quoted(std::string_view value)
{
    std::string quoted = "'";
    for (const char c : value) {
        quoted += static_cast<unsigned char>(c) < ' ' || c == 0x7f ? '?' : c;
    }
    return quoted + "'";
}

std::optional<ZoneModel> LoadZoneFile(const std::string& path)
{
    const FileReadResult file = ReadFileLimited(path, kMaxZoneFileSize);
    return file.status == FileReadStatus::Ok ? ZoneModel::FromTzif(file.bytes) : std::nullopt;
}

// A listed name's zone, else a TZ string's; `what` names the value in the problem line.
std::optional<ZoneModel> LoadNameOrTzString(std::string_view zone, const std::string& what, std::string& problem)
{
    if (IsListedZoneName(zone)) {
        if (auto model = LoadZoneFile(ZoneFolder() + "/" + std::string(zone))) {
            return model;
        }
        problem = what + " names no time zone: its file in " + ZoneFolder() + " cannot be read as one";
        return std::nullopt;
    }
    if (auto model = ZoneModel::FromTzString(zone)) {
        return model;
    }
    problem = what + " names no time zone: " + kHowToName;
    return std::nullopt;
}

// The name a zone file's path has in the zone folder: a symbolic link is taken at its target (as
// /etc/localtime is), and a path into any folder called zoneinfo counts, as the link may point into the
// system's folder while TZDIR names another. Empty when the path names no listed zone.
std::string ListedNameOfPath(std::string path)
{
    char target[4096];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    if (length > 0 && static_cast<std::size_t>(length) < sizeof target) {
        const std::string linked(target, static_cast<std::size_t>(length));
        path = linked.front() == '/' ? linked : path.substr(0, path.rfind('/') + 1) + linked;
    }
    const std::string folder = ZoneFolder() + "/";
    std::string name;
    if (path.compare(0, folder.size(), folder) == 0) {
        name = path.substr(folder.size());
    } else if (const std::size_t at = path.rfind("/zoneinfo/"); at != std::string::npos) {
        name = path.substr(at + std::strlen("/zoneinfo/"));
    }
    // Debian's copies of the zones beside the folder's own.
    if (name.compare(0, 6, "posix/") == 0) {
        name.erase(0, 6);
    }
    return IsListedZoneName(name) ? name : std::string();
}

}   // namespace

std::string ZoneFolder()
{
    const char* folder = std::getenv("TZDIR");
    return folder != nullptr && *folder != '\0' ? folder : kDefaultZoneFolder;
}

bool IsListedZoneName(std::string_view name)
{
    static std::mutex mutex;
    static std::string folderRead;
    static std::optional<std::string> catalog;
    if (!StaysInFolder(name)) {
        return false;
    }
    const std::lock_guard lock(mutex);
    const std::string folder = ZoneFolder();
    if (!catalog || folderRead != folder) {
        FileReadResult file = ReadFileLimited(folder + "/tzdata.zi", kMaxZoneFileSize);
        catalog = std::move(file.bytes);
        folderRead = folder;
    }
    return ListsName(*catalog, name);
}

std::optional<ZoneModel> LoadNamedZone(std::string_view zone, std::string& problem)
{
    return LoadNameOrTzString(zone, Quoted(zone), problem);
}

std::optional<ZoneModel> LoadTzVariable(const char* tz, std::string& problem)
{
    std::string_view value = tz != nullptr ? tz : ":";
    if (value.empty()) {
        return ZoneModel::FromTzString("UTC0");
    }
    if (value.front() == ':') {
        value.remove_prefix(1);
    }
    if (value.empty()) {
        auto model = LoadZoneFile(kLocalTimeFile);
        return model ? model : ZoneModel::FromTzString("UTC0");
    }
    const std::string what = "TZ " + Quoted(tz);
    if (value.front() == '/') {
        if (auto model = LoadZoneFile(std::string(value))) {
            return model;
        }
        problem = what + " names no time zone: that file cannot be read as a zone file";
        return std::nullopt;
    }
    return LoadNameOrTzString(value, what, problem);
}

const std::vector<ZonePlace>& ZonePlaces()
{
    static const std::vector<ZonePlace> places = [] {
        const std::string folder = ZoneFolder();
        const FileReadResult zones = ReadFileLimited(folder + "/zone.tab", kMaxTableSize);
        const FileReadResult countries = ReadFileLimited(folder + "/iso3166.tab", kMaxTableSize);
        return ReadZonePlaces(zones.bytes, countries.bytes);
    }();
    return places;
}

std::string ComputerZoneName(const char* tz)
{
    std::string_view value = tz != nullptr ? tz : ":";
    if (!value.empty() && value.front() == ':') {
        value.remove_prefix(1);
    }
    if (tz == nullptr || (value.empty() && *tz == ':')) {
        return ListedNameOfPath(kLocalTimeFile);
    }
    if (!value.empty() && value.front() == '/') {
        return ListedNameOfPath(std::string(value));
    }
    return IsListedZoneName(value) ? std::string(value) : std::string();
}
