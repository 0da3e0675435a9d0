// Zone files: whatever the bytes, reading a TZif file ends without a fault, and a zone that reads converts
// every instant and wall time without one, each wall time to an instant that shows it or lies in a gap.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "info/zone_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<ZoneModel> zone = ZoneModel::FromTzif(bytes);
    if (!zone) {
        return 0;
    }
    zone->PresentRules();
    for (const std::int64_t seconds : {INT64_C(-8000000000), INT64_C(0), INT64_C(1700000000), INT64_C(253402300799)}) {
        const std::int64_t instant = zone->InstantOf(seconds);
        // A wall time the clocks skip reads with the offset before the change: it shows later, never earlier.
        if (instant + zone->At(instant).offsetSeconds < seconds) {
            std::abort();
        }
    }
    return 0;
}
