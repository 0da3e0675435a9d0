// Zone files: whatever the bytes, reading a TZif file ends without a fault, and a zone that reads converts
// every instant and wall time without one, each wall time to an instant that shows it or lies in a gap;
// it shows only offsets of the file's own types or of its TZ string, and its changes of offset are real
// changes on the right side of the instant asked about.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "info/zone_model.h"

namespace {

std::uint32_t Count(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// The offsets of the type records of the block the reader uses (the 64-bit one of a version 2+ file),
// read here on their own; only called for bytes the reader took.
std::vector<std::int32_t> TypeOffsets(std::string_view bytes)
{
    const auto blockSize = [&](std::size_t at, std::size_t timeSize) {
        return std::size_t{Count(bytes, at + 32)} * (timeSize + 1) + std::size_t{Count(bytes, at + 36)} * 6 +
               Count(bytes, at + 40) + std::size_t{Count(bytes, at + 28)} * (timeSize + 4) + Count(bytes, at + 24) +
               Count(bytes, at + 20);
    };
    std::size_t at = 0, timeSize = 4;
    if (bytes[4] != '\0') {
        at = 44 + blockSize(0, 4);
        timeSize = 8;
    }
    std::vector<std::int32_t> offsets;
    const std::size_t typesAt = at + 44 + std::size_t{Count(bytes, at + 32)} * (timeSize + 1);
    for (std::size_t i = 0; i < Count(bytes, at + 36); ++i) {
        offsets.push_back(static_cast<std::int32_t>(Count(bytes, typesAt + 6 * i)));
    }
    return offsets;
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<ZoneModel> zone = ZoneModel::FromTzif(bytes);
    if (!zone) {
        return 0;
    }
    zone->PresentRules();
    std::vector<std::int32_t> offsets = TypeOffsets(bytes);
    if (const auto& footer = zone->FooterRules()) {
        offsets.push_back(footer->stdOffsetSeconds);
        offsets.push_back(footer->dstOffsetSeconds);
    }
    const auto known = [&](std::int64_t instant) {
        return std::find(offsets.begin(), offsets.end(), zone->At(instant).offsetSeconds) != offsets.end();
    };
    const auto isChange = [&](std::int64_t instant) {
        return zone->At(instant - 1).offsetSeconds != zone->At(instant).offsetSeconds;
    };
    for (const std::int64_t seconds : {INT64_C(-8000000000), INT64_C(0), INT64_C(1700000000), INT64_C(253402300799)}) {
        const std::int64_t instant = zone->InstantOf(seconds);
        // A wall time the clocks skip reads with the offset before the change: it shows later, never earlier.
        if (instant + zone->At(instant).offsetSeconds < seconds || !known(seconds) || !known(instant)) {
            std::abort();
        }
        const std::optional<std::int64_t> previous = zone->PreviousChange(seconds);
        const std::optional<std::int64_t> next = zone->NextChange(seconds);
        if ((previous && (*previous > seconds || !isChange(*previous))) ||
            (next && (*next <= seconds || !isChange(*next)))) {
            std::abort();
        }
    }
    return 0;
}
