#include "settings/ini_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <unordered_set>

#include "core/ascii.h"
#include "core/file_access.h"
#include "settings/text_lines.h"

namespace {

enum class LineKind { Blank, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Blank;
    std::string_view name;    // section name or key
    std::string_view value;   // key lines only
    bool hasValue = false;
};

ParsedLine Parse(std::string_view content)
{
    ParsedLine parsed;
    const std::string_view trimmed = TrimLine(content);
    if (trimmed.empty()) {
        return parsed;
    }
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            parsed.kind = LineKind::Section;
            parsed.name = TrimLine(trimmed.substr(1, close - 1));
            return parsed;
        }
    }
    parsed.kind = LineKind::Key;
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        parsed.name = trimmed;
        return parsed;
    }
    parsed.name = TrimLine(trimmed.substr(0, equals));
    std::string_view value = TrimLine(trimmed.substr(equals + 1));
    const std::size_t zero = value.find('\0');
    if (zero != std::string_view::npos) {
        value = TrimLine(value.substr(0, zero));
    }
    parsed.value = value;
    parsed.hasValue = true;
    return parsed;
}

// Where a key lives: the line of its first occurrence in the first matching section, or where the
// section ends (after its last non-blank line) when the key is missing.
struct Location {
    bool sectionFound = false;
    bool keyFound = false;
    TextLine keyLine;
    ParsedLine key;
    std::size_t sectionEnd = 0;   // offset just past the section's last non-blank line
};

Location Locate(std::string_view text, std::string_view section, std::string_view key)
{
    Location location;
    TextLines lines(text);
    bool inSection = false;
    while (const std::optional<TextLine> line = lines.Next()) {
        // Outside the wanted section only headers matter; skip key lines without parsing them.
        if (!inSection) {
            const std::size_t first = line->content.find_first_not_of(kLineSpace);
            if (first == std::string_view::npos || line->content[first] != '[') {
                continue;
            }
        }
        const ParsedLine parsed = Parse(line->content);
        if (parsed.kind == LineKind::Section) {
            if (inSection) {
                break;   // only the first matching section counts
            }
            inSection = EqualNoCase(parsed.name, section);
            if (inSection) {
                location.sectionFound = true;
                location.sectionEnd = line->end;
            }
            continue;
        }
        if (!inSection || parsed.kind == LineKind::Blank) {
            continue;
        }
        location.sectionEnd = line->end;
        if (EqualNoCase(parsed.name, key)) {
            location.keyFound = true;
            location.keyLine = *line;
            location.key = parsed;
            break;
        }
    }
    return location;
}

bool HasBreakOrZero(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool IsStorableName(std::string_view name)
{
    return !name.empty() && TrimLine(name) == name && !HasBreakOrZero(name);
}

// Whether SetIniValue can store the (trimmed) value under these names as written.
bool IsStorable(std::string_view section, std::string_view key, std::string_view value)
{
    return IsStorableName(section) && IsStorableName(key) && key.find('=') == std::string_view::npos &&
           key.front() != '[' && !HasBreakOrZero(value);
}

std::string_view LineEnd(std::string_view text)
{
    const std::size_t feed = text.find('\n');
    return feed != std::string_view::npos && feed > 0 && text[feed - 1] == '\r' ? "\r\n" : "\n";
}

// A file whose owner may not write it is left alone, also by root, whom the permission does not stop.
bool IsReadOnlyFile(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && (status.st_mode & S_IWUSR) == 0;
}

}   // namespace

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section, std::string_view key)
{
    const Location location = Locate(text, TrimLine(section), TrimLine(key));
    if (!location.keyFound) {
        return std::nullopt;
    }
    return std::string(location.key.value);
}

std::string_view TrimIniValue(std::string_view value)
{
    return TrimLine(value);
}

IniUpdate SetIniValue(std::string& text, std::string_view section, std::string_view key, std::string_view value)
{
    value = TrimLine(value);
    if (!IsStorable(section, key, value)) {
        return IniUpdate::Invalid;
    }
    const Location location = Locate(text, section, key);
    const std::string_view eol = LineEnd(text);
    if (location.keyFound) {
        if (location.key.hasValue && location.key.value == value) {
            return IniUpdate::Unchanged;
        }
        std::string line(location.key.name);
        line += '=';
        line += value;
        const std::size_t contentEnd = location.keyLine.begin + location.keyLine.content.size();
        text.replace(location.keyLine.begin, contentEnd - location.keyLine.begin, line);
        return IniUpdate::Changed;
    }
    std::string addition;
    std::size_t at = text.size();
    if (location.sectionFound) {
        at = location.sectionEnd;
        // The new line goes after the section's last line and its line end.
        if (at < text.size()) {
            at = text.find('\n', at);
            at = at == std::string::npos ? text.size() : at + 1;
        }
        if (at == text.size() && !text.empty() && text.back() != '\n') {
            addition += eol;
        }
    } else {
        if (!text.empty() && text.back() != '\n') {
            addition += eol;
        }
        if (!text.empty()) {
            addition += eol;
        }
        addition += '[';
        addition += section;
        addition += ']';
        addition += eol;
    }
    addition += key;
    addition += '=';
    addition += value;
    addition += eol;
    text.insert(at, addition);
    return IniUpdate::Changed;
}

std::vector<IniEntry> ListIniEntries(std::string_view text)
{
    std::vector<IniEntry> entries;
    TextLines lines(text);
    std::string_view section;
    while (const std::optional<TextLine> line = lines.Next()) {
        const ParsedLine parsed = Parse(line->content);
        if (parsed.kind == LineKind::Section) {
            section = parsed.name;
        } else if (parsed.kind == LineKind::Key) {
            entries.push_back({std::string(section), std::string(parsed.name), std::string(parsed.value)});
        }
    }
    return entries;
}

std::string_view CutUtf8(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t cut = maxBytes;
    // Step back over continuation bytes to the start of the sequence that does not fit.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return text.substr(0, cut);
}

IniIndex::IniIndex(std::string_view text)
{
    TextLines lines(text);
    std::unordered_set<std::string> sectionsSeen;
    std::string section;
    bool counts = false;   // only keys of the first section of a name are ever found
    while (const std::optional<TextLine> line = lines.Next()) {
        const ParsedLine parsed = Parse(line->content);
        if (parsed.kind == LineKind::Section) {
            section = parsed.name;
            counts = sectionsSeen.insert(IndexKey(section, {})).second;
        } else if (parsed.kind == LineKind::Key && counts) {
            m_values.try_emplace(IndexKey(section, parsed.name), Value{std::string(parsed.value), parsed.hasValue});
        }
    }
}

std::string IniIndex::IndexKey(std::string_view section, std::string_view key)
{
    std::string joined;
    joined.reserve(section.size() + 1 + key.size());
    for (const char c : section) {
        joined += AsciiLower(c);
    }
    joined += '\n';
    for (const char c : key) {
        joined += AsciiLower(c);
    }
    return joined;
}

std::optional<std::string_view> IniIndex::Find(std::string_view section, std::string_view key) const
{
    const auto found = m_values.find(IndexKey(TrimLine(section), TrimLine(key)));
    if (found == m_values.end()) {
        return std::nullopt;
    }
    return found->second.text;
}

bool IniIndex::Holds(std::string_view section, std::string_view key, std::string_view value) const
{
    const auto found = m_values.find(IndexKey(section, key));
    return found != m_values.end() && found->second.hasValue && found->second.text == TrimLine(value);
}

void IniIndex::Set(std::string_view section, std::string_view key, std::string_view value)
{
    m_values[IndexKey(section, key)] = Value{std::string(TrimLine(value)), true};
}

void IniFile::Refresh()
{
    if (m_loaded && (m_holds > 0 || m_unwritten)) {
        return;
    }
    const FileStamp stamp = StampOfFile(m_path);
    if (m_loaded && stamp == m_stamp) {
        return;
    }
    FileReadResult file = ReadFileLimited(m_path, kMaxIniFileBytes);
    m_loaded = true;
    m_stamp = stamp;
    m_status = file.status;
    m_text = std::move(file.bytes);
    m_index = IniIndex(m_text);
}

std::optional<std::string> IniFile::Read(std::string_view section, std::string_view key, std::size_t maxBytes)
{
    Refresh();
    const std::optional<std::string_view> value = m_index.Find(section, key);
    if (!value) {
        return std::nullopt;
    }
    return std::string(CutUtf8(*value, maxBytes));
}

bool IniFile::Write(std::string_view section, std::string_view key, std::string_view value)
{
    Refresh();
    if (m_status != FileReadStatus::Ok && m_status != FileReadStatus::Missing) {
        return false;
    }
    if (!IsStorable(section, key, TrimLine(value))) {
        return false;
    }
    if (m_index.Holds(section, key, value)) {
        return true;
    }
    std::string text = m_text;
    const IniUpdate update = SetIniValue(text, section, key, value);
    if (update != IniUpdate::Changed) {
        return update == IniUpdate::Unchanged;
    }
    if (text.size() > kMaxIniFileBytes) {
        return false;
    }
    if (m_holds == 0 && (IsReadOnlyFile(m_path) || !ReplaceFileContents(m_path, text))) {
        return false;
    }
    m_text = std::move(text);
    m_index.Set(section, key, value);
    if (m_holds > 0) {
        m_unwritten = true;
        return true;
    }
    m_status = FileReadStatus::Ok;
    m_stamp = StampOfFile(m_path);
    m_unwritten = false;
    return true;
}

bool IniFile::WriteHeld()
{
    if (m_holds > 0 && --m_holds > 0) {
        return true;
    }
    if (!m_unwritten) {
        return true;
    }
    if (IsReadOnlyFile(m_path) || !ReplaceFileContents(m_path, m_text)) {
        return false;
    }
    m_unwritten = false;
    m_status = FileReadStatus::Ok;
    m_stamp = StampOfFile(m_path);
    return true;
}
