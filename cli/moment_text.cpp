#include "cli/moment_text.h"

#include <cstring>

namespace {

// The value of `count` digits at `at`; -1 when any of them is not a digit. Inline with a fixed count, so
// that a batch's millions of moments cost no loop.
template <std::size_t count>
inline int Digits(std::string_view text, std::size_t at)
{
    int value = 0;
    bool digits = true;
    for (std::size_t i = at; i < at + count; ++i) {
        const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
        digits = digits && digit <= 9;
        value = value * 10 + static_cast<int>(digit);
    }
    return digits ? value : -1;
}

void PutDigits(char* out, int value, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

std::optional<Moment> FromFields(int year, int month, int day, int hour, int minute, int second)
{
    Moment moment{DateTime::FromParts(year, month, day, hour, minute, second), {}};
    if (!moment.value.IsValid()) {
        return std::nullopt;
    }
    char* const out = moment.iso.data();
    PutDigits(out, year, 4);
    out[4] = '-';
    PutDigits(out + 5, month, 2);
    out[7] = '-';
    PutDigits(out + 8, day, 2);
    out[10] = 'T';
    PutDigits(out + 11, hour, 2);
    out[13] = ':';
    PutDigits(out + 14, minute, 2);
    out[16] = ':';
    PutDigits(out + 17, second, 2);
    return moment;
}

}   // namespace

std::optional<Moment> ParseMoment(std::string_view text, const Clock& clock)
{
    if (text == "now" || text == "today") {
        const std::optional<DateTime::Parts> now = GetNow(clock).GetParts();
        if (!now) {
            return std::nullopt;
        }
        const bool today = text == "today";
        return FromFields(now->year, now->month, now->day, today ? 0 : now->hour, today ? 0 : now->minute,
                          today ? 0 : now->second);
    }
    const bool withTime = text.size() == 19;
    if ((text.size() != 10 && !withTime) || text[4] != '-' || text[7] != '-' ||
        (withTime && ((text[10] != 'T' && text[10] != ' ') || text[13] != ':' || text[16] != ':'))) {
        return std::nullopt;
    }
    const int fields[6] = {Digits<4>(text, 0),
                           Digits<2>(text, 5),
                           Digits<2>(text, 8),
                           withTime ? Digits<2>(text, 11) : 0,
                           withTime ? Digits<2>(text, 14) : 0,
                           withTime ? Digits<2>(text, 17) : 0};
    if (fields[0] < 0 || fields[1] < 0 || fields[2] < 0 || fields[3] < 0 || fields[4] < 0 || fields[5] < 0) {
        return std::nullopt;
    }
    // The text is its own ISO form but for the T, or the time of day.
    Moment moment{DateTime::FromParts(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]), {}};
    if (!moment.value.IsValid()) {
        return std::nullopt;
    }
    std::memcpy(moment.iso.data(), withTime ? text.data() : "0000-00-00T00:00:00", moment.iso.size());
    std::memcpy(moment.iso.data(), text.data(), 10);
    moment.iso[10] = 'T';
    return moment;
}

Moment MomentOf(const DateTime& value)
{
    const std::optional<DateTime::Parts> parts = value.GetParts();
    std::optional<Moment> moment;
    if (parts) {
        moment = FromFields(parts->year, parts->month, parts->day, parts->hour, parts->minute, parts->second);
    }
    return moment.value_or(Moment{DateTime::Invalid(), {}});
}
