#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "info/zone_model.h"
#include "info/zone_source.h"

// Long standard and daylight names of a zone.
struct ZoneNames {
    std::string standardName;
    std::string daylightName;
};

// The machine's zone as the C library sees it: the zone file or TZ string named by TZ, else the file
// /etc/localtime. Rules and base offset come from the TZif footer, the names from `longNames` where it
// knows the zone (else the abbreviations), and the state now from tm_isdst. A zone file that is missing
// or unreadable, or a TZ that is neither a zone file nor a TZ string, gives a failed query. The zone is
// parsed again only when TZ, TZDIR or the zone file (the link or what it leads to) changes: a query costs
// two stat calls, and opens no file while the zone stays as it is.
class SystemZoneSource final : public ZoneSource {
public:
    // The long names of an IANA zone id ("Europe/Berlin"); empty where unknown.
    using LongNames = std::function<std::optional<ZoneNames>(const std::string& zoneId)>;
    // Seconds of the Unix time scale now.
    using UnixNow = std::function<std::int64_t()>;

    // The system clock; no `longNames` leaves the abbreviations.
    explicit SystemZoneSource(LongNames longNames = {});
    SystemZoneSource(LongNames longNames, UnixNow now);

    std::optional<ZoneRules> CurrentZoneRules() const override;
    // By the model of the zone, read with the rules and again when they are.
    std::optional<LocalElapsed> ElapsedBetween(const DateTime& from, const DateTime& to) const override;

    // What a zone was read from: TZ and TZDIR as set, and the identity of the zone file and of the
    // link to it (device, inode, size, mode, modification and change times).
    struct Origin {
        std::optional<std::string> tz;
        std::optional<std::string> tzDir;
        std::array<std::int64_t, 14> file{};
        friend bool operator==(const Origin&, const Origin&) = default;
    };

private:
    struct Parsed {
        Origin origin;
        std::optional<ZoneRules> zone;   // without the long names and the state now
        std::optional<ZoneModel> model;
        std::string zoneId;
    };

    // The zone as TZ and its file are now, read again when they have changed; m_mutex held.
    const Parsed& Current() const;

    LongNames m_longNames;
    UnixNow m_now;
    mutable std::mutex m_mutex;
    mutable std::optional<Parsed> m_parsed;
};

// The IANA id of a zone file path: what follows ".../zoneinfo/" ("posix/" and "right/" dropped);
// empty when the path does not lie in a zone folder.
std::string ZoneIdFromPath(const std::string& path);
