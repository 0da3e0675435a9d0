#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fakes/fake_zone_source.h"
#include "info/zone_directory.h"
#include "info/zone_model.h"
#include "pages/page_services.h"

// Places of the zones made by zic from tests/data/tz, and the pages' services over them: the computer's
// zone is Berlin's file, called "Europe/Berlin".
inline const std::vector<ZonePlace>& TestPlaces()
{
    static const std::vector<ZonePlace> places = {
        {"Europe/Berlin", "DE", "Germany", "Berlin", "most of Germany", 52.5, 13.37},
        {"America/New_York", "US", "United States", "New York", "Eastern (most areas)", 40.71, -74.0},
        {"Australia/Sydney", "AU", "Australia", "Sydney", "New South Wales (most areas)", -33.87, 151.22},
        {"UTC", "", "", "UTC", "", std::nullopt, std::nullopt},
    };
    return places;
}

inline PageServices WithTestPlaces(PageServices services, std::string computerZone = "Europe/Berlin")
{
    services.zonePlaces = &TestPlaces();
    services.loadZone = [](std::string_view name) {
        return ZoneModel::FromTzif(TestZoneFolder().Read(name.empty() ? "Europe/Berlin" : std::string(name)));
    };
    services.computerZone = std::move(computerZone);
    return services;
}
