// TZ strings (from TZ or a zone file's footer): whatever the text, parsing ends without a fault, every
// change date it accepts lies within the ranges its form allows, and the zone record is made from it
// without a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "info/posix_tz.h"

namespace {

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

bool Plausible(const TzChange& change)
{
    constexpr int kMostChangeSeconds = 167 * 3600 + 59 * 60 + 59;   // hh may reach 167, with mm:ss
    if (!InRange(change.timeSeconds, -kMostChangeSeconds, kMostChangeSeconds)) {
        return false;
    }
    switch (change.form) {
    case TzChange::Form::MonthWeekDay:
        return InRange(change.month, 1, 12) && InRange(change.week, 1, 5) && InRange(change.weekday, 0, 6);
    case TzChange::Form::JulianNoLeap:
        return InRange(change.day, 1, 365);
    case TzChange::Form::ZeroBased:
        return InRange(change.day, 0, 365);
    }
    return false;
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<PosixTzRules> rules = ParsePosixTz(text);
    if (!rules) {
        if (ZoneFromTzString(text)) {
            std::abort();
        }
        return 0;
    }
    if (rules->dst && (!Plausible(rules->dst->start) || !Plausible(rules->dst->end))) {
        std::abort();
    }
    if (ZoneFromPosixTz(*rules) != ZoneFromTzString(text)) {
        std::abort();
    }
    return 0;
}
