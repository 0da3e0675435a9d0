#include "info/sun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::array kAltitudes = {-0.833, -6.0, -12.0, -18.0};

// One line of tests/data/sun/sun_table.txt, made by make_sun_tables.py beside it with PyEphem.
struct Row {
    std::string line;
    std::int64_t start = 0;
    GeoPoint place;
    std::array<std::string, 8> events;   // rising and setting for each altitude: UTC seconds, "-", "up" or "down"
    std::int64_t noon = 0, dayLength = 0, instant = 0;
    double altitude = 0, azimuth = 0;
};

std::vector<Row> ReadTable()
{
    std::ifstream file(CHRONEL_TEST_DATA_DIR "/sun/sun_table.txt");
    std::vector<Row> rows;
    for (std::string line; std::getline(file, line);) {
        std::istringstream fields(line);
        Row row;
        row.line = line;
        fields >> row.start >> row.place.latitude >> row.place.longitude;
        for (std::string& event : row.events) {
            fields >> event;
        }
        if (fields >> row.noon >> row.dayLength >> row.instant >> row.altitude >> row.azimuth) {
            rows.push_back(row);
        }
    }
    return rows;
}

// Empty when our event matches the table's: the same second within a minute, or, where the sun crawls
// (less than 0.05° a minute), our moment within 0.01° of the altitude; a missing event for a missing one.
std::string Disagreement(const SunEvent& ours, const std::string& theirs, double altitude, const GeoPoint& place)
{
    if (theirs == "-" || theirs == "up" || theirs == "down") {
        const SunMiss expected = theirs == "up" ? SunMiss::NeverSets : SunMiss::NeverRises;
        return !ours.at && (theirs == "-" || ours.miss == expected) ? "" : "should be missing: " + theirs;
    }
    if (!ours.at) {
        return "missing, expected " + theirs;
    }
    const std::int64_t at = *ours.at;
    const double rate = std::abs(SunPositionAt(at + 30, place).altitude - SunPositionAt(at - 30, place).altitude);
    const double off = std::abs(SunPositionAt(at, place).altitude - altitude);
    if (std::abs(at - std::stoll(theirs)) <= 60 || (rate < 0.05 && off <= 0.01)) {
        return "";
    }
    return std::to_string(at) + " instead of " + theirs;
}

TEST(Sun, TimesAgreeWithAnIndependentEphemeris)
{
    const std::vector<Row> rows = ReadTable();
    ASSERT_GE(rows.size(), 2060u);
    int failures = 0;
    for (const Row& row : rows) {
        const SunDay day = ComputeSunDay(row.start, row.start + 86400, row.place);
        const std::array<SunEvent, 8> events = {day.sunrise,          day.sunset,          day.civilDawn,
                                                day.civilDusk,        day.nauticalDawn,    day.nauticalDusk,
                                                day.astronomicalDawn, day.astronomicalDusk};
        for (std::size_t i = 0; i < events.size(); ++i) {
            const std::string problem = Disagreement(events[i], row.events[i], kAltitudes[i / 2], row.place);
            // A few lines say what is wrong; thousands would bury it.
            if (!problem.empty() && ++failures <= 10) {
                ADD_FAILURE() << "event " << i << " " << problem << "\n" << row.line;
            }
        }
        // The day's length follows its ends where both are timed; whole days up or down are exact.
        const auto timed = [](const SunEvent& ours, const std::string& theirs) {
            return ours.at && theirs.find_first_not_of("-0123456789") == std::string::npos && theirs != "-" &&
                   std::abs(*ours.at - std::stoll(theirs)) <= 60;
        };
        const bool wholeDay = row.dayLength == 0 || row.dayLength == 86400;
        const bool lengthOff = wholeDay ? day.dayLengthSeconds != row.dayLength
                                        : timed(day.sunrise, row.events[0]) && timed(day.sunset, row.events[1]) &&
                                              std::abs(day.dayLengthSeconds - row.dayLength) > 120;
        if ((std::abs(day.solarNoon - row.noon) > 60 || lengthOff) && ++failures <= 10) {
            ADD_FAILURE() << "noon " << day.solarNoon << ", day length " << day.dayLengthSeconds << "\n" << row.line;
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(Sun, PositionAgreesWithAnIndependentEphemeris)
{
    int failures = 0;
    for (const Row& row : ReadTable()) {
        const SunPosition sun = SunPositionAt(row.instant, row.place);
        const double azimuthOff = std::abs(std::remainder(sun.azimuth - row.azimuth, 360.0));
        // Straight overhead the azimuth means little: a hundredth of a degree of altitude swings it widely.
        const bool ok = std::abs(sun.altitude - row.altitude) <= 0.1 && (azimuthOff <= 0.1 || row.altitude > 89.0) &&
                        sun.azimuth >= 0.0 && sun.azimuth < 360.0;
        if (!ok && ++failures <= 10) {
            ADD_FAILURE() << sun.altitude << " " << sun.azimuth << "\n" << row.line;
        }
    }
    EXPECT_EQ(failures, 0);
}

// A 25-hour day (the end of summer time) that starts half an hour before sunrise holds two risings, and
// one that starts half an hour before sunset two settings: the first rising and the last setting count.
TEST(Sun, LongDaysKeepTheFirstRisingAndTheLastSetting)
{
    const GeoPoint quito{-0.22, -78.51};
    const std::int64_t start = 1782018000;   // 2026-06-21 00:00 in Quito
    const SunDay day = ComputeSunDay(start, start + 86400, quito);
    const std::int64_t early = *day.sunrise.at - 1800, late = *day.sunset.at - 1800;
    EXPECT_NEAR(*ComputeSunDay(early, early + 90000, quito).sunrise.at, *day.sunrise.at, 1);
    EXPECT_NEAR(*ComputeSunDay(late, late + 90000, quito).sunset.at, *day.sunset.at + 86400, 60);
}

// Places and days outside what callers pass (the pole, no length, an end before the start) still answer
// inside the day, with an azimuth in [0, 360).
TEST(Sun, OddInputStaysInsideTheDay)
{
    const std::int64_t start = 1782018000;
    for (const GeoPoint place : {GeoPoint{90.0, 0.0}, GeoPoint{-90.0, 180.0}, GeoPoint{0.0, 0.0}}) {
        for (const std::int64_t end : {start + 86400, start, start - 86400}) {
            const SunDay day = ComputeSunDay(start, end, place);
            const std::int64_t last = std::max(end, start + 1) - 1;
            for (const SunEvent& event : {day.sunrise, day.sunset, day.civilDawn, day.astronomicalDusk}) {
                EXPECT_TRUE(!event.at || (*event.at >= start && *event.at <= last));
            }
            EXPECT_TRUE(day.solarNoon >= start && day.solarNoon <= last);
            const SunPosition sun = SunPositionAt(start, place);
            EXPECT_TRUE(sun.azimuth >= 0.0 && sun.azimuth < 360.0) << sun.azimuth;
        }
    }
}

}   // namespace
