#include "info/zone_directory.h"

#include <gtest/gtest.h>

namespace {

constexpr std::string_view kCountries =
    "# code\tname\nAU\tAustralia\nCA\tCanada\nJP\tJapan\nPG\tPapua New Guinea\nUS\tUnited States\n";

TEST(ZoneDirectory, EachLineGivesItsPlaceOrIsSkipped)
{
    const struct {
        std::string_view line;
        std::string zone, countryCode, country, city, comment;
        double latitude, longitude;
    } cases[] = {
        {"AU\t-3352+15113\tAustralia/Sydney\tNew South Wales", "Australia/Sydney", "AU", "Australia", "Sydney",
         "New South Wales", -(33 + 52 / 60.0), 151 + 13 / 60.0},
        {"US\t+404251-0740023\tAmerica/New_York", "America/New_York", "US", "United States", "New York", "",
         40 + 42 / 60.0 + 51 / 3600.0, -(74 + 23 / 3600.0)},
        // zone1970.tab names every country a zone serves; the first is the place's.
        {"CA,US\t+4339-07923\tAmerica/Toronto\tEastern", "America/Toronto", "CA", "Canada", "Toronto", "Eastern",
         43 + 39 / 60.0, -(79 + 23 / 60.0)},
        {"XX\t+0000+00000\tEtc/Island_of_Nowhere", "Etc/Island_of_Nowhere", "XX", "XX", "Island of Nowhere", "", 0, 0},
        {"# AU\t-3352+15113\tAustralia/Sydney", "", "", "", "", "", 0, 0},
        {"AU\t-3352+15113", "", "", "", "", "", 0, 0},
        {"AU\t-335+15113\tAustralia/Sydney", "", "", "", "", "", 0, 0},
        {"AU\t-3352+1511\tAustralia/Sydney", "", "", "", "", "", 0, 0},
        {"AU\t-3362+15113\tAustralia/Sydney", "", "", "", "", "", 0, 0},
        {"AU\t-3352x15113\tAustralia/Sydney", "", "", "", "", "", 0, 0},
        {"AU\t-9152+15113\tAustralia/Sydney", "", "", "", "", "", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const std::vector<ZonePlace> places = ReadZonePlaces(std::string(c.line) + "\r\n", kCountries);
        ASSERT_EQ(places.size(), c.zone.empty() ? 1u : 2u);
        EXPECT_EQ(places.back().zone, "UTC");
        EXPECT_FALSE(places.back().latitude.has_value());
        if (c.zone.empty()) {
            continue;
        }
        const ZonePlace& place = places.front();
        EXPECT_EQ(place.zone, c.zone);
        EXPECT_EQ(place.countryCode, c.countryCode);
        EXPECT_EQ(place.country, c.country);
        EXPECT_EQ(place.city, c.city);
        EXPECT_EQ(place.comment, c.comment);
        EXPECT_NEAR(place.latitude.value_or(999), c.latitude, 1e-9);
        EXPECT_NEAR(place.longitude.value_or(999), c.longitude, 1e-9);
    }
}

TEST(ZoneDirectory, SearchKeepsPlacesWithAWordBeginningWithEachWord)
{
    const std::vector<ZonePlace> places = ReadZonePlaces(
        "AU\t-3352+15113\tAustralia/Sydney\nUS\t+404251-0740023\tAmerica/New_York\n"
        "JP\t+353916+1394441\tAsia/Tokyo\nUS\t+415100-0873900\tAmerica/Chicago\n"
        "PG\t-0930+14710\tPacific/Port_Moresby\n",
        kCountries);
    const std::pair<std::string_view, std::vector<std::string>> cases[] = {
        {"syd", {"Australia/Sydney"}},
        {"new y", {"America/New_York"}},
        {"NEW_YORK", {"America/New_York"}},
        {"york new", {"America/New_York"}},
        {"Japan", {"Asia/Tokyo"}},
        {"au", {"Australia/Sydney"}},
        {"america/chi", {"America/Chicago"}},
        {"states", {"America/New_York", "America/Chicago"}},
        {"utc", {"UTC"}},
        {"", {"Australia/Sydney", "America/New_York", "Asia/Tokyo", "America/Chicago", "Pacific/Port_Moresby", "UTC"}},
        {"  ",
         {"Australia/Sydney", "America/New_York", "Asia/Tokyo", "America/Chicago", "Pacific/Port_Moresby", "UTC"}},
        {"syd york", {}},
        {"ork", {}},
    };
    for (const auto& [search, expected] : cases) {
        std::vector<std::string> found;
        for (const ZonePlace* place : FindZonePlaces(places, search)) {
            found.push_back(place->zone);
        }
        EXPECT_EQ(found, expected) << search;
    }
}

}   // namespace
