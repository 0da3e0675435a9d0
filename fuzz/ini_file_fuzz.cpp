// The language-file parser: the index finds what a scan of the text finds, and every value it reads,
// written into a new file, reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/ini_file.h"

namespace {

// Bounds the scans below, which cost the text's length for each entry.
constexpr std::size_t kMaxEntriesChecked = 64;

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const IniIndex index(text);
    std::string written;
    std::size_t checked = 0;
    for (const IniEntry& entry : ListIniEntries(text)) {
        if (++checked > kMaxEntriesChecked) {
            break;
        }
        const std::optional<std::string_view> value = index.Find(entry.section, entry.key);
        Check(value == FindIniValue(text, entry.section, entry.key));
        if (value && SetIniValue(written, entry.section, entry.key, *value) != IniUpdate::Invalid) {
            Check(FindIniValue(written, entry.section, entry.key) == *value);
            Check(IniIndex(written).Holds(entry.section, entry.key, *value));
        }
    }
    // A write into the text itself: the index follows it without a new parse.
    std::string changed(text);
    IniIndex following = index;
    const std::string section = checked > 0 ? "Common" : "S";
    if (SetIniValue(changed, section, "ID_7", "Rooster") == IniUpdate::Changed) {
        following.Set(section, "ID_7", "Rooster");
    }
    checked = 0;
    for (const IniEntry& entry : ListIniEntries(changed)) {
        if (++checked > kMaxEntriesChecked) {
            break;
        }
        Check(following.Find(entry.section, entry.key) == FindIniValue(changed, entry.section, entry.key));
    }
    return 0;
}
