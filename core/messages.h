#pragma once

#include <string>

// Numbered program messages (0..98) in the current language. Pure code asks for a text at the moment
// of use and caches nothing, so a language change shows at the next lookup.
// The tooltip of a Time Info button whose moment lies outside the pickers' range.
inline constexpr int kOutsideTimeInfoMessage = 62;
// The occurrence word of a daylight-saving rule for one weekday, kOccurrenceByWeekdayMessage + 7 *
// (occurrence - 1) + weekday, for languages whose word agrees with the weekday (optional, empty in English);
// and the rule's layout ("%1, %2 %3, %4": time, occurrence, weekday, month).
inline constexpr int kOccurrenceByWeekdayMessage = 63;
inline constexpr int kRuleLayoutMessage = 98;

class MessageSource {
public:
    virtual ~MessageSource() = default;
    // Empty for an id outside 0..98.
    virtual std::string GetString(int messageId) const = 0;
};
