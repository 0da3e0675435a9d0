#pragma once

#include <map>
#include <string>

#include "core/messages.h"
#include "settings/default_messages.h"

// The built-in English messages, with single texts replaceable to prove a caller looks them up.
class FakeMessages final : public MessageSource {
public:
    std::string GetString(int messageId) const override
    {
        const auto found = m_overrides.find(messageId);
        return found != m_overrides.end() ? found->second : std::string(DefaultMessage(messageId));
    }
    void Override(int messageId, std::string text) { m_overrides[messageId] = std::move(text); }

private:
    std::map<int, std::string> m_overrides;
};
