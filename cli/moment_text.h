#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/date_time.h"

// The forms a moment may take on the command line, for messages.
inline constexpr std::string_view kMomentForms =
    "YYYY-MM-DD, YYYY-MM-DDTHH:MM[:SS] (or a blank for the T) with an optional Z or +HH:MM, @SECONDS, now or today";

// A moment as the command line read it, with its text in ISO 8601 ("2004-03-01T13:05:09").
struct Moment {
    DateTime value;
    std::array<char, 19> iso{};

    std::string_view Iso() const { return {iso.data(), iso.size()}; }
};

// The ISO 8601 text of a valid value.
Moment MomentOf(const DateTime& value);
// The moment of a wall time given as seconds from 1970-01-01T00:00:00 on the clocks; invalid outside the
// years 0100..9999.
Moment MomentAtWallSeconds(std::int64_t wallSeconds);
// The other way: a valid value as seconds from 1970-01-01T00:00:00 on the clocks.
std::int64_t WallSecondsOf(const DateTime& value);

// What a moment's text names: a wall time, or an instant (given as @SECONDS or with Z / ±HH:MM) that the
// caller shows as wall time in the zone in force.
struct MomentText {
    std::optional<Moment> wall;     // set for a wall time
    std::int64_t unixSeconds = 0;   // the instant, when `wall` is empty
};

// Reads "YYYY-MM-DD" (at midnight), "YYYY-MM-DDTHH:MM:SS" or the same with a blank for the T, "now" or
// "today" (today at midnight; the clock is read only for these two), and also "YYYY-MM-DDTHH:MM" (seconds 00), a time
// followed by "Z" or an offset east of UTC ("+HH:MM", "+HHMM" or "+HH", up to 23:59 either way) naming an instant, and
// "@SECONDS" (Unix time, optionally signed). A date alone takes no offset; fractions of a second and leap seconds are
// refused. Wall times keep the years 0100..9999; an instant must lie within 0100-01-01T00:00:00Z ..
// 9999-12-31T23:59:59Z. Empty, with `problem` set to one line naming the part that is wrong (quoting at most
// about 60 bytes of the text), when the text names no moment. Allocates nothing on success.
std::optional<MomentText> ReadMomentText(std::string_view text, const Clock& clock, std::string& problem);
