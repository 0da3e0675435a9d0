#pragma once

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The text one result field shows, addressed by the field's control id.
struct FieldText {
    int controlId = 0;
    std::string text;

    friend bool operator==(const FieldText&, const FieldText&) = default;
};

// A figure's text kept inside the object: digits and a sign, or "*". Results computed in bulk carry
// these so that making one costs no allocation and no copy beyond its characters.
class FigureText {
public:
    static constexpr std::size_t kCapacity = 23;

    FigureText() = default;
    // Longer texts are cut at the capacity; a 64-bit number and its sign fit.
    explicit FigureText(std::string_view text)
        : m_size(static_cast<unsigned char>(text.size() < kCapacity ? text.size() : kCapacity))
    {
        text.copy(m_chars.data(), m_size);
    }

    // The buffer to write up to kCapacity characters into, then Resize to how many were written.
    char* data() { return m_chars.data(); }
    void Resize(std::size_t size) { m_size = static_cast<unsigned char>(size); }

    std::string_view view() const { return {m_chars.data(), m_size}; }
    std::string str() const { return std::string(view()); }

    friend bool operator==(const FigureText& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const FigureText& a, const FigureText& b) { return a.view() == b.view(); }

private:
    // Left unset: only the first m_size characters are ever read, and a result's texts are made in bulk.
    std::array<char, kCapacity> m_chars;
    unsigned char m_size = 0;
};

// A figure in decimal at `at` (room for 20 characters), returning the end. Most figures a page shows
// (months, hours, minutes, ...) are under 100: those are written at once, without to_chars' count of
// digits. The figures stay far from the 64-bit limits.
inline char* WriteFigure(char* at, std::int64_t value)
{
    if (value < 0) {
        *at++ = '-';
        value = -value;
    }
    if (value < 10) {
        *at = static_cast<char>('0' + value);
        return at + 1;
    }
    if (value < 100) {
        at[0] = static_cast<char>('0' + value / 10);
        at[1] = static_cast<char>('0' + value % 10);
        return at + 2;
    }
    return std::to_chars(at, at + 20, value).ptr;
}

// A figure field: its control id and text.
struct FigureField {
    int controlId = 0;
    FigureText text;

    friend bool operator==(const FigureField&, const FigureField&) = default;
};

// The enabled state one control should have.
struct ControlState {
    int controlId = 0;
    bool enabled = false;

    friend bool operator==(const ControlState&, const ControlState&) = default;
};
