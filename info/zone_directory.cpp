#include "info/zone_directory.h"

#include <cctype>
#include <map>

namespace {

std::vector<std::string_view> SplitTabs(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

// The non-comment lines of a tab file, without their line ends.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit)
{
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!line.empty() && line.front() != '#') {
            visit(line);
        }
    }
}

// ±DDMM or ±DDMMSS (±DDDMM or ±DDDMMSS for longitudes) as decimal degrees.
std::optional<double> Degrees(std::string_view text, std::size_t degreeDigits)
{
    if (text.size() != degreeDigits + 3 && text.size() != degreeDigits + 5) {
        return std::nullopt;
    }
    if (text.front() != '+' && text.front() != '-') {
        return std::nullopt;
    }
    int parts[3] = {0, 0, 0};
    std::size_t at = 1;
    for (std::size_t part = 0; at < text.size(); ++part) {
        const std::size_t width = part == 0 ? degreeDigits : 2;
        for (std::size_t i = 0; i < width; ++i, ++at) {
            if (std::isdigit(static_cast<unsigned char>(text[at])) == 0) {
                return std::nullopt;
            }
            parts[part] = parts[part] * 10 + (text[at] - '0');
        }
    }
    if (parts[1] >= 60 || parts[2] >= 60) {
        return std::nullopt;
    }
    const double degrees = parts[0] + parts[1] / 60.0 + parts[2] / 3600.0;
    return text.front() == '-' ? -degrees : degrees;
}

// "+3352+15113" or "+404251-0740023": the longitude begins at the second sign.
bool ReadCoordinates(std::string_view text, ZonePlace& place)
{
    const std::size_t split = text.find_first_of("+-", 1);
    if (split == std::string_view::npos) {
        return false;
    }
    place.latitude = Degrees(text.substr(0, split), 2);
    place.longitude = Degrees(text.substr(split), 3);
    return place.latitude && place.longitude && *place.latitude <= 90 && *place.longitude <= 180 &&
           *place.latitude >= -90 && *place.longitude >= -180;
}

std::string CityOf(std::string_view zone)
{
    std::string city(zone.substr(zone.rfind('/') + 1));
    for (char& c : city) {
        c = c == '_' ? ' ' : c;
    }
    return city;
}

// Lower-case ASCII with blanks, '_' and '/' read alike.
std::string Folded(std::string_view text)
{
    std::string folded;
    for (const char c : text) {
        folded +=
            c == '_' || c == '/' || c == '\t' ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return folded;
}

std::vector<std::string> WordsOf(std::string_view search)
{
    std::vector<std::string> words;
    const std::string folded = Folded(search);
    for (std::size_t at = 0; at < folded.size();) {
        const std::size_t end = std::min(folded.find(' ', at), folded.size());
        if (end > at) {
            words.push_back(folded.substr(at, end - at));
        }
        at = end + 1;
    }
    return words;
}

}   // namespace

std::vector<ZonePlace> ReadZonePlaces(std::string_view zoneTab, std::string_view iso3166Tab)
{
    std::map<std::string, std::string, std::less<>> countries;
    ForEachLine(iso3166Tab, [&](std::string_view line) {
        const std::vector<std::string_view> fields = SplitTabs(line);
        if (fields.size() >= 2) {
            countries.emplace(std::string(fields[0]), std::string(fields[1]));
        }
    });
    std::vector<ZonePlace> places;
    ForEachLine(zoneTab, [&](std::string_view line) {
        const std::vector<std::string_view> fields = SplitTabs(line);
        ZonePlace place;
        if (fields.size() < 3 || fields[0].empty() || fields[2].empty() || !ReadCoordinates(fields[1], place)) {
            return;
        }
        place.countryCode = std::string(fields[0].substr(0, fields[0].find(',')));
        const auto country = countries.find(place.countryCode);
        place.country = country == countries.end() ? place.countryCode : country->second;
        place.zone = std::string(fields[2]);
        place.city = CityOf(place.zone);
        place.comment = fields.size() > 3 ? std::string(fields[3]) : std::string();
        places.push_back(std::move(place));
    });
    ZonePlace utc;
    utc.zone = utc.city = "UTC";
    places.push_back(std::move(utc));
    return places;
}

std::vector<const ZonePlace*> FindZonePlaces(const std::vector<ZonePlace>& places, std::string_view search)
{
    const std::vector<std::string> words = WordsOf(search);
    std::vector<const ZonePlace*> found;
    for (const ZonePlace& place : places) {
        // Each searched word begins a word of the place: "new y" is New York, not Papua New Guinea's Port Moresby.
        const std::string text =
            Folded(' ' + place.zone + ' ' + place.city + ' ' + place.country + ' ' + place.countryCode);
        bool all = true;
        for (const std::string& word : words) {
            all = all && text.find(' ' + word) != std::string::npos;
        }
        if (all) {
            found.push_back(&place);
        }
    }
    return found;
}
