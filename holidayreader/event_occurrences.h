#pragma once

#include <libical/ical.h>

#include <cstdint>
#include <optional>
#include <vector>

// The day of a date from libical, from 1970-01-01; empty for a null or impossible date.
std::optional<std::int64_t> DayOfIcalTime(const icaltimetype& time);

// The first days of the occurrences of `event`, which starts on `startDay`: that day, its RRULE and RDATE
// days, less its EXDATE days, those from a year before kFirstHolidayDay (a stretch may reach into the span) to
// kLastHolidayDay only, sorted and unique.
// Empty when the event has more than kMaxEventOccurrences occurrences.
std::optional<std::vector<std::int64_t>> EventStartDays(icalcomponent* event, std::int64_t startDay);
