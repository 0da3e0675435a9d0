#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "info/sun.h"

// "59.91,10.75", "59.91, 10.75", "-33.87 151.21", "59°54'N 10°45'E", "59.91N 10.75E": a place typed by a
// user. Empty, with `problem` set to one line ("latitudes run from -90 to 90", "longitudes run from -180
// to 180", "write a place as LATITUDE,LONGITUDE, as in 59.91,10.75"), for anything else.
std::optional<GeoPoint> ReadGeoPoint(std::string_view text, std::string& problem);

// "59.91° N, 10.75° E": four decimals at most, trailing zeros dropped.
std::string GeoPointText(const GeoPoint& place);
