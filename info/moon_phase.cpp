#include "info/moon_phase.h"

#include <charconv>
#include <string>

#include "core/calendar.h"
#include "core/civil.h"
#include "info/astro_moon.h"

namespace {

using civil::kSecondsPerDay;

// S / 2 is 1275720.5 s: a new moon lies this many whole seconds after a full moon, plus half a second.
constexpr std::int64_t kHalfPeriodFloor = kSynodicSeconds / 2;

// The reference full moon, 1996-01-05 16:15:00, in seconds after 1899-12-30 00:00:00.
constexpr std::int64_t kReferenceSeconds =
    (civil::DaysFromCivil(1996, 1, 5) - civil::kOleEpochFromUnixDays) * kSecondsPerDay + 16 * 3600 + 15 * 60;
const DateTime kReference = DateTime::FromParts(1996, 1, 5, 16, 15, 0);

// The moment `seconds` after 1899-12-30 00:00:00, built from its parts so that it is exactly the value a
// picker would give; invalid outside the range.
DateTime FromSeconds(std::int64_t seconds)
{
    const std::int64_t oleDay = civil::FloorDiv(seconds, kSecondsPerDay);
    const auto secondOfDay = static_cast<int>(seconds - oleDay * kSecondsPerDay);
    const civil::YearMonthDay date = civil::CivilFromDays(oleDay + civil::kOleEpochFromUnixDays);
    return DateTime::FromParts(date.year, date.month, date.day, secondOfDay / 3600, secondOfDay / 60 % 60,
                               secondOfDay % 60);
}

DateTime LocalMoment(std::int64_t utSeconds, const Clock& clock)
{
    const std::optional<SystemTime> local = clock.LocalTimeAt(utSeconds);
    return local ? DateTime::FromParts(local->year, local->month, local->day, local->hour, local->minute, local->second)
                 : DateTime::Invalid();
}

std::string MomentText(const DateTime& moment, const LocaleFormatter& formatter)
{
    return FormatLongDate(formatter, moment).value_or("") + " " + FormatTime(formatter, moment).value_or("");
}

}   // namespace

std::optional<MoonPhase> ComputeMoonPhase(const DateTime& value)
{
    if (!value.IsValid()) {
        return std::nullopt;
    }
    const std::int64_t d = SpanToSeconds(value - kReference);
    const std::int64_t t = kReferenceSeconds + d;
    MoonPhase phase;
    phase.position = d >= 0 ? d % kSynodicSeconds : kSynodicSeconds - (-d) % kSynodicSeconds;
    phase.fraction = static_cast<double>(phase.position) / static_cast<double>(kSynodicSeconds);
    const int index = static_cast<int>(kMoonPictureCount * (200.0 * phase.fraction) * 0.005);
    phase.pictureIndex = index < 0 ? 0 : (index > kMoonPictureCount - 1 ? kMoonPictureCount - 1 : index);
    double f = 200.0 * phase.fraction;
    if (f > 100.0) {
        f = 200.0 - f;
    }
    phase.percent = 100.0 - f;

    const std::int64_t previousFull = t - phase.position;
    phase.previousFull = FromSeconds(previousFull);
    phase.nextFull = FromSeconds(previousFull + kSynodicSeconds);
    // T - (R - S/2) before the half period, T - (R + S/2) within it; the half second rounds up.
    const std::int64_t previousNew =
        phase.position > kHalfPeriodFloor ? previousFull + kHalfPeriodFloor + 1 : previousFull - kHalfPeriodFloor;
    phase.previousNew = FromSeconds(previousNew);
    phase.nextNew = FromSeconds(previousNew + kSynodicSeconds);
    return phase;
}

std::optional<MoonPhase> ComputeAstronomicalMoonPhase(const DateTime& value, const Clock& clock)
{
    const std::optional<SystemTime> local = value.GetAsSystemTime();
    const std::optional<std::int64_t> ut = local ? clock.UnixTimeAt(*local) : std::nullopt;
    const std::optional<AstroMoon> moon = ut ? AstroMoonAt(*ut) : std::nullopt;
    if (!moon) {
        return std::nullopt;
    }
    MoonPhase phase;
    phase.position = *ut - moon->previousFull;
    phase.fraction = moon->lunationFraction;
    phase.percent = moon->illuminatedPercent;
    phase.pictureIndex = moon->pictureIndex;
    phase.previousFull = LocalMoment(moon->previousFull, clock);
    phase.nextFull = LocalMoment(moon->nextFull, clock);
    phase.previousNew = LocalMoment(moon->previousNew, clock);
    phase.nextNew = LocalMoment(moon->nextNew, clock);
    return phase;
}

MoonTexts MoonFieldTexts(const std::optional<MoonPhase>& phase, const LocaleFormatter& formatter)
{
    MoonTexts texts = {FieldText{kMoonPhaseFieldId, "*"}, FieldText{kPreviousFullFieldId, "*"},
                       FieldText{kNextFullFieldId, "*"}, FieldText{kPreviousNewFieldId, "*"},
                       FieldText{kNextNewFieldId, "*"}};
    if (!phase) {
        return texts;
    }
    // Rounded as printf's "%0.1f" rounds.
    char percent[32];
    char* end = std::to_chars(percent, percent + sizeof percent - 1, phase->percent, std::chars_format::fixed, 1).ptr;
    *end++ = '%';
    texts[0].text.assign(percent, end);
    texts[1].text = MomentText(phase->previousFull, formatter);
    texts[2].text = MomentText(phase->nextFull, formatter);
    texts[3].text = MomentText(phase->previousNew, formatter);
    texts[4].text = MomentText(phase->nextNew, formatter);
    return texts;
}
