#pragma once

#include "core/date_time.h"

// A moment written the way tests read best: At(2004, 2, 29, 13, 5, 9).
inline DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return DateTime::FromParts(y, mo, d, h, mi, s);
}
