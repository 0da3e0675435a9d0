#include "settings/reg_file.h"

#include <cstdio>
#include <optional>
#include <utility>

#include "core/ascii.h"
#include "settings/text_lines.h"

namespace {

constexpr std::string_view kSignature = "REGEDIT4";
int HexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Reads a quoted text at the start of `text` ('\' escapes the next character) and drops it from `text`.
std::optional<std::string> TakeQuoted(std::string_view& text)
{
    if (text.empty() || text.front() != '"') {
        return std::nullopt;
    }
    std::string result;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return result;
        }
        if (c == '\\') {
            if (++i == text.size()) {
                break;
            }
        }
        result += text[i];
    }
    return std::nullopt;
}

// "41,42,00": bytes of exactly two hex digits each, separated by commas; empty for an empty list.
std::optional<std::string> ParseHexBytes(std::string_view text)
{
    std::string bytes;
    text = TrimLine(text);
    if (text.empty()) {
        return bytes;
    }
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = TrimLine(text.substr(0, comma));
        if (item.size() != 2 || HexDigit(item[0]) < 0 || HexDigit(item[1]) < 0) {
            return std::nullopt;
        }
        bytes += static_cast<char>(HexDigit(item[0]) * 16 + HexDigit(item[1]));
        if (comma == std::string_view::npos) {
            return bytes;
        }
        text.remove_prefix(comma + 1);
    }
}

std::optional<RegValue> ParseData(std::string_view data)
{
    data = TrimLine(data);
    RegValue value;
    if (!data.empty() && data.front() == '"') {
        std::optional<std::string> text = TakeQuoted(data);
        if (!text || !TrimLine(data).empty()) {
            return std::nullopt;
        }
        value.type = static_cast<std::uint32_t>(RegType::Sz);
        value.data = std::move(*text);
        value.data += '\0';
        return value;
    }
    if (data.starts_with("dword:")) {
        data.remove_prefix(6);
        if (data.size() != 8) {
            return std::nullopt;
        }
        std::uint32_t number = 0;
        for (const char c : data) {
            if (HexDigit(c) < 0) {
                return std::nullopt;
            }
            number = number * 16 + static_cast<std::uint32_t>(HexDigit(c));
        }
        return RegValue::Dword(number);
    }
    if (!data.starts_with("hex")) {
        return std::nullopt;
    }
    data.remove_prefix(3);
    value.type = static_cast<std::uint32_t>(RegType::Binary);
    if (data.starts_with("(")) {
        const std::size_t close = data.find(')');
        if (close == std::string_view::npos || close == 1 || close > 9) {
            return std::nullopt;
        }
        std::uint32_t type = 0;
        for (const char c : data.substr(1, close - 1)) {
            if (HexDigit(c) < 0) {
                return std::nullopt;
            }
            type = type * 16 + static_cast<std::uint32_t>(HexDigit(c));
        }
        value.type = type;
        data.remove_prefix(close + 1);
    }
    if (!data.starts_with(":")) {
        return std::nullopt;
    }
    std::optional<std::string> bytes = ParseHexBytes(data.substr(1));
    if (!bytes) {
        return std::nullopt;
    }
    value.data = std::move(*bytes);
    return value;
}

void AppendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16 text (after its byte-order mark) as UTF-8. False when some of it was not UTF-16: an odd byte at
// the end, a surrogate without its partner (each read as U+FFFD).
bool Utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& out)
{
    const auto unit = [bytes, bigEndian](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<std::uint32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    constexpr std::uint32_t kReplacement = 0xFFFD;
    bool whole = bytes.size() % 2 == 0;
    out.reserve(bytes.size() / 2 * 3);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        std::uint32_t code = unit(i);
        if (code >= 0xD800 && code < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (code >= 0xD800 && code < 0xE000) {
            code = kReplacement;
            whole = false;
        }
        AppendUtf8(out, code);
    }
    return whole;
}

// Lines of the text with their line ends removed; a hex value ending in '\' continues on the next line.
class Lines {
public:
    explicit Lines(std::string_view text) : m_lines(text, TextLines::Breaks::FeedOrReturn) {}

    // The next line; it stays valid until the next call.
    std::optional<std::string_view> Next()
    {
        const std::optional<TextLine> line = m_lines.Next();
        if (!line) {
            return std::nullopt;
        }
        const std::string_view raw = line->content;
        if (raw.find("=hex") == std::string_view::npos || !TrimLine(raw).ends_with('\\') || m_lines.AtEnd()) {
            return raw;
        }
        // Each piece is trimmed and appended once, so a long continued value costs linear time.
        m_joined.assign(raw);
        for (std::size_t end = m_joined.find_last_not_of(kLineSpace); end != std::string::npos && m_joined[end] == '\\';
             end = m_joined.find_last_not_of(kLineSpace)) {
            const std::optional<TextLine> more = m_lines.Next();
            if (!more) {
                break;
            }
            m_joined.resize(end);
            m_joined += TrimLine(more->content);
        }
        return m_joined;
    }

private:
    TextLines m_lines;
    std::string m_joined;   // a continued line
};

void AppendHex(std::string& out, std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0x0F];
    }
}

void AppendQuoted(std::string& out, std::string_view text)
{
    out += '"';
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
}

// A text that a quoted form keeps exactly: one terminating zero and no control characters.
bool IsPlainText(const RegValue& value)
{
    if (value.type != static_cast<std::uint32_t>(RegType::Sz) || value.data.empty() || value.data.back() != '\0') {
        return false;
    }
    for (std::size_t i = 0; i + 1 < value.data.size(); ++i) {
        const auto c = static_cast<unsigned char>(value.data[i]);
        if (c < 0x20 || c == 0x7F) {
            return false;
        }
    }
    return true;
}

void AppendData(std::string& out, const RegValue& value)
{
    if (IsPlainText(value)) {
        AppendQuoted(out, std::string_view(value.data).substr(0, value.data.size() - 1));
        return;
    }
    if (value.type == static_cast<std::uint32_t>(RegType::Dword) && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) {
            number = number * 256 + static_cast<unsigned char>(value.data[static_cast<std::size_t>(i)]);
        }
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x", static_cast<unsigned>(number));
        out += text;
        return;
    }
    if (value.type == static_cast<std::uint32_t>(RegType::Binary)) {
        out += "hex:";
    } else {
        char text[24];
        std::snprintf(text, sizeof text, "hex(%x):", static_cast<unsigned>(value.type));
        out += text;
    }
    AppendHex(out, value.data);
}

}   // namespace

std::size_t RegDocument::NoCaseHash::operator()(std::string_view text) const
{
    // FNV-1a over the lower-cased bytes, so that names differing only in case meet in one bucket.
    std::size_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(AsciiLower(c))) * 1099511628211ull;
    }
    return hash;
}

bool RegDocument::NoCaseEqual::operator()(std::string_view a, std::string_view b) const
{
    return EqualNoCase(a, b);
}

std::size_t RegDocument::KeyIndex(std::string_view keyPath)
{
    const auto found = m_keyIndex.find(keyPath);
    if (found != m_keyIndex.end()) {
        return found->second;
    }
    m_keys.push_back({std::string(keyPath), {}});
    m_valueIndex.emplace_back();
    m_keyIndex.emplace(std::string(keyPath), m_keys.size() - 1);
    return m_keys.size() - 1;
}

bool RegDocument::AddKey(std::string_view keyPath)
{
    const std::size_t count = m_keys.size();
    KeyIndex(keyPath);
    return m_keys.size() != count;
}

const RegValue* RegDocument::Find(std::string_view keyPath, std::string_view name) const
{
    const auto key = m_keyIndex.find(keyPath);
    if (key == m_keyIndex.end()) {
        return nullptr;
    }
    const NameIndex& values = m_valueIndex[key->second];
    const auto value = values.find(name);
    return value == values.end() ? nullptr : &m_keys[key->second].values[value->second].value;
}

bool RegDocument::Set(std::string_view keyPath, std::string_view name, RegValue value)
{
    return SetAt(KeyIndex(keyPath), name, std::move(value));
}

bool RegDocument::SetAt(std::size_t keyIndex, std::string_view name, RegValue value)
{
    std::vector<RegEntry>& values = m_keys[keyIndex].values;
    const auto [position, added] = m_valueIndex[keyIndex].emplace(std::string(name), values.size());
    if (added) {
        values.push_back({std::string(name), std::move(value)});
        return true;
    }
    RegValue& stored = values[position->second].value;
    if (stored == value) {
        return false;
    }
    stored = std::move(value);
    return true;
}

RegFileContent ParseRegFile(std::string_view text)
{
    RegFileContent content;
    // A byte-order mark says how the text is encoded: UTF-8, or UTF-16 (as Windows tools save it), which
    // is read as the same text in UTF-8.
    std::string decoded;
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    } else if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        content.complete = Utf16ToUtf8(text.substr(2), text.front() == '\xFE', decoded);
        text = decoded;
    }
    RegDocument& document = content.document;
    Lines lines(text);
    bool firstLine = true;
    // The key the value lines belong to; none before the first key and under a deletion.
    constexpr std::size_t kNoKey = std::string_view::npos;
    std::size_t key = kNoKey;
    while (const std::optional<std::string_view> line = lines.Next()) {
        const std::string_view trimmed = TrimLine(*line);
        if (trimmed.empty()) {
            continue;
        }
        if (std::exchange(firstLine, false)) {
            if (trimmed == kSignature) {
                continue;
            }
            content.complete = false;
        }
        if (trimmed.front() == '[') {
            key = kNoKey;
            if (trimmed.back() != ']' || trimmed.size() < 3 || trimmed[1] == '-') {
                content.complete = false;
                continue;
            }
            key = document.KeyIndex(trimmed.substr(1, trimmed.size() - 2));
            continue;
        }
        std::string_view rest = trimmed;
        std::string name;
        if (rest.front() == '@') {
            rest.remove_prefix(1);
        } else if (std::optional<std::string> quoted = TakeQuoted(rest)) {
            name = std::move(*quoted);
        } else {
            rest = {};
        }
        rest = TrimLine(rest);
        std::optional<RegValue> value;
        if (rest.starts_with('=')) {
            value = ParseData(rest.substr(1));
        }
        if (!value || key == kNoKey) {
            content.complete = false;
            continue;
        }
        document.SetAt(key, name, std::move(*value));
    }
    return content;
}

std::string FormatRegFile(const RegDocument& document)
{
    std::string out(kSignature);
    out += "\n\n";
    for (const RegKey& key : document.Keys()) {
        out += '[';
        out += key.path;
        out += "]\n";
        for (const RegEntry& entry : key.values) {
            if (entry.name.empty()) {
                out += '@';
            } else {
                AppendQuoted(out, entry.name);
            }
            out += '=';
            AppendData(out, entry.value);
            out += '\n';
        }
        out += '\n';
    }
    return out;
}
