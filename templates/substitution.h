#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/locale_format.h"
#include "core/messages.h"
#include "core/system_time.h"
#include "templates/macros.h"

// The pages as the substitution engine reads them: the fields exactly as they show now.
class MacroValueSource {
public:
    virtual ~MacroValueSource() = default;
    // The page sheet with the Difference, Calculation and Time Info pages.
    virtual bool PagesExist() const = 0;
    // The Time Info page's nested sheet with all five of its sub-pages.
    virtual bool TimeInfoSubPagesExist() const = 0;
    // The text a text field of that page shows; empty when there is no such text field.
    virtual std::optional<std::string> FieldText(MacroSource page, int controlId) const = 0;
    // The value of a date or time picker of that page; empty when there is no such picker.
    virtual std::optional<SystemTime> PickerRecord(MacroSource page, int controlId) const = 0;
};

// The first occurrence of `pattern` at or after `start`, ignoring the case of ASCII letters only; -1
// when there is none or either text is empty.
std::ptrdiff_t FindNoCase(std::string_view text, std::string_view pattern, std::size_t start);

// The most one expansion produces, note included: a value may hold later macros (language texts hold
// codes), and nesting them multiplies the text's length at every level.
inline constexpr std::size_t kExpansionLimit = 16 * 1024 * 1024;
// The message that ends a text cut at kExpansionLimit.
inline constexpr int kExpansionCutMessage = 52;

struct ReplaceResult {
    bool replaced = false;
    // The result would have been longer than the limit: the text holds its first `limit` bytes or fewer,
    // cut before a UTF-8 character that does not fit whole.
    bool capped = false;
};

// Replaces every occurrence of `macro` (ignoring ASCII case) in one sweep of the text. The search resumes
// behind each inserted value, so a value holding the macro itself is left as it is.
ReplaceResult ReplaceAllNoCase(std::string& text, std::string_view macro, std::string_view value,
                               std::size_t limit = kExpansionLimit);

struct ExpandResult {
    // Expansion stopped at kExpansionLimit: the text is cut there and ends with a line holding message
    // kExpansionCutMessage; the macros in what is left of it may be unexpanded.
    bool capped = false;
};

// Replaces every known macro with the value its page shows, in table order: the current date and time
// first, then the Difference, Calculation and Time Info pickers, and the Time Info sub-pages' fields only
// when all five sub-pages exist. Each macro is replaced through the whole text as it then stands, so a
// value is searched for the macros after its own. Nothing changes while any of the three pages is
// missing. A value that cannot be formatted is empty, so its macro disappears. Unknown macros and lone
// '%' stay as typed. The cut note comes from `messages`, or is the English default without them.
ExpandResult Expand(std::string& text, const MacroValueSource& pages, const Clock& clock,
                    const LocaleFormatter& formatter, const MessageSource& messages);
ExpandResult Expand(std::string& text, const MacroValueSource& pages, const Clock& clock,
                    const LocaleFormatter& formatter);

// A menu lays out its items whole, and slowly: a 1 MiB item takes Qt over a second to show.
inline constexpr std::size_t kMenuItemLimit = 4 * 1024;

// A menu item "label<TAB>%MACRO%" with the macro expanded after the tab, at most kMenuItemLimit bytes of
// it, cut with the English note as Expand cuts; unchanged when it has no tab or its tail does not start
// with '%'.
std::string ExpandMenuItemText(std::string_view itemText, const MacroValueSource& pages, const Clock& clock,
                               const LocaleFormatter& formatter);

// The line that Save >> and Copy >> write for a menu item "label<TAB>value": the value alone with
// `dataOnly`, else every tab turned into ": "; every '&' removed; one blank after it; CR LF after that
// with `addCr`. Empty when the item has no tab.
std::string BuildOutputLine(std::string_view itemText, bool dataOnly, bool addCr);

// The Substitution menu's item text of a macro ("Start &Date\t%DSD%") and the Value menu's one with the
// macro after the tab, as the menus are built.
std::string SubstitutionItemText(const Macro& macro);
std::string ValueItemText(const Macro& macro);
