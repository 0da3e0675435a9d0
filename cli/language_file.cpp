#include "cli/language_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include "core/ascii.h"
#include "settings/default_messages.h"
#include "settings/language_table.h"

namespace {

// The section of the template menus (menu 143), whose Substitution items label the output lines.
constexpr std::string_view kTemplateMenuSection = "MenuID_143";

bool IsReadableFile(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), R_OK) == 0;
}

}   // namespace

std::optional<LanguageFile> LanguageFile::Find(std::string_view name, const ProgramLocation& location,
                                               std::string& problem)
{
    name = TrimAny(name, " \t\r\n");
    if (name.empty() || name.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos) {
        problem = "'" + std::string(name) + "' is no language name (a language is a file NAME.lng)";
        return std::nullopt;
    }
    const std::string path = LanguageTable(location).LanguageFilePath(name);
    if (!path.empty() && IsReadableFile(path)) {
        return LanguageFile(path);
    }
    if (EqualNoCase(name, "english")) {
        return LanguageFile();
    }
    problem = "no language file " + std::string(name) + ".lng";
    if (const std::string user = location.UserDataFolder(); !user.empty()) {
        problem += " in " + user + " or";
    }
    problem += " beside the program (" + ProgramFolder(location) + ")";
    return std::nullopt;
}

std::string LanguageFile::Read(std::string_view section, std::string_view key, std::string_view defaultText) const
{
    if (!m_file) {
        return std::string(defaultText);
    }
    std::optional<std::string> value = m_file->Read(section, key, LanguageTable::kMaxValueBytes);
    return value && !value->empty() ? std::move(*value) : std::string(defaultText);
}

std::string LanguageFile::GetString(int messageId) const
{
    if (messageId < 0 || messageId >= kMessageCount) {
        return {};
    }
    return Read(LanguageTable::kCommonSection, "ID_" + std::to_string(messageId), DefaultMessage(messageId));
}

std::string LanguageFile::MenuLabel(int commandId, std::string_view label) const
{
    // An entry that differs only by the label's outer blanks is the same text: keep the label's own blank.
    std::string text = Read(kTemplateMenuSection, "ID_" + std::to_string(commandId), label);
    return text == TrimIniValue(label) ? std::string(label) : text;
}
