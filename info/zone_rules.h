#pragma once

#include <string>

// Which time the computer keeps now. Unknown is what the platform reports for a zone without daylight
// saving rules; callers treat it like Standard.
enum class ZoneState { Unknown, Standard, Daylight };

// When a zone changes between standard and daylight time, year after year: the `weekOfMonth`-th
// `weekday` of `month`, at a time of day on the wall clock in force before the change.
// An all-zero rule is no rule.
struct ChangeRule {
    int month = 0;         // [1, 12]
    int weekday = 0;       // 0 = Sunday ... 6 = Saturday
    int weekOfMonth = 0;   // 1..4 the first to the fourth such weekday, 5 the last
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const ChangeRule&, const ChangeRule&) = default;
};

// The computer's zone: its base offset, its two names and its daylight saving changes.
struct ZoneRules {
    int bias = 0;   // minutes; UTC = local time + bias
    std::string standardName;
    std::string daylightName;
    ChangeRule toDaylight;   // the change from standard to daylight time
    ChangeRule toStandard;   // the change from daylight back to standard time
    ZoneState state = ZoneState::Unknown;

    friend bool operator==(const ZoneRules&, const ZoneRules&) = default;
};
