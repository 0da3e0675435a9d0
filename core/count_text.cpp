#include "core/count_text.h"

#include <limits>

namespace {

// The count of `text`, saturated at the limits of the type.
template <typename Integer>
Integer ReadSaturating(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                               text[i] == '\v' || text[i] == '\f')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate toward the sign so the most negative value is reachable without overflow.
    constexpr Integer kMax = std::numeric_limits<Integer>::max();
    constexpr Integer kMin = std::numeric_limits<Integer>::min();
    Integer value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        if (negative) {
            if (value < (kMin + digit) / 10) {
                return kMin;
            }
            value = static_cast<Integer>(value * 10 - digit);
        } else {
            if (value > (kMax - digit) / 10) {
                return kMax;
            }
            value = static_cast<Integer>(value * 10 + digit);
        }
    }
    return value;
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
