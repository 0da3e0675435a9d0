#include "templates/substitution.h"

#include <algorithm>
#include <cstring>

#include "core/ascii.h"
#include "core/calendar.h"
#include "settings/default_messages.h"

namespace {

// A translated note longer than this is cut, so that it always fits in either limit.
constexpr std::size_t kMaxNoteSize = 1024;
static_assert(kMaxNoteSize + 4 < kMenuItemLimit);

// The value a macro's page shows, or nothing when its field is missing.
std::optional<std::string> ValueOf(const Macro& macro, const MacroValueSource& pages, const LocaleFormatter& formatter)
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

// The length of `text` without a UTF-8 character cut short at its end. Bytes that are not UTF-8 may lose
// up to three bytes more than needed, which is harmless at a cut.
std::size_t WithoutCutCharacter(std::string_view text)
{
    for (std::size_t back = 1; back <= 4 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) != 0x80) {
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return length > back ? text.size() - back : text.size();
        }
    }
    return text.size();
}

// Cuts `text` so that a line with the cut note still fits in the limit, then adds that line with the
// text's own line ends.
void EndWithCutNote(std::string& text, const MessageSource* messages, std::size_t limit)
{
    std::string note = messages != nullptr ? messages->GetString(kExpansionCutMessage) : std::string();
    if (note.empty()) {
        note = DefaultMessage(kExpansionCutMessage);
    }
    note.resize(WithoutCutCharacter(std::string_view(note).substr(0, kMaxNoteSize)));
    const std::size_t firstLineEnd = text.find('\n');
    const std::string_view lineEnd =
        firstLineEnd != std::string::npos && firstLineEnd > 0 && text[firstLineEnd - 1] == '\r' ? "\r\n" : "\n";
    const std::size_t room = limit - note.size() - 2 * lineEnd.size();
    text.resize(WithoutCutCharacter(std::string_view(text).substr(0, room)));
    if (!text.empty() && text.back() == '\r') {
        text.pop_back();   // half of a CR LF
    }
    if (!text.empty() && text.back() != '\n') {
        text += lineEnd;
    }
    text += note;
    text += lineEnd;
}

ExpandResult ExpandWithin(std::size_t limit, std::string& text, const MacroValueSource& pages, const Clock& clock,
                          const LocaleFormatter& formatter, const MessageSource* messages)
{
    if (text.find('%') == std::string::npos || !pages.PagesExist()) {
        return {};
    }
    const DateTime now = GetNow(clock);
    const bool subPages = pages.TimeInfoSubPagesExist();
    for (const Macro& macro : kMacros) {
        if (IsSubPageSource(macro.source) && !subPages) {
            continue;
        }
        // Fields are read only for macros the text holds; reading a control costs more than a scan.
        if (FindNoCase(text, macro.code, 0) < 0) {
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
        if (value && ReplaceAllNoCase(text, macro.code, *value, limit).capped) {
            EndWithCutNote(text, messages, limit);
            return {true};
        }
    }
    return {};
}

}   // namespace

std::ptrdiff_t FindNoCase(std::string_view text, std::string_view pattern, std::size_t start)
{
    if (text.empty() || pattern.empty() || pattern.size() > text.size()) {
        return -1;
    }
    const std::size_t last = text.size() - pattern.size();
    const char first = pattern.front();
    const bool firstIsLetter = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
    const char second = pattern.size() < 2 ? '\0' : AsciiLower(pattern[1]);
    for (std::size_t p = start; p <= last; ++p) {
        // Every macro starts with '%': jump straight to the next one, calling memchr only between runs of
        // them, which a text of percent signs would otherwise pay at every byte.
        if (!firstIsLetter && text[p] != first) {
            const void* hit = std::memchr(text.data() + p, first, last - p + 1);
            if (hit == nullptr) {
                return -1;
            }
            p = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        }
        if ((pattern.size() < 2 || AsciiLower(text[p + 1]) == second) &&
            EqualNoCase(text.substr(p, pattern.size()), pattern)) {
            return static_cast<std::ptrdiff_t>(p);
        }
    }
    return -1;
}

// One sweep into a new buffer: replacing in place would move the rest of the text at every occurrence.
// Appending stops at the limit, so a huge value costs no more than the limit.
ReplaceResult ReplaceAllNoCase(std::string& text, std::string_view macro, std::string_view value, std::size_t limit)
{
    const std::string_view source = text;
    std::ptrdiff_t hit = FindNoCase(source, macro, 0);
    if (hit < 0) {
        return {};
    }
    std::string out;
    out.reserve(std::min(limit, source.size()));
    // Appends what fits; false when `piece` did not fit whole.
    const auto append = [&out, limit](std::string_view piece) {
        const std::size_t room = limit - out.size();
        out.append(piece.data(), std::min(room, piece.size()));
        return piece.size() <= room;
    };
    std::size_t from = 0;
    bool fits = true;
    for (; hit >= 0; hit = FindNoCase(source, macro, from)) {
        fits = append(source.substr(from, static_cast<std::size_t>(hit) - from)) && append(value);
        if (!fits) {
            break;
        }
        from = static_cast<std::size_t>(hit) + macro.size();
    }
    fits = fits && append(source.substr(from));
    if (!fits) {
        out.resize(WithoutCutCharacter(out));
    }
    text.swap(out);
    return {true, !fits};
}

ExpandResult Expand(std::string& text, const MacroValueSource& pages, const Clock& clock,
                    const LocaleFormatter& formatter, const MessageSource& messages)
{
    return ExpandWithin(kExpansionLimit, text, pages, clock, formatter, &messages);
}

ExpandResult Expand(std::string& text, const MacroValueSource& pages, const Clock& clock,
                    const LocaleFormatter& formatter)
{
    return ExpandWithin(kExpansionLimit, text, pages, clock, formatter, nullptr);
}

std::string ExpandMenuItemText(std::string_view itemText, const MacroValueSource& pages, const Clock& clock,
                               const LocaleFormatter& formatter)
{
    const std::size_t tab = itemText.find('\t');
    if (tab == std::string_view::npos || tab + 1 >= itemText.size() || itemText[tab + 1] != '%') {
        return std::string(itemText);
    }
    std::string tail(itemText.substr(tab + 1));
    ExpandWithin(kMenuItemLimit, tail, pages, clock, formatter, nullptr);
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
