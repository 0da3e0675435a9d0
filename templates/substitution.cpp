#include "templates/substitution.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>

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
           source == MacroSource::Horoscope || source == MacroSource::Sun;
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

// Every code has two to six ASCII letters between its percent signs.
constexpr std::size_t kShortestCodeLetters = 2;
constexpr std::size_t kLongestCodeLetters = 6;

bool IsLetter(char c)
{
    const char upper = static_cast<char>(c & ~0x20);
    return upper >= 'A' && upper <= 'Z';
}

// Whether text made of these pieces in a row might be a code's letters. With `whole`, the text can no
// longer grow, so it must also be long enough.
bool MayFormCode(std::initializer_list<std::string_view> pieces, bool whole = false)
{
    std::size_t size = 0;
    for (const std::string_view piece : pieces) {
        size += piece.size();
    }
    return size <= kLongestCodeLetters && (!whole || size >= kShortestCodeLetters) &&
           std::ranges::all_of(pieces, [](std::string_view piece) { return std::ranges::all_of(piece, IsLetter); });
}

// Each macro's value, read from its page the first time the text is found to hold the macro.
class MacroValues {
public:
    MacroValues(const MacroValueSource& pages, const Clock& clock, const LocaleFormatter& formatter)
        : m_pages(pages),
          m_formatter(formatter),
          m_now(GetNow(clock))
    {
    }

    struct Entry {
        std::optional<std::string> text;
        bool read = false;
        // The value's own percent signs, npos without one.
        std::size_t firstPercent = std::string::npos;
        std::size_t lastPercent = std::string::npos;
        // Letters between two of its percent signs might be a code.
        bool holdsCode = false;
    };

    const Entry& Get(std::size_t index)
    {
        Entry& entry = m_entries[index];
        if (!entry.read) {
            const Macro& macro = kMacros[index];
            if (macro.source == MacroSource::CurrentDate) {
                entry.text = FormatLongDate(m_formatter, m_now).value_or(std::string());
            } else if (macro.source == MacroSource::CurrentTime) {
                entry.text = FormatTime(m_formatter, m_now).value_or(std::string());
            } else {
                entry.text = ValueOf(macro, m_pages, m_formatter);
            }
            entry.read = true;
            if (entry.text) {
                const std::string_view text = *entry.text;
                entry.firstPercent = text.find('%');
                entry.lastPercent = text.rfind('%');
                for (std::size_t at = entry.firstPercent; at < entry.lastPercent && !entry.holdsCode;) {
                    const std::size_t close = text.find('%', at + 1);
                    entry.holdsCode = MayFormCode({text.substr(at + 1, close - at - 1)}, true);
                    at = close;
                }
            }
        }
        return entry;
    }

private:
    const MacroValueSource& m_pages;
    const LocaleFormatter& m_formatter;
    const DateTime m_now;
    std::array<Entry, kMacroCount> m_entries{};
};

// The table index of the macro whose code has `letters` between its percent signs, ignoring ASCII case;
// -1 for any other text. The letters, upper-cased, are packed into one integer that an open-addressed
// table looks up at a single probe or two.
class CodeIndex {
public:
    CodeIndex()
    {
        m_slots.fill({0, -1});
        for (std::size_t index = 0; index < kMacros.size(); ++index) {
            const std::string_view code = kMacros[index].code;
            const std::uint64_t key = Key(code.substr(1, code.size() - 2));
            std::size_t slot = Slot(key);
            while (m_slots[slot].index >= 0) {
                slot = (slot + 1) % kSlots;
            }
            m_slots[slot] = {key, static_cast<int>(index)};
        }
    }

    int Find(std::string_view letters) const
    {
        const std::uint64_t key = Key(letters);
        if (key == 0) {
            return -1;
        }
        for (std::size_t slot = Slot(key);; slot = (slot + 1) % kSlots) {
            if (m_slots[slot].index < 0 || m_slots[slot].key == key) {
                return m_slots[slot].index;
            }
        }
    }

private:
    static constexpr std::size_t kSlots = 256;

    // The upper-cased letters one byte each; 0 when the text cannot be a code's letters.
    static std::uint64_t Key(std::string_view letters)
    {
        if (letters.size() < kShortestCodeLetters || letters.size() > kLongestCodeLetters) {
            return 0;
        }
        std::uint64_t key = 0;
        for (const char c : letters) {
            if (!IsLetter(c)) {
                return 0;
            }
            key = key << 8 | static_cast<unsigned char>(c & ~0x20);
        }
        return key;
    }
    static std::size_t Slot(std::uint64_t key) { return (key * 0x9E3779B97F4A7C15u) >> 56; }

    struct Cell {
        std::uint64_t key;
        int index;
    };
    std::array<Cell, kSlots> m_slots;
};

// The whole expansion in one sweep, each value put in as its macro is found. Replacing macro by macro
// through the text as it then stands gives the same result as long as no two replaced macros share a
// percent sign, no replacement brings percent signs together around what might be a code's letters
// (values' own percent signs included), and no step outgrows the limit; false, with `text` untouched,
// when any of these might not hold.
bool ExpandInOneSweep(std::string& text, MacroValues& values, bool subPages, std::size_t limit)
{
    static const CodeIndex codes;
    const std::string_view source = text;
    const char* const begin = source.data();
    const char* const end = begin + source.size();
    const auto nextPercent = [end](const char* from) {
        return static_cast<const char*>(std::memchr(from, '%', static_cast<std::size_t>(end - from)));
    };
    std::array<std::size_t, kMacroCount> counts{};
    std::string out;
    out.reserve(std::min(limit, source.size()));
    const char* copied = begin;
    const char* previousGap = nullptr;   // the text from the percent sign before `at`; none at the first
    bool previousReplaced = false;
    for (const char* at = nextPercent(begin); at != nullptr;) {
        const char* const close = nextPercent(at + 1);
        if (close == nullptr) {
            break;
        }
        const std::string_view gap(at + 1, static_cast<std::size_t>(close - at - 1));
        const int index = codes.Find(gap);
        const MacroValues::Entry* value = nullptr;
        if (index >= 0 && (subPages || !IsSubPageSource(kMacros[static_cast<std::size_t>(index)].source))) {
            value = &values.Get(static_cast<std::size_t>(index));
        }
        const bool replaced = value != nullptr && value->text;
        if (replaced) {
            if (previousReplaced || value->holdsCode) {
                return false;
            }
            // Without the macro's percent signs, the text before it runs into the value's start and the
            // value's end into the text after it; a value without percent signs joins all three.
            const std::string_view shown = *value->text;
            const bool own = value->firstPercent != std::string::npos;
            const std::string_view before =
                previousGap != nullptr ? std::string_view(previousGap, static_cast<std::size_t>(at - previousGap))
                                       : std::string_view();
            const std::string_view tail = own ? shown.substr(value->lastPercent + 1) : shown;
            if (own && previousGap != nullptr && MayFormCode({before, shown.substr(0, value->firstPercent)})) {
                return false;
            }
            // The text after it is looked at only when what comes first might still grow into a code.
            if (own ? MayFormCode({tail}) : previousGap != nullptr && MayFormCode({before, shown})) {
                if (const char* const afterEnd = nextPercent(close + 1)) {
                    const std::string_view after(close + 1, static_cast<std::size_t>(afterEnd - close - 1));
                    if (own ? MayFormCode({tail, after}) : MayFormCode({before, shown, after})) {
                        return false;
                    }
                }
            }
            out.append(copied, at);
            out.append(shown);
            copied = close + 1;
            ++counts[static_cast<std::size_t>(index)];
            if (out.size() > limit) {
                return false;
            }
        }
        previousReplaced = replaced;
        previousGap = at + 1;
        at = close;
    }
    // Replaced macro by macro, the text must fit the limit after every step, not only at the end.
    std::size_t size = source.size();
    for (std::size_t index = 0; index < kMacros.size(); ++index) {
        if (counts[index] > 0) {
            size = size + counts[index] * values.Get(index).text->size() - counts[index] * kMacros[index].code.size();
            if (size > limit) {
                return false;
            }
        }
    }
    out.append(copied, end);
    text.swap(out);
    return true;
}

ExpandResult ExpandWithin(std::size_t limit, std::string& text, const MacroValueSource& pages, const Clock& clock,
                          const LocaleFormatter& formatter, const MessageSource* messages)
{
    if (text.find('%') == std::string::npos || !pages.PagesExist()) {
        return {};
    }
    MacroValues values(pages, clock, formatter);
    const bool subPages = pages.TimeInfoSubPagesExist();
    if (ExpandInOneSweep(text, values, subPages, limit)) {
        return {};
    }
    for (std::size_t index = 0; index < kMacros.size(); ++index) {
        const Macro& macro = kMacros[index];
        if (IsSubPageSource(macro.source) && !subPages) {
            continue;
        }
        // Fields are read only for macros the text holds; reading a control costs more than a scan.
        if (FindNoCase(text, macro.code, 0) < 0) {
            continue;
        }
        const std::optional<std::string>& value = values.Get(index).text;
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
