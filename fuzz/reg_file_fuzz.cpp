// The settings file parser: whatever the bytes, parsing ends without a fault, and what it reads is
// written and read back complete and unchanged, every value found again by its name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/reg_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const RegFileContent content = ParseRegFile(text);
    const std::string formatted = FormatRegFile(content.document);
    const RegFileContent again = ParseRegFile(formatted);
    if (!again.complete || FormatRegFile(again.document) != formatted ||
        again.document.Keys().size() != content.document.Keys().size()) {
        std::abort();
    }
    for (const RegKey& key : content.document.Keys()) {
        for (const RegEntry& entry : key.values) {
            const RegValue* value = again.document.Find(key.path, entry.name);
            if (value == nullptr || *value != entry.value) {
                std::abort();
            }
        }
    }
    return 0;
}
