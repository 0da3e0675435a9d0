#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One zone a user can choose: a line of the tz database's zone.tab with its country, or UTC.
struct ZonePlace {
    std::string zone;                            // "Australia/Sydney"; "UTC" for the entry without a country
    std::string countryCode;                     // "AU" (the first code of the line); empty for UTC
    std::string country;                         // "Australia", from iso3166.tab; empty for UTC
    std::string city;                            // "Sydney": the part after the last '/', underscores as blanks
    std::string comment;                         // zone.tab's comment column, often empty
    std::optional<double> latitude, longitude;   // decimal degrees, north and east positive; empty for UTC
};

// zone.tab's lines with their countries from iso3166.tab, in zone.tab's order, then UTC. Comment lines and
// lines that cannot be read (a bad coordinate, fewer than three columns) are skipped.
std::vector<ZonePlace> ReadZonePlaces(std::string_view zoneTab, std::string_view iso3166Tab);

// The places where every word of `search` begins a word of their zone, city, country or country code (ASCII letters
// without regard to case; blanks, '_' and '/' alike): "syd", "new y", "Japan", "au". All places for an
// empty search. Pointers into `places`, in its order.
std::vector<const ZonePlace*> FindZonePlaces(const std::vector<ZonePlace>& places, std::string_view search);
