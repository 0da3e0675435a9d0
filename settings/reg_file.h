#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "settings/settings_backend.h"

// The REGEDIT4 text form of registry keys, in which the settings file keeps every value with its type:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Orvane\Chronel]
//   "ActivePageNo"=dword:00000002
//   "Lang"="english"
//
// Texts are quoted with '\' escaping '\' and '"'; a text holding control characters is written as
// hex(1): bytes so that it survives exactly; other types as hex: (binary) or hex(n):.

struct RegEntry {
    std::string name;   // "" is the key's default value, written as @
    RegValue value;
};

struct RegKey {
    std::string path;   // e.g. HKEY_CURRENT_USER\Software\Orvane\Chronel
    std::vector<RegEntry> values;
};

struct RegFileContent;

// Keys and their values in file order. Key paths and value names match without regard to ASCII case;
// both are indexed, so a lookup or an assignment costs the same in a file of any size.
class RegDocument {
public:
    const std::vector<RegKey>& Keys() const { return m_keys; }

    // The value, or null when the key or the value is missing.
    const RegValue* Find(std::string_view keyPath, std::string_view name) const;
    // Sets the value, adding the key and the value when missing. False when the document held that
    // value already.
    bool Set(std::string_view keyPath, std::string_view name, RegValue value);
    // Adds the key, without values, when it is missing; false when it was there.
    bool AddKey(std::string_view keyPath);

private:
    struct NoCaseHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const;
    };
    struct NoCaseEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using NameIndex = std::unordered_map<std::string, std::size_t, NoCaseHash, NoCaseEqual>;

    friend RegFileContent ParseRegFile(std::string_view text);
    // The position of the key in m_keys, added when missing.
    std::size_t KeyIndex(std::string_view keyPath);
    bool SetAt(std::size_t keyIndex, std::string_view name, RegValue value);

    std::vector<RegKey> m_keys;
    NameIndex m_keyIndex;                  // key path -> position in m_keys
    std::vector<NameIndex> m_valueIndex;   // per key: value name -> position in its values
};

struct RegFileContent {
    RegDocument document;
    // False when some of the text was not taken: no REGEDIT4 signature first, a line that is neither a
    // key nor a value of one (junk, a truncated value), a deletion. Writing the document back would
    // lose those lines.
    bool complete = true;
};

// The keys of a REGEDIT4 text, read the way an import applies them: a key named twice is one key, and a
// value named twice keeps its last assignment. The text is UTF-8, or UTF-16 (either byte order) after a
// byte-order mark; lines end in LF, CR LF or CR. Every readable line counts, also after a missing
// signature or a damaged line. A text of nothing but white space is a complete, empty document.
// Linear in the size of the text.
RegFileContent ParseRegFile(std::string_view text);

// The REGEDIT4 text of the document, UTF-8 with LF line ends; ParseRegFile gives the same document back,
// complete.
std::string FormatRegFile(const RegDocument& document);
