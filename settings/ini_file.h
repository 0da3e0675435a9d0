#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/file_access.h"

// Profile (INI) files as Windows reads and writes them: sections and keys match without regard to the
// case of ASCII letters; section names, keys and values are trimmed of white space; the first matching
// section and, in it, the first matching key win, so later duplicates are never seen. A '[' line counts
// as a section header up to its last ']'; any other line is a key, up to its first '=', and a line
// without '=' is a key without a value. Line ends may be LF or CR LF. A value ends at a zero byte.

// The value of `key` in `section`, empty optional when either is missing.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section, std::string_view key);

enum class IniUpdate {
    Unchanged,   // the file already holds that value
    Changed,
    Invalid,   // the section, key or value cannot be stored as written (see SetIniValue)
};

// Sets `key` to the trimmed `value` in the first section named `section`: the key's line is rewritten in
// place, a missing key is added after the section's last line, a missing section is added at the end.
// Other lines stay byte for byte, and added lines take the file's line end. Empty or padded names, a key
// holding '=' or starting with '[', and a line break or zero byte anywhere are Invalid.
IniUpdate SetIniValue(std::string& text, std::string_view section, std::string_view key, std::string_view value);

// The value as a lookup gives it back after it was written: trimmed of white space.
std::string_view TrimIniValue(std::string_view value);

struct IniEntry {
    std::string section, key, value;
};

// Every key line with its section, in file order, duplicates included.
std::vector<IniEntry> ListIniEntries(std::string_view text);

// The values of a profile text by section and key, as FindIniValue finds them, read in one pass, so that
// a lookup costs the same in a text of any size.
class IniIndex {
public:
    IniIndex() = default;
    explicit IniIndex(std::string_view text);

    // As FindIniValue(text, section, key).
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
    // Whether SetIniValue(text, section, key, value) would find the text holding that value already.
    bool Holds(std::string_view section, std::string_view key, std::string_view value) const;
    // Follows a SetIniValue(text, section, key, value) that changed the text.
    void Set(std::string_view section, std::string_view key, std::string_view value);

private:
    struct Value {
        std::string text;
        bool hasValue = false;   // false for a key line without '='
    };
    // Section and key in lower case, joined by a line feed, which neither can hold.
    static std::string IndexKey(std::string_view section, std::string_view key);

    std::unordered_map<std::string, Value> m_values;
};

// One profile file on disk. It is read once and again only when its inode, size or modification time
// changes, so an edit made meanwhile shows at the next lookup; a write updates the copy in memory
// without reading the file back, and is skipped when the file holds that value already. Files larger
// than kMaxIniFileBytes count as unreadable: lookups find nothing and writes leave them alone.
class IniFile {
public:
    static constexpr std::size_t kMaxIniFileBytes = 4 * 1024 * 1024;

    explicit IniFile(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }

    // The value cut to at most `maxBytes` bytes (never inside a UTF-8 sequence), or empty when the file,
    // the section or the key is missing.
    std::optional<std::string> Read(std::string_view section, std::string_view key, std::size_t maxBytes);
    // True when the file holds the value afterwards; the file is not touched when it held it already,
    // and an unreadable, oversized or read-only (no write permission for its owner) file is never
    // replaced.
    bool Write(std::string_view section, std::string_view key, std::string_view value);

    // Between HoldWrites and the matching WriteHeld (they nest), writes change only the copy in memory,
    // which lookups read, and the file is not read again; WriteHeld then replaces the file once. False
    // when that write failed: the values stay in memory and the next WriteHeld or Write tries again.
    void HoldWrites() { ++m_holds; }
    bool WriteHeld();

private:
    void Refresh();

    std::string m_path;
    bool m_loaded = false;
    FileStamp m_stamp;
    FileReadStatus m_status = FileReadStatus::Missing;
    std::string m_text;
    IniIndex m_index;
    int m_holds = 0;
    bool m_unwritten = false;   // the copy in memory holds values the file does not
};

// `text` cut to at most `maxBytes` bytes without splitting a UTF-8 sequence.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes);
