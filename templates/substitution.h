#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/locale_format.h"
#include "core/system_time.h"
#include "templates/macros.h"

// The pages as the substitution engine reads them: the fields exactly as they show now.
class MacroValueSource {
public:
    virtual ~MacroValueSource() = default;
    // The page sheet with the Difference, Calculation and Time Info pages.
    virtual bool PagesExist() const = 0;
    // The Time Info page's nested sheet with all four of its sub-pages.
    virtual bool TimeInfoSubPagesExist() const = 0;
    // The text a text field of that page shows; empty when there is no such text field.
    virtual std::optional<std::string> FieldText(MacroSource page, int controlId) const = 0;
    // The value of a date or time picker of that page; empty when there is no such picker.
    virtual std::optional<SystemTime> PickerRecord(MacroSource page, int controlId) const = 0;
};

// The first occurrence of `pattern` at or after `start`, ignoring the case of ASCII letters only; -1
// when there is none or either text is empty.
std::ptrdiff_t FindNoCase(std::string_view text, std::string_view pattern, std::size_t start);

// Replaces every occurrence of `macro` (ignoring ASCII case). The search resumes behind each inserted
// value, so a value holding the macro itself is left as it is. True when anything was replaced.
bool ReplaceAllNoCase(std::string& text, std::string_view macro, std::string_view value);

// Replaces every known macro with the value its page shows, in table order: the current date and time
// first, then the Difference, Calculation and Time Info pickers, and the Time Info sub-pages' fields only
// when all four sub-pages exist. Nothing changes while any of the three pages is missing. A value that
// cannot be formatted is empty, so its macro disappears. Unknown macros and lone '%' stay as typed.
void Expand(std::string& text, const MacroValueSource& pages, const Clock& clock, const LocaleFormatter& formatter);

// A menu item "label<TAB>%MACRO%" with the macro expanded after the tab; unchanged when it has no tab or
// its tail does not start with '%'.
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
