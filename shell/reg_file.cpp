#include "shell/reg_file.h"

#include <cstdio>

#include "core/ascii.h"

namespace {

constexpr std::string_view kSignature = "REGEDIT4";
constexpr std::string_view kSpace = " \t\r\v\f";

std::string_view Trim(std::string_view text)
{
    return TrimAny(text, kSpace);
}

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
    text = Trim(text);
    if (text.empty()) {
        return bytes;
    }
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = Trim(text.substr(0, comma));
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
    data = Trim(data);
    RegValue value;
    if (!data.empty() && data.front() == '"') {
        std::optional<std::string> text = TakeQuoted(data);
        if (!text || !Trim(data).empty()) {
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

RegKey* FindKey(RegDocument& document, std::string_view path)
{
    for (RegKey& key : document.keys) {
        if (EqualNoCase(key.path, path)) {
            return &key;
        }
    }
    return nullptr;
}

// Lines of the text with their line ends removed; a hex value ending in '\' continues on the next line.
class Lines {
public:
    explicit Lines(std::string_view text) : m_text(text) {}

    bool Next(std::string& line)
    {
        if (m_pos >= m_text.size()) {
            return false;
        }
        line.assign(TakeRaw());
        while (!line.empty() && Trim(line).ends_with('\\') && IsHexValue(line) && m_pos < m_text.size()) {
            line = std::string(Trim(line));
            line.pop_back();
            line += Trim(TakeRaw());
        }
        return true;
    }

private:
    std::string_view TakeRaw()
    {
        std::size_t end = m_text.find('\n', m_pos);
        if (end == std::string_view::npos) {
            end = m_text.size();
        }
        std::string_view raw = m_text.substr(m_pos, end - m_pos);
        m_pos = end + 1;
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        return raw;
    }

    static bool IsHexValue(std::string_view line)
    {
        const std::size_t equals = line.rfind("=hex");
        return equals != std::string_view::npos;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
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

}  // namespace

std::optional<RegDocument> ParseRegFile(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    RegDocument document;
    Lines lines(text);
    std::string line;
    bool signatureSeen = false;
    RegKey* key = nullptr;
    while (lines.Next(line)) {
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty()) {
            continue;
        }
        if (!signatureSeen) {
            if (trimmed != kSignature) {
                return std::nullopt;
            }
            signatureSeen = true;
            continue;
        }
        if (trimmed.front() == '[') {
            key = nullptr;
            if (trimmed.back() != ']' || trimmed.size() < 3 || trimmed[1] == '-') {
                continue;
            }
            const std::string_view path = trimmed.substr(1, trimmed.size() - 2);
            key = FindKey(document, path);
            if (key == nullptr) {
                document.keys.push_back({std::string(path), {}});
                key = &document.keys.back();
            }
            continue;
        }
        if (key == nullptr) {
            continue;
        }
        std::string_view rest = trimmed;
        std::string name;
        if (rest.front() == '@') {
            rest.remove_prefix(1);
        } else {
            std::optional<std::string> quoted = TakeQuoted(rest);
            if (!quoted) {
                continue;
            }
            name = std::move(*quoted);
        }
        rest = Trim(rest);
        if (!rest.starts_with('=')) {
            continue;
        }
        std::optional<RegValue> value = ParseData(rest.substr(1));
        if (value) {
            SetRegValue(document, key->path, name, *value);
        }
    }
    return document;
}

std::string FormatRegFile(const RegDocument& document)
{
    std::string out(kSignature);
    out += "\n\n";
    for (const RegKey& key : document.keys) {
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

const RegValue* FindRegValue(const RegDocument& document, std::string_view keyPath, std::string_view name)
{
    for (const RegKey& key : document.keys) {
        if (!EqualNoCase(key.path, keyPath)) {
            continue;
        }
        for (const RegEntry& entry : key.values) {
            if (EqualNoCase(entry.name, name)) {
                return &entry.value;
            }
        }
        return nullptr;
    }
    return nullptr;
}

bool SetRegValue(RegDocument& document, std::string_view keyPath, std::string_view name, const RegValue& value)
{
    RegKey* key = FindKey(document, keyPath);
    if (key == nullptr) {
        document.keys.push_back({std::string(keyPath), {}});
        key = &document.keys.back();
    }
    for (RegEntry& entry : key->values) {
        if (EqualNoCase(entry.name, name)) {
            if (entry.value == value) {
                return false;
            }
            entry.value = value;
            return true;
        }
    }
    key->values.push_back({std::string(name), value});
    return true;
}
