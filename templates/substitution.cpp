#include "templates/substitution.h"

#include <cstring>

#include "core/ascii.h"
#include "core/calendar.h"

namespace {


// The value a macro's page shows, or nothing when its field is missing.
std::optional<std::string> ValueOf(const Macro& macro, const MacroValueSource& pages,
                                   const LocaleFormatter& formatter)
{
    if (std::optional<std::string> text = pages.FieldText(macro.source, macro.controlId)) {
        return text;
    }
    if (macro.value == MacroValue::Text) {
        return std::nullopt;
    }
    const std::optional<SystemTime> record = pages.PickerRecord(macro.source, macro.controlId);
    if (!record) {
        return std::nullopt;
    }
    const std::optional<std::string> formatted = macro.value == MacroValue::LongDate
                                                     ? FormatLongDate(formatter, DateOfRecord(*record))
                                                     : FormatTime(formatter, TimeOfRecord(*record));
    return formatted.value_or(std::string());
}

bool IsSubPageSource(MacroSource source)
{
    return source == MacroSource::General || source == MacroSource::TimeZone || source == MacroSource::Moon ||
           source == MacroSource::Horoscope;
}

}  // namespace

std::ptrdiff_t FindNoCase(std::string_view text, std::string_view pattern, std::size_t start)
{
    if (text.empty() || pattern.empty() || pattern.size() > text.size()) {
        return -1;
    }
    const std::size_t last = text.size() - pattern.size();
    const char first = pattern.front();
    const bool firstIsLetter = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
    for (std::size_t p = start; p <= last; ++p) {
        if (!firstIsLetter) {
            // Every macro starts with '%': jump straight to the next one.
            const void* hit = std::memchr(text.data() + p, first, last - p + 1);
            if (hit == nullptr) {
                return -1;
            }
            p = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        }
        if (EqualNoCase(text.substr(p, pattern.size()), pattern)) {
            return static_cast<std::ptrdiff_t>(p);
        }
    }
    return -1;
}

bool ReplaceAllNoCase(std::string& text, std::string_view macro, std::string_view value)
{
    if (text.empty() || macro.empty()) {
        return false;
    }
    bool replaced = false;
    std::size_t from = 0;
    for (std::ptrdiff_t at = FindNoCase(text, macro, from); at >= 0; at = FindNoCase(text, macro, from)) {
        text.replace(static_cast<std::size_t>(at), macro.size(), value);
        from = static_cast<std::size_t>(at) + value.size();
        replaced = true;
    }
    return replaced;
}

void Expand(std::string& text, const MacroValueSource& pages, const Clock& clock, const LocaleFormatter& formatter)
{
    if (text.find('%') == std::string::npos || !pages.PagesExist()) {
        return;
    }
    const DateTime now = GetNow(clock);
    const bool subPages = pages.TimeInfoSubPagesExist();
    for (const Macro& macro : kMacros) {
        // Fields are read only for macros the text holds; reading a control costs more than a scan.
        if ((IsSubPageSource(macro.source) && !subPages) || FindNoCase(text, macro.code, 0) < 0) {
            continue;
        }
        std::optional<std::string> value;
        if (macro.source == MacroSource::CurrentDate) {
            value = FormatLongDate(formatter, now).value_or(std::string());
        } else if (macro.source == MacroSource::CurrentTime) {
            value = FormatTime(formatter, now).value_or(std::string());
        } else {
            value = ValueOf(macro, pages, formatter);
        }
        if (value) {
            ReplaceAllNoCase(text, macro.code, *value);
        }
    }
}

std::string ExpandMenuItemText(std::string_view itemText, const MacroValueSource& pages, const Clock& clock,
                               const LocaleFormatter& formatter)
{
    const std::size_t tab = itemText.find('\t');
    if (tab == std::string_view::npos || tab + 1 >= itemText.size() || itemText[tab + 1] != '%') {
        return std::string(itemText);
    }
    std::string tail(itemText.substr(tab + 1));
    Expand(tail, pages, clock, formatter);
    return std::string(itemText.substr(0, tab + 1)) + tail;
}

std::string BuildOutputLine(std::string_view itemText, bool dataOnly, bool addCr)
{
    const std::size_t tab = itemText.find('\t');
    if (itemText.empty() || tab == std::string_view::npos) {
        return {};
    }
    std::string line;
    const std::string_view source = dataOnly ? itemText.substr(tab + 1) : itemText;
    for (char c : source) {
        if (c == '\t' && !dataOnly) {
            line += ": ";
        } else if (c != '&') {
            line += c;
        }
    }
    line += ' ';
    if (addCr) {
        line += "\r\n";
    }
    return line;
}

std::string SubstitutionItemText(const Macro& macro)
{
    return std::string(macro.substitutionLabel) + '\t' + std::string(macro.code) + (macro.trailingBlank ? " " : "");
}

std::string ValueItemText(const Macro& macro)
{
    return std::string(macro.valueLabel) + '\t' + std::string(macro.code) + (macro.trailingBlank ? " " : "");
}
