#pragma once

#include <array>
#include <optional>
#include <vector>

#include "core/clock.h"
#include "core/date_time.h"
#include "core/field_text.h"
#include "core/locale_format.h"
#include "core/messages.h"
#include "info/sun.h"

// The Sun sub-page's fields, by control id.
inline constexpr int kSunriseFieldId = 1581;
inline constexpr int kSunsetFieldId = 1582;
inline constexpr int kSolarNoonFieldId = 1583;
inline constexpr int kCivilDawnFieldId = 1584;
inline constexpr int kCivilDuskFieldId = 1585;
inline constexpr int kNauticalDawnFieldId = 1586;
inline constexpr int kNauticalDuskFieldId = 1587;
inline constexpr int kAstronomicalDawnFieldId = 1588;
inline constexpr int kAstronomicalDuskFieldId = 1589;
inline constexpr int kDayLengthFieldId = 1590;
inline constexpr int kDayLengthChangeFieldId = 1591;
inline constexpr int kSunAltitudeFieldId = 1592;
inline constexpr int kSunAzimuthFieldId = 1593;

// How high the sun stands, darkest first: the bands of the day's drawing.
enum SunBand { kNightBand, kAstronomicalBand, kNauticalBand, kCivilBand, kDaylightBand };
// The drawing's slots: one for every five minutes of a 24-hour day.
inline constexpr int kSunSlots = 288;

struct SunReport {
    // Sunrise, sunset, solar noon, the three dawns and dusks, day length ("8 h 5 min 2 s"), its change from
    // the day before ("+2 min 13 s"), altitude and azimuth ("-7.4°"); the order the page shows them.
    std::array<FieldText, 13> fields;
    // The band of each slot of the day, from its start to its end; empty when the fields are empty.
    std::vector<int> bands;
    // Where the value falls in the day, 0..1.
    double moment = 0;
};

// The sun at `place` on the value's day, in the wall time of `clock`'s zone. A time that does not happen
// reads as the note of messages kSunNeverRisesMessage..kSunNotBelowMessage. Every field is empty without
// a place; "*" for an invalid value or one the clock cannot convert.
SunReport ComputeSunReport(const DateTime& value, const std::optional<GeoPoint>& place, const Clock& clock,
                           const MessageSource& messages, const LocaleFormatter& formatter);

// The value, a wall time on `from`'s clocks, as the same instant on `to`'s; invalid when either clock
// cannot convert it.
DateTime SameInstantOn(const DateTime& value, const Clock& from, const Clock& to);
