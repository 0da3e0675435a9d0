#include "core/count_text.h"

#include <limits>

#include "core/ascii.h"

namespace {

// The count at `pos`, saturated at the limits of the type; see TakeCount.
template <typename Integer>
std::optional<Integer> TakeSaturating(std::string_view text, std::size_t& pos)
{
    std::size_t i = pos;
    while (i < text.size() && IsAsciiSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || text[i] < '0' || text[i] > '9') {
        return std::nullopt;
    }
    // Accumulate toward the sign so the most negative value is reachable without overflow; a saturated
    // value still takes the rest of the digits.
    constexpr Integer kMax = std::numeric_limits<Integer>::max();
    constexpr Integer kMin = std::numeric_limits<Integer>::min();
    Integer value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        if (negative) {
            value = value < (kMin + digit) / 10 ? kMin : static_cast<Integer>(value * 10 - digit);
        } else {
            value = value > (kMax - digit) / 10 ? kMax : static_cast<Integer>(value * 10 + digit);
        }
    }
    pos = i;
    return value;
}

template <typename Integer>
Integer ReadSaturating(std::string_view text)
{
    std::size_t pos = 0;
    return TakeSaturating<Integer>(text, pos).value_or(0);
}

}   // namespace

std::int32_t ReadCount(std::string_view text)
{
    return ReadSaturating<std::int32_t>(text);
}

std::int64_t ReadCount64(std::string_view text)
{
    return ReadSaturating<std::int64_t>(text);
}

std::optional<std::int32_t> TakeCount(std::string_view text, std::size_t& pos)
{
    return TakeSaturating<std::int32_t>(text, pos);
}
