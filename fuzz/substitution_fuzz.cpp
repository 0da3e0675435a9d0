// Template expansion: whatever the template and whatever the fields hold (language texts hold macros of
// their own), expansion ends without a fault, within its limit, and a menu item within the menu's.
// The input is the text every field shows, a NUL byte, then the template.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "cli/langinfo_formatter.h"
#include "fakes/fake_clock.h"
#include "templates/substitution.h"

namespace {

// Every page, sub-page and field exists and shows the same text.
class SameTextEverywhere final : public MacroValueSource {
public:
    explicit SameTextEverywhere(std::string_view text) : m_text(text) {}
    bool PagesExist() const override { return true; }
    bool TimeInfoSubPagesExist() const override { return true; }
    std::optional<std::string> FieldText(MacroSource, int) const override { return m_text; }
    std::optional<SystemTime> PickerRecord(MacroSource, int) const override
    {
        return SystemTime{1999, 12, 5, 31, 23, 59, 59, 0};
    }

private:
    std::string m_text;
};

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view field = split == std::string_view::npos ? std::string_view() : input.substr(0, split);
    const std::string_view templateText = split == std::string_view::npos ? input : input.substr(split + 1);
    static const FakeClock clock(SystemTime{2004, 3, 1, 1, 13, 5, 9, 0});
    static const LangInfoFormatter formatter;
    const SameTextEverywhere pages(field);

    const std::string item = ExpandMenuItemText(templateText, pages, clock, formatter);
    const std::size_t tab = templateText.find('\t');
    const std::size_t itemLimit = tab == std::string_view::npos ? templateText.size() : tab + 1 + kMenuItemLimit;
    if (item.size() > std::max(itemLimit, templateText.size())) {
        std::abort();
    }
    // Values that hold macros nest, and nesting reaches the 16 MiB limit in a few levels: those are left
    // to the menu item's 4 KiB limit above, the same path, so that a run stays fast.
    if (field.find('%') == std::string_view::npos) {
        std::string text(templateText);
        Expand(text, pages, clock, formatter);
        if (text.size() > kExpansionLimit) {
            std::abort();
        }
    }
    BuildOutputLine(item, false, true);
    return 0;
}
