#pragma once

#include <algorithm>
#include <string_view>

// Text helpers that treat only ASCII letters and blanks specially, so that UTF-8 and other bytes pass
// through untouched.

constexpr char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// For a char or an unsigned char: bytes of 0x80 and above are neither.
template <typename Byte>
constexpr bool IsAsciiSpace(Byte c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

template <typename Byte>
constexpr bool IsAsciiAlnum(Byte c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Equal when they differ at most in the case of ASCII letters.
constexpr bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// `text` without any of `characters` at either end.
constexpr std::string_view TrimAny(std::string_view text, std::string_view characters)
{
    const std::size_t first = text.find_first_not_of(characters);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(characters) - first + 1);
}
