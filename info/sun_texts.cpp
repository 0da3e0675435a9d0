#include "info/sun_texts.h"

#include <charconv>
#include <cstdlib>
#include <string>

namespace {

constexpr int kFieldIds[] = {kSunriseFieldId,      kSunsetFieldId,           kSolarNoonFieldId,
                             kCivilDawnFieldId,    kCivilDuskFieldId,        kNauticalDawnFieldId,
                             kNauticalDuskFieldId, kAstronomicalDawnFieldId, kAstronomicalDuskFieldId,
                             kDayLengthFieldId,    kDayLengthChangeFieldId,  kSunAltitudeFieldId,
                             kSunAzimuthFieldId};

SunReport ReportOf(const char* text)
{
    SunReport report;
    for (std::size_t i = 0; i < report.fields.size(); ++i) {
        report.fields[i] = {kFieldIds[i], text};
    }
    return report;
}

// The message with "%1", "%2", "%3" filled in one pass, so a figure never reads as a later placeholder.
std::string Fill(const std::string& layout, std::initializer_list<std::int64_t> figures)
{
    std::string text;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const std::size_t n = i + 1 < layout.size() ? static_cast<std::size_t>(layout[i + 1] - '1') : 99;
        if (layout[i] == '%' && n < figures.size()) {
            text += std::to_string(figures.begin()[n]);
            ++i;
        } else {
            text += layout[i];
        }
    }
    return text;
}

std::string LengthText(std::int64_t seconds, const MessageSource& messages)
{
    return Fill(messages.GetString(kDayLengthMessage), {seconds / 3600, seconds / 60 % 60, seconds % 60});
}

std::string ChangeText(std::int64_t seconds, const MessageSource& messages)
{
    const std::int64_t size = std::llabs(seconds);
    return (seconds < 0 ? "-" : "+") + Fill(messages.GetString(kDayLengthChangeMessage), {size / 60, size % 60});
}

std::string DegreesText(double degrees)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, degrees, std::chars_format::fixed, 1).ptr) +
           "\u00b0";
}

DateTime WallTimeOf(std::int64_t unixSeconds, const Clock& clock)
{
    const std::optional<SystemTime> local = clock.LocalTimeAt(unixSeconds);
    return local ? DateTime::FromParts(local->year, local->month, local->day, local->hour, local->minute, local->second)
                 : DateTime::Invalid();
}

std::string TimeText(std::int64_t unixSeconds, const Clock& clock, const LocaleFormatter& formatter)
{
    return FormatTime(formatter, WallTimeOf(unixSeconds, clock)).value_or("*");
}

// `belowDegrees`: how far below the horizon the event's altitude lies; 0 for sunrise and sunset.
std::string EventText(const SunEvent& event, int belowDegrees, const Clock& clock, const MessageSource& messages,
                      const LocaleFormatter& formatter)
{
    if (event.at) {
        return TimeText(*event.at, clock, formatter);
    }
    if (event.miss == SunMiss::NeverRises) {
        return messages.GetString(kSunNeverRisesMessage);
    }
    if (belowDegrees == 0) {
        return messages.GetString(kSunNeverSetsMessage);
    }
    return Fill(messages.GetString(kSunNotBelowMessage), {belowDegrees});
}

int BandAt(double altitude)
{
    return altitude >= -0.833 ? kDaylightBand
           : altitude >= -6   ? kCivilBand
           : altitude >= -12  ? kNauticalBand
           : altitude >= -18  ? kAstronomicalBand
                              : kNightBand;
}

// The instant the day of `date` begins on the clock's wall clocks.
std::optional<std::int64_t> DayStart(const DateTime& date, const Clock& clock)
{
    const std::optional<SystemTime> day = date.GetAsSystemTime();
    return day ? clock.UnixTimeAt(SystemTime{day->year, day->month, 0, day->day, 0, 0, 0, 0}) : std::nullopt;
}

}   // namespace

SunReport ComputeSunReport(const DateTime& value, const std::optional<GeoPoint>& place, const Clock& clock,
                           const MessageSource& messages, const LocaleFormatter& formatter)
{
    if (!place) {
        return ReportOf("");
    }
    const std::optional<SystemTime> wall = value.GetAsSystemTime();
    const std::optional<std::int64_t> now = wall ? clock.UnixTimeAt(*wall) : std::nullopt;
    const std::optional<std::int64_t> start = DayStart(value, clock);
    const std::optional<std::int64_t> end = DayStart(value + DateTimeSpan(1.0), clock);
    const std::optional<std::int64_t> before = DayStart(value - DateTimeSpan(1.0), clock);
    if (!now || !start || !end || !before || *end <= *start || *start <= *before) {
        return ReportOf("*");
    }
    const SunDay day = ComputeSunDay(*start, *end, *place);
    const SunDay previous = ComputeSunDay(*before, *start, *place);
    const SunPosition position = SunPositionAt(*now, *place);

    SunReport report = ReportOf("");
    const auto event = [&](const SunEvent& e, int below) { return EventText(e, below, clock, messages, formatter); };
    const std::string texts[] = {
        event(day.sunrise, 0),
        event(day.sunset, 0),
        TimeText(day.solarNoon, clock, formatter),
        event(day.civilDawn, 6),
        event(day.civilDusk, 6),
        event(day.nauticalDawn, 12),
        event(day.nauticalDusk, 12),
        event(day.astronomicalDawn, 18),
        event(day.astronomicalDusk, 18),
        LengthText(day.dayLengthSeconds, messages),
        ChangeText(day.dayLengthSeconds - previous.dayLengthSeconds, messages),
        DegreesText(position.altitude),
        DegreesText(position.azimuth),
    };
    for (std::size_t i = 0; i < report.fields.size(); ++i) {
        report.fields[i].text = texts[i];
    }
    const std::int64_t length = *end - *start;
    report.bands.reserve(kSunSlots);
    for (int slot = 0; slot < kSunSlots; ++slot) {
        const std::int64_t middle = *start + length * (2 * slot + 1) / (2 * kSunSlots);
        report.bands.push_back(BandAt(SunPositionAt(middle, *place).altitude));
    }
    report.moment = static_cast<double>(*now - *start) / static_cast<double>(length);
    return report;
}

DateTime SameInstantOn(const DateTime& value, const Clock& from, const Clock& to)
{
    const std::optional<SystemTime> wall = value.GetAsSystemTime();
    const std::optional<std::int64_t> instant = wall ? from.UnixTimeAt(*wall) : std::nullopt;
    return instant ? WallTimeOf(*instant, to) : DateTime::Invalid();
}
