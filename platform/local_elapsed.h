#pragma once

#include <cstdint>
#include <optional>

#include "core/date_time.h"
#include "info/zone_source.h"

// The real seconds from one local wall time to another in the zone the C library keeps (TZ, read again at
// every call, else /etc/localtime) by its whole history of changes; whether the two are read with
// different UTC offsets; and whether those offsets differ in daylight saving (tm_isdst), not only in
// amount (local mean time to a standard time, a new standard offset). A wall time the clocks pass twice
// (clocks going back) is its first instance; one the clocks skip (clocks going forward) reads as mktime
// reads it with tm_isdst = -1, which in glibc is mostly by the offset in force before the change (Berlin's
// skipped 02:30 is 03:30 summer time, read by winter's offset), but by the new one where the zone calls its
// winter time daylight saving (Dublin). Empty for a zone that keeps no daylight saving now (the C
// library's `daylight` is 0: UTC, a fixed offset, a zone it cannot read) and when either wall time is
// invalid or cannot be converted.
std::optional<LocalElapsed> ElapsedBetweenWallTimes(const DateTime& from, const DateTime& to);
