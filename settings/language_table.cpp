#include "settings/language_table.h"

#include <filesystem>

#include "core/ascii.h"
#include "core/folder_path.h"
#include "settings/default_messages.h"
#include "settings/ini_file.h"

namespace {

constexpr std::string_view kEnglish = "english";

std::string_view TrimName(std::string_view name)
{
    return TrimAny(name, " \t\r\n");
}

std::string_view SectionOrCommon(std::string_view section)
{
    return section.empty() ? LanguageTable::kCommonSection : section;
}

std::string IdKey(int id)
{
    return "ID_" + std::to_string(id);
}

}   // namespace

std::string_view TrimLanguageKey(std::string_view key)
{
    constexpr std::string_view kTrimmed = ":;., \t\r\n";
    const std::size_t first = key.find_first_not_of(kTrimmed);
    if (first == std::string_view::npos) {
        return {};
    }
    return key.substr(first, key.find_last_not_of(kTrimmed) - first + 1);
}

bool IsTranslatableText(std::string_view text)
{
    return text.find_first_not_of("0123456789 \t&_-%><.,") != std::string_view::npos;
}

std::string LanguageTable::LanguageFilePath(std::string_view name) const
{
    // The program keeps english.lng current itself: reading any other copy would show stale texts.
    if (name == kEnglish) {
        return EnglishFilePath();
    }
    const std::string file = std::string(name) + ".lng";
    if (const std::string user = m_location.UserDataFolder(); !user.empty()) {
        std::error_code error;
        if (std::filesystem::exists(user + file, error)) {
            return user + file;
        }
    }
    // Without a folder there is no language file; never fall back to the working folder.
    const std::string program = ProgramFolder(m_location);
    return program.empty() ? program : program + file;
}

std::string LanguageTable::EnglishFilePath() const
{
    const std::string folder = OwnFilesFolder(m_location);
    return folder.empty() ? folder : folder + std::string(kEnglish) + ".lng";
}

bool LanguageTable::Load(std::string_view name)
{
    name = TrimName(name);
    if (EqualNoCase(name, m_name)) {
        return false;
    }
    m_name = std::string(name);
    for (int id = 0; id < kMessageCount; ++id) {
        GetString(id);
    }
    for (int index = 0; index < kTranslatorInfoCount; ++index) {
        GetTranslatorInfo(index);
    }
    return true;
}

std::string LanguageTable::GetString(int messageId) const
{
    if (messageId < 0 || messageId >= kMessageCount) {
        return {};
    }
    return LookUp(kCommonSection, IdKey(messageId), DefaultMessage(messageId));
}

std::string LanguageTable::GetTranslatorInfo(int index) const
{
    if (index < 0 || index >= kTranslatorInfoCount) {
        return {};
    }
    return LookUp(kTranslatorSection, IdKey(index), DefaultTranslatorInfo(index));
}

std::string LanguageTable::LookUp(std::string_view section, std::string_view key, std::string_view defaultText) const
{
    const bool written = WriteDefault(section, key, defaultText);
    // In English the file just made to hold the default is the one that would be read: spare the read.
    if (written && !m_name.empty() && LanguageFilePath(m_name) == EnglishFilePath()) {
        const std::string_view stored = CutUtf8(TrimIniValue(defaultText), kMaxValueBytes);
        return std::string(stored.empty() ? defaultText : stored);
    }
    return ReadEntry(section, key, defaultText);
}

std::string LanguageTable::ReadEntry(std::string_view section, std::string_view key, std::string_view defaultText) const
{
    key = TrimLanguageKey(key);
    // A name holding '/' or a zero byte would name a file outside the program's folder.
    if (m_name.empty() || key.empty() || m_name.find_first_of(std::string_view("/\0", 2)) != std::string::npos) {
        return std::string(defaultText);
    }
    const std::string path = LanguageFilePath(m_name);
    if (path.empty()) {
        return std::string(defaultText);
    }
    std::optional<std::string> value = File(path).Read(SectionOrCommon(section), key, kMaxValueBytes);
    if (!value || value->empty()) {
        return std::string(defaultText);
    }
    return std::move(*value);
}

IniFile& LanguageTable::File(const std::string& path) const
{
    auto found = m_files.find(path);
    if (found == m_files.end()) {
        found = m_files.emplace(path, IniFile(path)).first;
    }
    return found->second;
}

bool LanguageTable::WriteDefault(std::string_view section, std::string_view key, std::string_view text) const
{
    key = TrimLanguageKey(key);
    if (m_name.empty() || key.empty()) {
        return false;
    }
    const std::string path = EnglishFilePath();
    if (path.empty()) {
        return false;
    }
    IniFile& file = File(path);
    if (file.Write(SectionOrCommon(section), key, text)) {
        return true;
    }
    return MakeUserFolder() && file.Write(SectionOrCommon(section), key, text);
}

bool LanguageTable::HoldsDefault(std::string_view section, std::string_view key) const
{
    key = TrimLanguageKey(key);
    const std::string path = EnglishFilePath();
    return !path.empty() && !key.empty() && File(path).Read(SectionOrCommon(section), key, kMaxValueBytes).has_value();
}

bool LanguageTable::MakeUserFolder() const
{
    // The user's folder is made on the first write; the program's folder never is (it vanished, or
    // the program runs from somewhere unexpected).
    const std::string user = m_location.UserDataFolder();
    std::error_code error;
    return !user.empty() && OwnFilesFolder(m_location) == user && !std::filesystem::exists(user, error) &&
           MakeFolders(user, 0700);
}

void LanguageTable::HoldDefaults() const
{
    if (const std::string path = EnglishFilePath(); !path.empty()) {
        File(path).HoldWrites();
    }
}

void LanguageTable::WriteHeldDefaults() const
{
    if (const std::string path = EnglishFilePath(); !path.empty()) {
        IniFile& file = File(path);
        if (!file.WriteHeld() && MakeUserFolder()) {
            file.WriteHeld();
        }
    }
}
