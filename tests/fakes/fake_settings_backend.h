#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

#include "settings/settings_backend.h"

// The settings key in memory. `broken` makes the key impossible to open: reads find nothing and writes
// fail, as with a registry key that cannot be created.
class FakeSettingsBackend final : public SettingsBackend {
public:
    std::optional<RegValue> QueryValue(std::string_view name) override
    {
        const auto found = m_values.find(Lower(name));
        return broken || found == m_values.end() ? std::nullopt : std::optional<RegValue>(found->second);
    }
    bool SetValue(std::string_view name, const RegValue& value) override
    {
        return !broken && (m_values[Lower(name)] = value, true);
    }
    std::size_t Count() const { return m_values.size(); }

    bool broken = false;

private:
    static std::string Lower(std::string_view name)
    {
        std::string lower(name);
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        return lower;
    }

    std::map<std::string, RegValue> m_values;
};
