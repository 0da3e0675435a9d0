#pragma once

#include "core/date_time.h"

// A moment written the way tests read best: At(2004, 2, 29, 13, 5, 9).
inline DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return DateTime::FromParts(y, mo, d, h, mi, s);
}

// The moment a record names, its day of week and milliseconds ignored.
inline DateTime At(const SystemTime& t)
{
    return At(t.year, t.month, t.day, t.hour, t.minute, t.second);
}
