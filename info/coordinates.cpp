#include "info/coordinates.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <initializer_list>

#include "core/ascii.h"

namespace {

constexpr std::string_view kFormProblem = "write a place as LATITUDE,LONGITUDE, as in 59.91,10.75";

// Reads a coordinate from the front of a text, one piece at a time.
class CoordinateCursor {
public:
    explicit CoordinateCursor(std::string_view text) : m_rest(text) {}

    bool AtEnd() const { return m_rest.empty(); }

    // True when there was at least one.
    bool SkipBlanks()
    {
        const std::size_t before = m_rest.size();
        while (!m_rest.empty() && IsAsciiSpace(m_rest.front())) {
            m_rest.remove_prefix(1);
        }
        return m_rest.size() != before;
    }

    bool Take(std::string_view mark)
    {
        if (!m_rest.starts_with(mark)) {
            return false;
        }
        m_rest.remove_prefix(mark.size());
        return true;
    }

    // Digits with at most one decimal point, as "59", "59.91", ".5"; no sign, exponent or words such as
    // "inf", which std::from_chars would take.
    std::optional<double> TakeNumber(bool& whole)
    {
        const std::size_t end = m_rest.find_first_not_of("0123456789.");
        const std::string_view digits = m_rest.substr(0, end);
        if (digits.find_first_of("0123456789") == std::string_view::npos) {
            return std::nullopt;
        }
        double value = 0;
        const auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error != std::errc{} || last != digits.data() + digits.size()) {
            return std::nullopt;
        }
        whole = digits.find('.') == std::string_view::npos;
        m_rest.remove_prefix(digits.size());
        return value;
    }

    // One of `letters` (either case), as a hemisphere.
    char TakeLetter(std::string_view letters)
    {
        if (m_rest.empty()) {
            return 0;
        }
        const char upper = static_cast<char>(AsciiLower(m_rest.front()) - 'a' + 'A');
        if (letters.find(upper) == std::string_view::npos) {
            return 0;
        }
        m_rest.remove_prefix(1);
        return upper;
    }

private:
    std::string_view m_rest;
};

// Minutes or seconds after whole degrees (or whole minutes): below 60, followed by one of `marks`.
bool TakeSexagesimal(CoordinateCursor& cursor, std::initializer_list<std::string_view> marks, double scale,
                     double& value, bool& whole)
{
    bool partWhole = false;
    const std::optional<double> part = cursor.TakeNumber(partWhole);
    if (!part || *part >= 60) {
        return false;
    }
    for (const std::string_view mark : marks) {
        if (cursor.Take(mark)) {
            value += *part / scale;
            whole = partWhole;
            return true;
        }
    }
    return false;
}

// "-33.87", "59.91N", "59.91° N", "59°54'N", "59°54'36\"N": signed or with a hemisphere, never both.
// `hemispheres` holds the positive letter, then the negative one.
std::optional<double> TakeCoordinate(CoordinateCursor& cursor, std::string_view hemispheres)
{
    const bool negative = cursor.Take("-");
    const bool positive = !negative && cursor.Take("+");
    bool whole = false;
    std::optional<double> value = cursor.TakeNumber(whole);
    if (!value) {
        return std::nullopt;
    }
    if (cursor.Take("°")) {
        CoordinateCursor lookahead = cursor;
        double withMinutes = *value;
        bool minutesWhole = false;
        if (whole && TakeSexagesimal(lookahead, {"'", "′"}, 60, withMinutes, minutesWhole)) {
            cursor = lookahead;
            value = withMinutes;
            if (minutesWhole && TakeSexagesimal(lookahead, {"\"", "″"}, 3600, withMinutes, minutesWhole)) {
                cursor = lookahead;
                value = withMinutes;
            }
        }
    }
    CoordinateCursor lookahead = cursor;
    lookahead.SkipBlanks();
    const char letter = lookahead.TakeLetter(hemispheres);
    if (letter != 0) {
        if (negative || positive) {
            return std::nullopt;
        }
        cursor = lookahead;
        return letter == hemispheres[0] ? *value : -*value;
    }
    return negative ? -*value : *value;
}

}   // namespace

std::optional<GeoPoint> ReadGeoPoint(std::string_view text, std::string& problem)
{
    CoordinateCursor cursor(text);
    cursor.SkipBlanks();
    const std::optional<double> latitude = TakeCoordinate(cursor, "NS");
    const bool blank = cursor.SkipBlanks();
    const bool comma = cursor.Take(",");
    cursor.SkipBlanks();
    std::optional<double> longitude;
    if (latitude && (blank || comma)) {
        longitude = TakeCoordinate(cursor, "EW");
    }
    cursor.SkipBlanks();
    if (!latitude || !longitude || !cursor.AtEnd()) {
        problem = kFormProblem;
        return std::nullopt;
    }
    if (std::abs(*latitude) > 90) {
        problem = "latitudes run from -90 to 90";
        return std::nullopt;
    }
    if (std::abs(*longitude) > 180) {
        problem = "longitudes run from -180 to 180";
        return std::nullopt;
    }
    problem.clear();
    return GeoPoint{*latitude, *longitude};
}

std::string GeoPointText(const GeoPoint& place)
{
    const auto part = [](double value, char positive, char negative) {
        char digits[32];
        std::snprintf(digits, sizeof digits, "%.4f", std::abs(value));
        std::string text = digits;
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
        // A value that rounds to 0 has no hemisphere to lean to: "0° N", not "0° S".
        return text + "° " + (value < 0 && text != "0" ? negative : positive);
    };
    return part(place.latitude, 'N', 'S') + ", " + part(place.longitude, 'E', 'W');
}
