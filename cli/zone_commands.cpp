#include "cli/zone_commands.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/zone_catalog.h"

namespace {

// "+05:30", and "+00:53:28" for an offset of local mean time.
std::string OffsetText(std::int32_t offsetSeconds)
{
    const std::int32_t size = std::abs(offsetSeconds);
    const auto two = [](std::int32_t value) { return std::string(1, char('0' + value / 10)) + char('0' + value % 10); };
    std::string text = (offsetSeconds < 0 ? "-" : "+") + two(size / 3600) + ":" + two(size / 60 % 60);
    return size % 60 == 0 ? text : text + ":" + two(size % 60);
}

std::string DegreesText(const std::optional<double>& degrees)
{
    if (!degrees) {
        return {};
    }
    // Six decimals keep zone.tab's seconds of arc; trailing zeros say nothing.
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", *degrees);
    std::string trimmed = text;
    trimmed.erase(trimmed.find_last_not_of('0') + 1);
    if (trimmed.back() == '.') {
        trimmed.pop_back();
    }
    return trimmed;
}

// The present instant; the answers of one run share it.
std::int64_t UnixNow(const CliSession& session)
{
    return session.Services().clock.UnixNow().value_or(0);
}

struct PlaceNow {
    const ZonePlace* place;
    std::optional<ZoneModel> zone;   // empty when its file cannot be read
};

void WritePlaceRecord(CliSession& session, const PlaceNow& entry, std::int64_t now)
{
    const ZonePlace& place = *entry.place;
    const std::optional<ZoneModel::LocalTime> local = entry.zone ? std::optional(entry.zone->At(now)) : std::nullopt;
    const std::string latitude = DegreesText(place.latitude), longitude = DegreesText(place.longitude);
    const std::string offset = local ? std::to_string(local->offsetSeconds) : std::string();
    const Kind unlessUtc = place.countryCode.empty() ? Kind::Null : Kind::String;
    Record record;
    record.Add("zone", place.zone);
    record.Add("country", place.country, unlessUtc);
    record.Add("countryCode", place.countryCode, unlessUtc);
    record.Add("city", place.city);
    record.Add("latitude", latitude, place.latitude ? Kind::Number : Kind::Null);
    record.Add("longitude", longitude, place.longitude ? Kind::Number : Kind::Null);
    record.Add("offsetSeconds", offset, local ? Kind::Number : Kind::Null);
    record.Add("abbreviation", local ? local->abbreviation : std::string_view(), local ? Kind::String : Kind::Null);
    session.Write(record);
}

// "Australia/Sydney  Sydney, Australia  +11:00 AEDT", the columns aligned over the places shown.
void WritePlaceLines(CliSession& session, std::span<const PlaceNow> entries, std::int64_t now)
{
    const auto placeName = [](const ZonePlace& place) {
        return place.country.empty() ? place.city : place.city + ", " + place.country;
    };
    std::size_t zoneWidth = 0, nameWidth = 0;
    for (const PlaceNow& entry : entries) {
        zoneWidth = std::max(zoneWidth, entry.place->zone.size());
        nameWidth = std::max(nameWidth, placeName(*entry.place).size());
    }
    for (const PlaceNow& entry : entries) {
        std::string line = entry.place->zone;
        line.resize(zoneWidth + 2, ' ');
        line += placeName(*entry.place);
        if (entry.zone) {
            const ZoneModel::LocalTime local = entry.zone->At(now);
            line.resize(zoneWidth + nameWidth + 4, ' ');
            line += OffsetText(local.offsetSeconds) + " " + std::string(local.abbreviation);
        }
        session.Out().Append(line);
        session.Out().Append(session.LineEnd());
    }
}

// The wall time of `unixSeconds` in `zone`; empty past the years the command line shows.
std::optional<Moment> WallMoment(const ZoneModel& zone, std::int64_t unixSeconds)
{
    const Moment wall = MomentAtWallSeconds(unixSeconds + zone.At(unixSeconds).offsetSeconds);
    return wall.value.IsValid() ? std::optional(wall) : std::nullopt;
}

struct ZoneReading {
    std::string_view name;
    Moment wall;
    ZoneModel::LocalTime local;
};

void WriteConversionJson(CliSession& session, std::span<const ZoneReading> readings, std::int64_t unixSeconds)
{
    OutputBuffer& out = session.Out();
    AnswerLine line(out, true);
    session.WriteLineKey(line);
    line.Value("instant", std::string(MomentAtWallSeconds(unixSeconds).Iso()) + "Z");
    line.Number("unixSeconds", unixSeconds);
    out.Append(std::string_view(",\"zones\":["));
    for (std::size_t i = 0; i < readings.size(); ++i) {
        out.Append(std::string_view(i == 0 ? "" : ","));
        AnswerLine zone(out, true);
        zone.Value("zone", readings[i].name);
        zone.Moment("wallTime", readings[i].wall);
        zone.Number("offsetSeconds", readings[i].local.offsetSeconds);
        zone.Value("abbreviation", readings[i].local.abbreviation);
        zone.Value("daylight", readings[i].local.isDst ? "true" : "false", Kind::Bool);
        zone.End({});
    }
    out.Append(']');
    session.WriteNoError(line);
    line.End(session.LineEnd());
}

void WriteConversionRows(CliSession& session, std::span<const ZoneReading> readings)
{
    for (const ZoneReading& reading : readings) {
        const std::string offset = std::to_string(reading.local.offsetSeconds);
        if (session.Options().format == OutputFormat::Text) {
            std::string text = std::string(reading.name) + "  " + std::string(reading.wall.Iso()) + "  " +
                               OffsetText(reading.local.offsetSeconds) + " " + std::string(reading.local.abbreviation);
            session.Out().Append(reading.local.isDst ? text + " (daylight saving)" : text);
            session.Out().Append(session.LineEnd());
            continue;
        }
        Record record;
        record.Add("zone", reading.name);
        record.Add("wallTime", reading.wall.Iso());
        record.Add("offsetSeconds", offset, Kind::Number);
        record.Add("abbreviation", reading.local.abbreviation);
        record.Add("daylight", reading.local.isDst ? "true" : "false", Kind::Bool);
        session.Write(record);
    }
}

}   // namespace

void ListZonePlaces(CliSession& session)
{
    const CliOptions& options = session.Options();
    const std::vector<ZonePlace>& places = ZonePlaces();
    const std::string_view search = options.operands.empty() ? std::string_view() : options.operands[0];
    std::vector<PlaceNow> entries;
    std::string problem;
    for (const ZonePlace* place : FindZonePlaces(places, search)) {
        // UTC is no file of every zone folder.
        entries.push_back({place, place->countryCode.empty() ? ZoneModel::FromTzString("UTC0")
                                                             : session.Services().loadZone(place->zone, problem)});
    }
    const std::int64_t now = UnixNow(session);
    if (options.header) {
        AnswerLine header(session.Out(), false);
        for (const AnswerKey& key : kZonesKeys) {
            header.Value(key.name, key.name);
        }
        header.Value(kErrorKey, kErrorKey);
        header.End(session.LineEnd());
    }
    if (session.FromPages()) {
        WritePlaceLines(session, entries, now);
        return;
    }
    for (const PlaceNow& entry : entries) {
        WritePlaceRecord(session, entry, now);
    }
}

void AnswerConversion(CliSession& session, std::span<const std::string_view> texts)
{
    std::string problem;
    const std::optional<MomentText> read = ReadMomentText(texts[0], session.Services().clock, problem);
    if (!read) {
        session.BadInput("MOMENT " + problem);
        return;
    }
    const ZoneModel& from = session.AnswerZone();
    const std::int64_t unixSeconds = session.InstantOfText(texts[0], *read);
    std::vector<ZoneReading> readings;
    const auto add = [&](std::string_view name, const ZoneModel& zone) {
        const std::optional<Moment> wall = WallMoment(zone, unixSeconds);
        if (wall) {
            readings.push_back({name, *wall, zone.At(unixSeconds)});
        }
        return wall.has_value();
    };
    const std::string fromName = session.AnswerZoneName();
    bool shown = add(fromName, from);
    for (std::size_t i = 0; i < session.ToZones().size() && shown; ++i) {
        shown = add(session.Options().toZones[i], session.ToZones()[i]);
    }
    if (!shown) {
        session.BadInput("MOMENT '" + std::string(texts[0]) + "' is past the year 9999 or before 0100 in a zone");
        return;
    }
    if (session.Options().format == OutputFormat::Json) {
        WriteConversionJson(session, readings, unixSeconds);
        return;
    }
    WriteConversionRows(session, readings);
}
