#include "core/clock.h"

DateTime GetNow(const Clock& clock)
{
    DateTime now;
    now.SetDateTime(clock.Now());
    return now;
}

DateTime FromUnixTime(std::int64_t unixSeconds, const Clock& clock)
{
    if (unixSeconds < 0) {
        return DateTime::Invalid();
    }
    const std::optional<SystemTime> local = clock.LocalTimeAt(unixSeconds);
    if (!local) {
        return DateTime::Invalid();
    }
    DateTime value;
    value.SetDateTime(*local);
    return value;
}

DateTime EpochMarker(const Clock& clock)
{
    return FromUnixTime(0, clock);
}
