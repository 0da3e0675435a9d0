#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/civil.h"

// The span in which holidays are kept, in days from 1970-01-01: the range of dates Chronel computes with.
inline constexpr std::int64_t kFirstHolidayDay = civil::DaysFromCivil(1754, 1, 1);
inline constexpr std::int64_t kLastHolidayDay = civil::DaysFromCivil(9998, 12, 31);
// An event repeating more often than this is taken for a hostile one, and its file is refused.
inline constexpr std::int64_t kMaxEventOccurrences = 100000;

// Why a calendar is refused, in the words of the reader's answer (holidayreader/main.cpp).
inline constexpr char kNotCalendarCode[] = "format";
inline constexpr char kRepeatsCode[] = "repeats";

struct HolidayCalendar {
    bool ok = false;
    std::string reason;               // kNotCalendarCode or kRepeatsCode; empty when ok
    std::vector<std::int64_t> days;   // sorted, unique, within kFirstHolidayDay..kLastHolidayDay
};

// The holidays of an iCalendar file's bytes: every day covered by an all-day event (DTSTART with
// VALUE=DATE; DTEND exclusive, else DURATION, else one day), with its RRULE, RDATE and EXDATE recurrences;
// an instance with a RECURRENCE-ID replaces the master's one (moved, cancelled or given a time of day),
// with RANGE=THISANDFUTURE every later one as well (moved by its shift, with its length, or gone).
// Events with a time of day and cancelled events give none. Rules run on past the year where libical's
// iterator stops by repeating 400 years of them, as the Gregorian calendar does. Not ok, with the
// reason, when the bytes are not an iCalendar file (kNotCalendarCode) or an event has more than
// kMaxEventOccurrences (kRepeatsCode).
HolidayCalendar ReadHolidayCalendar(std::string_view icsBytes);
