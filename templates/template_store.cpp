#include "templates/template_store.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/file_access.h"
#include "core/folder_path.h"

namespace {

constexpr int kErrorOpeningTemplate = 47;
constexpr int kErrorSavingTemplate = 48;

// True when `path` is a symbolic link whose target (followed to its end) is not inside `folder`, or
// cannot be resolved: writing through it would change a file the template folder does not hold.
bool LinkLeavesFolder(const std::string& path, const std::string& folder)
{
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
        return false;
    }
    char target[PATH_MAX];
    char home[PATH_MAX];
    if (realpath(path.c_str(), target) == nullptr || realpath(folder.c_str(), home) == nullptr) {
        return true;
    }
    std::string inside = home;
    if (!inside.ends_with('/')) {
        inside += '/';
    }
    return !std::string_view(target).starts_with(inside);
}

}   // namespace

bool IsValidTemplateName(std::string_view name)
{
    return !name.empty() && name.find_first_of(kForbiddenTemplateCharacters) == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

TemplateStore::TemplateStore(const SettingsStore& settings, const ProgramLocation& location,
                             const MessageSource& messages, ErrorReporter reportError)
    : m_messages(messages),
      m_reportError(std::move(reportError))
{
    settings.ReadString(SettingId::TemplateFolder, m_folder);
    NormalizeFolderPath(m_folder, location);
}

std::string TemplateStore::TemplatePath(std::string_view name) const
{
    if (name.empty()) {
        return {};
    }
    return m_folder + std::string(name) + "." + std::string(kTemplateExtension);
}

std::optional<LoadedTemplate> TemplateStore::LoadTemplate(std::string_view name) const
{
    if (name.empty()) {
        return std::nullopt;
    }
    const std::string path = TemplatePath(name);
    // A name with a separator could reach outside the template folder: it fails like an unreadable file.
    FileReadResult file;
    if (IsValidTemplateName(name)) {
        file = ReadFileLimited(path, kMaxTemplateBytes);
    }
    if (file.status != FileReadStatus::Ok) {
        Report(kErrorOpeningTemplate, path);
        return std::nullopt;
    }
    return LoadedTemplate{std::move(file.bytes), LinkLeavesFolder(path, m_folder)};
}

bool TemplateStore::SaveTemplate(std::string_view name, std::string_view text) const
{
    if (name.empty()) {
        return false;
    }
    const std::string path = TemplatePath(name);
    if (!IsValidTemplateName(name) || LinkLeavesFolder(path, m_folder) || !ReplaceFileContents(path, text)) {
        Report(kErrorSavingTemplate, path);
        return false;
    }
    return true;
}

bool TemplateStore::DeleteTemplate(std::string_view name) const
{
    // unlink removes a link itself, never what it points at.
    return IsValidTemplateName(name) && unlink(TemplatePath(name).c_str()) == 0;
}

void TemplateStore::Report(int messageId, const std::string& path) const
{
    if (m_reportError) {
        m_reportError(m_messages.GetString(messageId) + " \"" + path + "\"");
    }
}
