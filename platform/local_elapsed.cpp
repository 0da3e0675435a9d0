#include "platform/local_elapsed.h"

#include <ctime>

#include "core/civil.h"
#include "platform/system_clock.h"

namespace {

bool ShowsWallTime(std::time_t instant, const DateTime::Parts& wall)
{
    std::tm local{};
    return localtime_r(&instant, &local) != nullptr && local.tm_year == wall.year - 1900 &&
           local.tm_mon == wall.month - 1 && local.tm_mday == wall.day && local.tm_hour == wall.hour &&
           local.tm_min == wall.minute && local.tm_sec == wall.second;
}

// The wall time as a count of seconds, as if it were UTC.
std::int64_t WallSeconds(const DateTime::Parts& wall)
{
    return civil::DaysFromCivil(wall.year, static_cast<unsigned>(wall.month), static_cast<unsigned>(wall.day)) *
               civil::kSecondsPerDay +
           wall.hour * 3600 + wall.minute * 60 + wall.second;
}

// tm_isdst of the offset `offset` near `instant`: a skipped wall time is read by the offset of one side
// of the change, which the instant itself or one a day before or after it shows.
int DaylightOfOffset(std::int64_t instant, std::int64_t offset)
{
    for (const std::int64_t near : {instant, instant - civil::kSecondsPerDay, instant + civil::kSecondsPerDay}) {
        const auto at = static_cast<std::time_t>(near);
        std::tm local{};
        if (localtime_r(&at, &local) != nullptr && local.tm_gmtoff == offset) {
            return local.tm_isdst > 0 ? 1 : local.tm_isdst;
        }
    }
    return -1;
}

// The Unix instant a wall time (`value`, taken apart as `wall`) names, as ElapsedBetweenWallTimes reads it.
std::optional<std::int64_t> UnixTimeOf(const DateTime& value, const DateTime::Parts& wall)
{
    // With tm_isdst = -1 mktime may take either instance of a repeated wall time; the earlier one is the
    // smaller of the standard and the daylight reading that really shows this wall time.
    std::optional<std::time_t> earliest;
    for (const int isDst : {0, 1}) {
        std::tm fields = ToTm(wall, isDst);
        const std::time_t instant = std::mktime(&fields);
        if (ShowsWallTime(instant, wall) && (!earliest || instant < *earliest)) {
            earliest = instant;
        }
    }
    if (earliest) {
        return static_cast<std::int64_t>(*earliest);
    }
    // No instant shows it: the clocks skip it, and mktime's own reading decides.
    const std::optional<SystemTime> fields = value.GetAsSystemTime();
    return fields ? LocalFieldsToUnixSeconds(*fields) : std::nullopt;
}

}   // namespace

std::optional<LocalElapsed> ElapsedBetweenWallTimes(const DateTime& from, const DateTime& to)
{
    tzset();
    const auto fromParts = from.GetParts();
    const auto toParts = to.GetParts();
    if (daylight == 0 || !fromParts || !toParts) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> fromInstant = UnixTimeOf(from, *fromParts);
    const std::optional<std::int64_t> toInstant = UnixTimeOf(to, *toParts);
    if (!fromInstant || !toInstant) {
        return std::nullopt;
    }
    const std::int64_t seconds = *toInstant - *fromInstant;
    const std::int64_t fromOffset = WallSeconds(*fromParts) - *fromInstant;
    const std::int64_t toOffset = WallSeconds(*toParts) - *toInstant;
    // Equal offsets leave the real time equal to the wall-clock count, and only then; the daylight state
    // matters only for a line that is shown.
    const bool offsetChanged = fromOffset != toOffset;
    return LocalElapsed{
        seconds, offsetChanged,
        offsetChanged && DaylightOfOffset(*fromInstant, fromOffset) != DaylightOfOffset(*toInstant, toOffset)};
}
