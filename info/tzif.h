#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "info/zone_rules.h"

// What a TZif zone file (RFC 8536) tells about the zone's present rules.
struct TzifContents {
    // The POSIX TZ string of the footer; empty when the file has none (version 1, an empty footer, or a
    // footer cut short).
    std::optional<std::string> footer;
    // The standard time type of the latest transition (or the first type when there is none): the base
    // offset when the footer cannot say.
    int standardOffsetSeconds = 0;   // east of UTC
    std::string standardAbbreviation;
};

// Empty when `bytes` is not a TZif file or its data is cut short.
std::optional<TzifContents> ReadTzif(std::string_view bytes);

// The zone record of a TZif file: from its footer when that is a TZ string we can use, else without
// daylight saving rules at the standard offset of its data. Empty when neither gives a base offset in
// whole minutes.
std::optional<ZoneRules> ZoneFromTzif(std::string_view bytes);
