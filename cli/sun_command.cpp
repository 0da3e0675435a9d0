#include "cli/sun_command.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "info/coordinates.h"
#include "info/rule_words.h"
#include "platform/zone_catalog.h"

namespace {

constexpr std::int64_t kDaySeconds = 86'400;

// A time of the day that may not happen; `depth` is 0 for the sunrise and sunset, else the twilight's
// degrees below the horizon.
struct SunEventKey {
    std::string_view key, label;
    SunEvent SunDay::*event;
    int depth;
    bool rising;
};
constexpr SunEventKey kSunEvents[] = {
    {"sunrise", "Sunrise", &SunDay::sunrise, 0, true},
    {"sunset", "Sunset", &SunDay::sunset, 0, false},
    {"civilDawn", "Civil dawn", &SunDay::civilDawn, 6, true},
    {"civilDusk", "Civil dusk", &SunDay::civilDusk, 6, false},
    {"nauticalDawn", "Nautical dawn", &SunDay::nauticalDawn, 12, true},
    {"nauticalDusk", "Nautical dusk", &SunDay::nauticalDusk, 12, false},
    {"astronomicalDawn", "Astronomical dawn", &SunDay::astronomicalDawn, 18, true},
    {"astronomicalDusk", "Astronomical dusk", &SunDay::astronomicalDusk, 18, false},
};
// The sunrise and sunset come before the solar noon, the twilights after it.
constexpr std::size_t kEventsBeforeNoon = 2;

// Why the time does not happen. A missing time without a reason is read from its direction: the sun that
// does not rise (or set) through the altitude that day.
std::string NoteOf(const SunEventKey& key, SunMiss miss, const MessageSource& messages)
{
    if (miss == SunMiss::NeverRises || (miss == SunMiss::None && key.rising)) {
        return messages.GetString(kSunNeverRisesMessage);
    }
    if (key.depth == 0) {
        return messages.GetString(kSunNeverSetsMessage);
    }
    const std::string depth[] = {std::to_string(key.depth)};
    return FillLayout(messages.GetString(kSunNotBelowMessage), depth);
}

// Two decimals, as "-43.12"; never "-0.00".
std::string DegreesText(double degrees)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", degrees);
    return std::string(text) == "-0.00" ? "0.00" : text;
}

// "06:00:30"; "24:00:00" for a day the sun stays up.
std::string DurationText(std::int64_t seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

// The instant MOMENT names: "now" is the present instant itself, whose wall time may be one of a repeated
// hour's two.
// The wall time of an instant in the zone, as "2026-12-21T09:14:48".
std::string WallText(const ZoneModel& zone, std::int64_t unixSeconds)
{
    return std::string(MomentAtWallSeconds(unixSeconds + zone.At(unixSeconds).offsetSeconds).Iso());
}

// An answer's values as the record of its keys, and as text's labelled lines ("Sunrise: 2026-12-21T09:14:48").
class SunAnswer {
public:
    // `line`: the value as its text line shows it, when that differs from `text`.
    void Add(std::string_view key, std::string_view label, std::string text, Kind kind, std::string line = {})
    {
        std::string& kept = m_texts[m_record.Fields().size()];
        kept = std::move(text);
        m_record.Add(key, kept, kind);
        if (!label.empty()) {
            m_lines.emplace_back(label, line.empty() ? kept : std::move(line));
        }
    }
    const Record& Fields() const { return m_record; }
    // Its lines, each with `lineEnd`; without their labels for --data-only.
    std::string Lines(std::string_view lineEnd, bool dataOnly) const
    {
        std::string lines;
        for (const auto& [label, line] : m_lines) {
            lines += (dataOnly ? std::string() : std::string(label) + ": ") + line;
            lines += lineEnd;
        }
        return lines;
    }

private:
    Record m_record;
    std::string m_texts[std::size(kSunEvents) + 5];
    std::vector<std::pair<std::string_view, std::string>> m_lines;
};

// The notes of the times that do not happen: a JSON object, else "sunrise: why; sunset: why".
std::string NotesText(std::span<const std::pair<std::string_view, std::string>> notes, bool json)
{
    std::string text = json ? "{" : "";
    StringSink sink{text};
    for (const auto& [key, note] : notes) {
        if (json) {
            text += text.size() > 1 ? ",\"" : "\"";
            text += key;
            text += "\":";
            AppendJsonString(sink, note);
        } else {
            text += (text.empty() ? "" : "; ") + std::string(key) + ": " + note;
        }
    }
    return json ? text + "}" : text;
}

}   // namespace

void AnswerSunDay(CliSession& session, std::span<const std::string_view> texts)
{
    std::string problem;
    const std::optional<MomentText> read = ReadMomentText(texts[0], session.Services().clock, problem);
    if (!read) {
        session.BadInput("MOMENT " + problem);
        return;
    }
    const ZoneModel& zone = session.AnswerZone();
    const std::int64_t instant = session.InstantOfText(texts[0], *read);
    const std::int64_t wall = instant + zone.At(instant).offsetSeconds;
    if (!MomentAtWallSeconds(wall).value.IsValid()) {
        session.BadInput("MOMENT '" + std::string(texts[0]) + "' is past the year 9999 or before 0100 in the zone");
        return;
    }
    // The local day's bounds from the zone's own midnights, so that 23- and 25-hour days are whole.
    const std::int64_t midnight = wall - ((wall % kDaySeconds) + kDaySeconds) % kDaySeconds;
    const GeoPoint& place = session.SunPlace();
    const SunDay day = ComputeSunDay(zone.InstantOf(midnight), zone.InstantOf(midnight + kDaySeconds), place);
    const SunPosition position = SunPositionAt(instant, place);

    const CliOptions& options = session.Options();
    const bool lines = options.format == OutputFormat::Text && options.fields.empty();
    SunAnswer answer;
    std::vector<std::pair<std::string_view, std::string>> notes;
    for (std::size_t i = 0; i < std::size(kSunEvents); ++i) {
        if (i == kEventsBeforeNoon) {
            answer.Add("solarNoon", "Solar noon", WallText(zone, day.solarNoon), Kind::String);
        }
        const SunEventKey& key = kSunEvents[i];
        const SunEvent& event = day.*key.event;
        if (event.at) {
            answer.Add(key.key, key.label, WallText(zone, *event.at), Kind::String);
            continue;
        }
        notes.emplace_back(key.key, NoteOf(key, event.miss, session.Language()));
        answer.Add(key.key, key.label, {}, Kind::Null, "none (" + notes.back().second + ")");
    }
    const bool json = options.format == OutputFormat::Json;
    answer.Add("notes", {}, NotesText(notes, json), json ? Kind::Object : Kind::String);
    answer.Add("dayLengthSeconds", "Day length", std::to_string(day.dayLengthSeconds), Kind::Number,
               DurationText(day.dayLengthSeconds));
    const std::string altitude = DegreesText(position.altitude);
    std::string azimuth = DegreesText(position.azimuth);
    azimuth = azimuth == "360.00" ? "0.00" : azimuth;
    answer.Add("altitude", "Altitude", altitude, Kind::Number, altitude + "°");
    answer.Add("azimuth", "Azimuth", azimuth, Kind::Number, azimuth + "°");
    if (!lines) {
        session.Write(answer.Fields());
        return;
    }
    session.Out().Append(answer.Lines(session.LineEnd(), options.dataOnly));
    if (session.InBatch()) {
        session.Out().Append(session.LineEnd());
    }
}

std::optional<GeoPoint> ReadSunPlace(CliSession& session)
{
    const CliOptions& options = session.Options();
    if (options.place) {
        std::string problem;
        const std::optional<GeoPoint> place = ReadGeoPoint(*options.place, problem);
        if (!place) {
            session.Refuse("--at: " + problem);
        }
        return place;
    }
    const std::string zone = options.zone ? std::string(*options.zone) : ComputerZoneName(std::getenv("TZ"));
    for (const ZonePlace& known : ZonePlaces()) {
        if (!zone.empty() && known.zone == zone && known.latitude && known.longitude) {
            return GeoPoint{*known.latitude, *known.longitude};
        }
    }
    session.Refuse((zone.empty() ? std::string("the computer's zone") : zone) + " has no place: give --at LAT,LON");
    return std::nullopt;
}
