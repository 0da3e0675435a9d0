#pragma once

#include <string>

// Numbered program messages (0..61) in the current language. Pure code asks for a text at the moment
// of use and caches nothing, so a language change shows at the next lookup.
class MessageSource {
public:
    virtual ~MessageSource() = default;
    // Empty for an id outside 0..61.
    virtual std::string GetString(int messageId) const = 0;
};
