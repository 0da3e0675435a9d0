#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/locale_format.h"
#include "core/messages.h"
#include "info/posix_tz.h"

// `layout` with each "%1".."%9" replaced by that piece; a mark beyond the pieces stays as it is.
std::string FillLayout(std::string_view layout, std::span<const std::string> pieces);

// A change date of a TZ string in words, at the wall time in force before the change: "02:00, March 1"
// (Jn), "02:00, day 60 of the year" (n, day 0 being the first), "02:00, the Friday after the fourth
// Thursday of March" (Mm.w.d with a time beyond the day: the days it runs over move the weekday). Weekday
// and month names are the locale's; a name it cannot give is an empty piece. An Mm.w.d change within
// 0..24 h reads as RuleText reads it.
std::string RuleWords(const TzChange& change, const MessageSource& messages, const LocaleFormatter& formatter);

// The TZ string's change into daylight time and the one back when the zone record cannot hold them (a Jn
// or n day, a change time outside 0..24 h), turned round for negative daylight saving as ZoneFromPosixTz
// turns them. Empty when the record holds them or the rules keep no daylight time.
std::optional<DstRule> ChangesBeyondRecord(const PosixTzRules& rules);
