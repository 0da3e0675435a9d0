#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "info/zone_source.h"

// Long standard and daylight names of a zone.
struct ZoneNames {
    std::string standardName;
    std::string daylightName;
};

// The machine's zone as the C library sees it: the zone file or TZ string named by TZ, else the file
// /etc/localtime. Rules and base offset come from the TZif footer, the names from `longNames` where it
// knows the zone (else the abbreviations), and the state now from tm_isdst. A zone file that is missing
// or unreadable, or a TZ that is neither a zone file nor a TZ string, gives a failed query.
class SystemZoneSource final : public ZoneSource {
public:
    // The long names of an IANA zone id ("Europe/Berlin"); empty where unknown.
    using LongNames = std::function<std::optional<ZoneNames>(const std::string& zoneId)>;
    // Seconds of the Unix time scale now.
    using UnixNow = std::function<std::int64_t()>;

    // The system clock; no `longNames` leaves the abbreviations.
    explicit SystemZoneSource(LongNames longNames = {});
    SystemZoneSource(LongNames longNames, UnixNow now);

    std::optional<TimeZoneInformation> GetTimeZoneInformation() const override;

private:
    LongNames m_longNames;
    UnixNow m_now;
};

// The IANA id of a zone file path: what follows ".../zoneinfo/" ("posix/" and "right/" dropped);
// empty when the path does not lie in a zone folder.
std::string ZoneIdFromPath(const std::string& path);
