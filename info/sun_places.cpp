#include "info/sun_places.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "info/coordinates.h"

namespace {

std::optional<double> ReadDegrees(std::string_view text, double limit)
{
    double value = 0;
    const std::from_chars_result result = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool whole = result.ec == std::errc() && result.ptr == text.data() + text.size();
    return whole && std::isfinite(value) && std::fabs(value) <= limit ? std::optional(value) : std::nullopt;
}

// Enough digits to read back the same degrees; shortest form, with a point in every locale.
std::string DegreesText(double value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string OneField(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return text;
}

}   // namespace

std::optional<SunPlace> ParseSunPlace(std::string_view line)
{
    std::string_view fields[4];
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            return std::nullopt;
        }
        fields[i] = line.substr(0, tab);
        line.remove_prefix(tab + 1);
    }
    fields[3] = line;
    const std::optional<double> latitude = ReadDegrees(fields[1], 90);
    const std::optional<double> longitude = ReadDegrees(fields[2], 180);
    const bool zoneOk = !fields[3].empty() && fields[3].find('\t') == std::string_view::npos;
    if (fields[0].empty() || !latitude || !longitude || !zoneOk) {
        return std::nullopt;
    }
    return SunPlace{std::string(fields[0]), GeoPoint{*latitude, *longitude}, std::string(fields[3])};
}

std::string FormatSunPlace(const SunPlace& place)
{
    return OneField(place.name) + '\t' + DegreesText(place.point.latitude) + '\t' + DegreesText(place.point.longitude) +
           '\t' + OneField(place.zone);
}

std::vector<SunPlace> ParseSunPlaces(const std::vector<std::string>& lines)
{
    std::vector<SunPlace> places;
    for (const std::string& line : lines) {
        if (std::optional<SunPlace> place = ParseSunPlace(line)) {
            places.push_back(std::move(*place));
        }
    }
    return places;
}

std::vector<std::string> FormatSunPlaces(const std::vector<SunPlace>& places)
{
    std::vector<std::string> lines;
    lines.reserve(places.size());
    for (const SunPlace& place : places) {
        lines.push_back(FormatSunPlace(place));
    }
    return lines;
}

std::optional<SunPlace> ReadSunPlace(std::string_view name, std::string_view point, std::string_view zone,
                                     const MessageSource& messages, std::string& problem)
{
    const bool blank = name.find_first_not_of(" \t") == std::string_view::npos;
    if (blank) {
        problem = messages.GetString(kPlaceNameMissingMessage);
        return std::nullopt;
    }
    const std::optional<GeoPoint> read = ReadGeoPoint(point, problem);
    if (!read) {
        return std::nullopt;
    }
    if (zone.empty()) {
        problem = messages.GetString(kPlaceZoneMissingMessage);
        return std::nullopt;
    }
    return SunPlace{OneField(std::string(name)), *read, OneField(std::string(zone))};
}
