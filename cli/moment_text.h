#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/clock.h"
#include "core/date_time.h"

// The forms a moment may take on the command line, for messages.
inline constexpr std::string_view kMomentForms = "YYYY-MM-DD, YYYY-MM-DDTHH:MM:SS (or a blank for the T), now or today";

// A moment as the command line read it, with its text in ISO 8601 ("2004-03-01T13:05:09").
struct Moment {
    DateTime value;
    std::array<char, 19> iso{};

    std::string_view Iso() const { return {iso.data(), iso.size()}; }
};

// "YYYY-MM-DD" (at midnight), "YYYY-MM-DDTHH:MM:SS" or the same with a blank for the T, "now", or "today"
// (today at midnight); the clock is read only for the last two. Empty for any other text, for a day or time
// the calendar does not have, a year outside 0100..9999, and a clock outside the range. Allocates nothing,
// as a batch reads millions of them.
std::optional<Moment> ParseMoment(std::string_view text, const Clock& clock);

// The ISO 8601 text of a valid value.
Moment MomentOf(const DateTime& value);
