#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/settings_backend.h"

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

struct RegDocument {
    std::vector<RegKey> keys;
};

// The keys of a REGEDIT4 text, read the way an import applies them: a key named twice is one key, and a
// value named twice keeps its last assignment; names match without regard to ASCII case. Lines that
// cannot be read (a truncated last line, junk) are skipped. Empty for a text that does not begin with
// the REGEDIT4 signature; a text of nothing but white space is an empty document.
std::optional<RegDocument> ParseRegFile(std::string_view text);

// The REGEDIT4 text of the document; ParseRegFile gives the same document back.
std::string FormatRegFile(const RegDocument& document);

// The value, or null when the key or the value is missing.
const RegValue* FindRegValue(const RegDocument& document, std::string_view keyPath, std::string_view name);

// Sets the value, adding the key and the value when missing. False when the document held that value
// already.
bool SetRegValue(RegDocument& document, std::string_view keyPath, std::string_view name, const RegValue& value);
