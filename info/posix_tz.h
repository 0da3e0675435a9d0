#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "info/zone_rules.h"

// One change date of a POSIX TZ rule.
struct TzChange {
    enum class Form {
        MonthWeekDay,   // Mm.w.d: weekday d (0 = Sunday) of week w (1..4, 5 = last) of month m
        JulianNoLeap,   // Jn: day n in 1..365, February 29 never counted
        ZeroBased,      // n: day n in 0..365, February 29 counted
    };
    Form form = Form::MonthWeekDay;
    int month = 0;
    int week = 0;
    int weekday = 0;
    int day = 0;              // Jn and n forms
    int timeSeconds = 7200;   // local time of the change; -167 h .. 167 h
};

struct DstRule {
    TzChange start;   // to daylight time, in standard time
    TzChange end;     // back to standard time, in daylight time
};

struct PosixTzRules {
    std::string stdName, dstName;   // dstName empty: the zone keeps no daylight time
    int stdOffsetSeconds = 0;       // east of UTC
    int dstOffsetSeconds = 0;       // east of UTC; one hour more than standard unless given
    std::optional<DstRule> dst;     // empty: no change dates given
};

// The POSIX TZ string as found in TZ or in a TZif footer: "CET-1CEST,M3.5.0,M10.5.0/3", "<+0330>-3:30".
// Empty when `text` is not such a string (a leading ':' names a file and is not accepted here).
std::optional<PosixTzRules> ParsePosixTz(std::string_view text);

// The rules as the zone record: the base bias, the abbreviations as names, and the change rules in
// day-in-month form. The rules are left empty (no daylight saving) when the changes are not in the
// Mm.w.d form, a change time lies outside 0..24 hours, an offset is not whole minutes, or a daylight
// name comes without change dates. A daylight offset behind the standard one (negative daylight saving)
// is turned round, so that standard time is always the smaller offset. Empty when the standard offset is
// not whole minutes.
// The state is Unknown; only the platform knows what is in force now.
std::optional<ZoneRules> ZoneFromPosixTz(const PosixTzRules& rules);

// ParsePosixTz followed by ZoneFromPosixTz.
std::optional<ZoneRules> ZoneFromTzString(std::string_view text);
