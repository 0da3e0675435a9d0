#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/messages.h"
#include "info/sun.h"

// A place of the user's own for the Sun sub-page: a name, where it lies, and the zone whose wall clocks
// tell its times.
struct SunPlace {
    std::string name;
    GeoPoint point;
    std::string zone;   // a tz database name, never empty

    friend bool operator==(const SunPlace&, const SunPlace&) = default;
};

// One stored place, "NAME\tLAT\tLON\tZONE" with decimal-point degrees; empty for a line of another shape,
// an empty name or zone, or a coordinate outside ±90 / ±180.
std::optional<SunPlace> ParseSunPlace(std::string_view line);
// The stored line of a place; tabs and line breaks in its name and zone become blanks, so it reads back.
std::string FormatSunPlace(const SunPlace& place);

// Every line ParseSunPlace reads, in order; the others are skipped.
std::vector<SunPlace> ParseSunPlaces(const std::vector<std::string>& lines);
std::vector<std::string> FormatSunPlaces(const std::vector<SunPlace>& places);

// A place as the user typed it: `point` as ReadGeoPoint reads it, `zone` a zone name. Empty, with one line
// in `problem`, for an empty name, a place ReadGeoPoint refuses, or no zone.
std::optional<SunPlace> ReadSunPlace(std::string_view name, std::string_view point, std::string_view zone,
                                     const MessageSource& messages, std::string& problem);
