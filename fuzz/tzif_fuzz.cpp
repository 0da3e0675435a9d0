// Zone files: whatever the bytes, reading a TZif file ends without a fault, and a zone record comes only
// from a file that reads.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "info/tzif.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<TzifContents> contents = ReadTzif(bytes);
    const std::optional<ZoneRules> zone = ZoneFromTzif(bytes);
    if (zone && !contents) {
        std::abort();
    }
    return 0;
}
