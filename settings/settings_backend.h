#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Registry value types, with the registry's numbers.
enum class RegType : std::uint32_t {
    None = 0,
    Sz = 1,
    ExpandSz = 2,
    Binary = 3,
    Dword = 4,
    MultiSz = 7,
};

// One typed value as the registry keeps it: the type and the raw data bytes (a text with its terminating
// zero, a double word as four bytes, least significant first).
struct RegValue {
    std::uint32_t type = static_cast<std::uint32_t>(RegType::None);
    std::string data;

    static RegValue Dword(std::uint32_t value);
    // The text up to its first zero byte, stored with a terminating zero.
    static RegValue Sz(std::string_view text);
    // Each text up to its first zero byte, followed by a zero; the list ends with one more zero. Empty
    // texts are left out, since an empty one would end the list.
    static RegValue MultiSz(const std::vector<std::string>& texts);
    // The texts of a multi-string value; empty for any other type. An empty text ends the list; a last text
    // without its zero still counts.
    std::vector<std::string> Texts() const;

    friend bool operator==(const RegValue&, const RegValue&) = default;
};

// The program's own key of the per-user settings: named, typed values and nothing else. A value written
// anywhere, also by another running copy of the program, is seen by the next read.
class SettingsBackend {
public:
    virtual ~SettingsBackend() = default;
    // The value `name` (matched without regard to ASCII case); empty when it is missing or the key
    // cannot be opened. Creates the key when it does not exist yet.
    virtual std::optional<RegValue> QueryValue(std::string_view name) = 0;
    // Stores the value, creating the key when needed; false when it could not be stored.
    virtual bool SetValue(std::string_view name, const RegValue& value) = 0;
};
