#include "info/coordinates.h"

#include <gtest/gtest.h>

namespace {

constexpr std::string_view kForm = "write a place as LATITUDE,LONGITUDE, as in 59.91,10.75";
constexpr std::string_view kLatitudes = "latitudes run from -90 to 90";
constexpr std::string_view kLongitudes = "longitudes run from -180 to 180";

TEST(Coordinates, PlacesAsUsersTypeThem)
{
    const struct {
        std::string_view text;
        double latitude, longitude;
    } cases[] = {
        {"59.91,10.75", 59.91, 10.75},
        {" 59.91 , 10.75 ", 59.91, 10.75},
        {"-33.87 151.21", -33.87, 151.21},
        {"+59.91,+10.75", 59.91, 10.75},
        {"59°54'N 10°45'E", 59.9, 10.75},
        {"33°52′12″S, 151°12′36″W", -(33 + 52 / 60.0 + 12 / 3600.0), -(151 + 12 / 60.0 + 36 / 3600.0)},
        {"59.91N 10.75e", 59.91, 10.75},
        {"59.91° N, 10.75° E", 59.91, 10.75},   // as GeoPointText writes it
        {"90,180", 90, 180},
        {"-90,-180", -90, -180},
        {".5,0", 0.5, 0},
    };
    for (const auto& [text, latitude, longitude] : cases) {
        std::string problem = "stale";
        const GeoPoint place = ReadGeoPoint(text, problem).value_or(GeoPoint{-999, -999});
        EXPECT_NEAR(place.latitude, latitude, 1e-9) << text;
        EXPECT_NEAR(place.longitude, longitude, 1e-9) << text;
        EXPECT_EQ(problem, "") << text;
    }
}

TEST(Coordinates, AnythingElseSaysWhatIsWrong)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"90.0001,0", kLatitudes},
        {"-91 0", kLatitudes},
        {"0,180.5", kLongitudes},
        {"0 -180.0001", kLongitudes},
        {"", kForm},
        {"abc", kForm},
        {"59.91", kForm},
        {"59.91,", kForm},
        {"59.91,10.75,3", kForm},
        {"nan,0", kForm},
        {"0,inf", kForm},
        {"1e3,0", kForm},
        // A decimal comma cannot be told from the comma between the two.
        {"59,91 10,75", kForm},
        {"-59.91S 10.75E", kForm},
        {"10.75E 59.91N", kForm},
        {"59°60'N 10E", kForm},
        {"59.5°30'N 10E", kForm},
        {"59.91N10.75E", kForm},
    };
    for (const auto& [text, expected] : cases) {
        std::string problem;
        EXPECT_FALSE(ReadGeoPoint(text, problem).has_value()) << text;
        EXPECT_EQ(problem, expected) << text;
    }
}

TEST(Coordinates, TextHasHemispheresAndAtMostFourDecimals)
{
    const std::pair<GeoPoint, std::string_view> cases[] = {
        {{59.91, 10.75}, "59.91° N, 10.75° E"},
        {{-33.86786, -151.20732}, "33.8679° S, 151.2073° W"},
        {{-0.00001, -0.00004}, "0° N, 0° E"},
        {{-90, 180}, "90° S, 180° E"},
    };
    for (const auto& [place, text] : cases) {
        EXPECT_EQ(GeoPointText(place), text);
    }
}

}   // namespace
