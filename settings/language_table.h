#pragma once

#include <map>
#include <string>
#include <string_view>

#include "core/messages.h"
#include "core/program_location.h"
#include "settings/ini_file.h"

// The current language: numbered messages and the texts of windows, menus and toolbars, read from the
// language file "<name>.lng". Each file is parsed once and again only when it changes on disk, so an
// edited file shows at the next lookup. The file is taken from the user's data folder when it is there,
// else from the program's folder, so a user can add or override translations of an installed program.
// Every English default that is looked up is also written into english.lng, keyed as it is looked up,
// so that file always offers translators every text; it lies in the program's folder, or in the user's
// folder when the program's folder cannot be written.
class LanguageTable final : public MessageSource {
public:
    static constexpr std::string_view kCommonSection = "Common";
    static constexpr std::string_view kTranslatorSection = "Translator";
    // A looked-up value is cut to this many bytes.
    static constexpr std::size_t kMaxValueBytes = 1023;

    explicit LanguageTable(const ProgramLocation& location) : m_location(location) {}

    // Makes `name` (trimmed) the current language and writes every message and translator default
    // into english.lng; true. Loading the current name again, in any letter case, does nothing and
    // gives false. An empty name unloads the language: lookups then give their defaults.
    bool Load(std::string_view name);
    const std::string& LanguageName() const { return m_name; }

    // Message 0..156 in the current language, its English default when the file lacks it; empty for
    // any other id.
    std::string GetString(int messageId) const override;
    // Translator's name (0), contact (1) or date of translation (2); empty for any other index.
    std::string GetTranslatorInfo(int index) const;

    // The value from the current language file, or `defaultText` when it is missing or empty, when no
    // language is loaded, or when the key is empty after trimming. An empty section means "Common".
    // Keys are trimmed of ":;., \t\r\n" at both ends.
    std::string ReadEntry(std::string_view section, std::string_view key, std::string_view defaultText) const;
    // Writes `text` into english.lng, whatever the current language; english.lng is left untouched
    // when it holds that text already. Nothing happens when no language is loaded or the key is empty.
    // False when the text is not in the file afterwards.
    bool WriteDefault(std::string_view section, std::string_view key, std::string_view text) const;
    // Whether english.lng holds `key` in `section`, written or held for the next write.
    bool HoldsDefault(std::string_view section, std::string_view key) const;
    // Between these two (they nest) the defaults go into english.lng together, in one write at the end:
    // a first start looks up some three hundred of them.
    void HoldDefaults() const;
    void WriteHeldDefaults() const;

    // The file that is read for the language `name`: "<name>.lng" in the user's data folder when it
    // exists there, else in the program's folder; english.lng is always the file the defaults are written
    // to. Empty when no folder is known.
    std::string LanguageFilePath(std::string_view name) const;
    // english.lng in the folder of the program's own files: the program's folder, or the user's folder
    // when the program's folder cannot be written. Empty when no folder is known.
    std::string EnglishFilePath() const;

private:
    std::string LookUp(std::string_view section, std::string_view key, std::string_view defaultText) const;
    // The parsed file at `path`, kept for the next lookup.
    IniFile& File(const std::string& path) const;
    // Makes the user's folder when english.lng belongs there and it is missing; false when it was not made.
    bool MakeUserFolder() const;

    const ProgramLocation& m_location;
    std::string m_name;
    // A lookup touches at most two files (english.lng and the current language's); a handful of paths
    // over a session at most, as folders become writable or user files appear.
    mutable std::map<std::string, IniFile, std::less<>> m_files;
};

// `key` without the characters ":;., \t\r\n" at either end.
std::string_view TrimLanguageKey(std::string_view key);

// Whether a control or menu text is worth translating: not empty, and holding at least one character
// other than digits, blanks, tabs and & _ - % > < . ,
bool IsTranslatableText(std::string_view text);
