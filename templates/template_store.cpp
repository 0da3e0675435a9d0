#include "templates/template_store.h"

#include <filesystem>

#include "templates/folder_path.h"
#include "templates/text_file.h"

namespace {

constexpr int kErrorOpeningTemplate = 47;
constexpr int kErrorSavingTemplate = 48;

}  // namespace

bool IsValidTemplateName(std::string_view name)
{
    return !name.empty() && name.find_first_of(kForbiddenTemplateCharacters) == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

std::string TemplateStore::TemplateFolder() const
{
    std::string folder;
    m_settings.ReadString(SettingId::TemplateFolder, folder);
    NormalizeFolderPath(folder, m_location);
    return folder;
}

void TemplateStore::TemplatePath(std::string_view name, std::string& path) const
{
    if (name.empty()) {
        return;
    }
    path = TemplateFolder();
    path += name;
    path += '.';
    path += kTemplateExtension;
}

bool TemplateStore::LoadTemplate(std::string_view name, std::string& text) const
{
    if (name.empty()) {
        return false;
    }
    std::string path;
    TemplatePath(name, path);
    std::string read;
    // A name with a separator could reach outside the template folder: it fails like an unreadable file.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!IsValidTemplateName(name) || (!error && size > kMaxTemplateBytes) || !ReadTextFile(path, read)) {
        Report(kErrorOpeningTemplate, path);
        return false;
    }
    text = std::move(read);
    return true;
}

bool TemplateStore::SaveTemplate(std::string_view name, std::string_view text) const
{
    if (name.empty()) {
        return false;
    }
    std::string path;
    TemplatePath(name, path);
    if (!IsValidTemplateName(name) || !WriteTextFile(path, text, true)) {
        Report(kErrorSavingTemplate, path);
        return false;
    }
    return true;
}

void TemplateStore::Report(int messageId, const std::string& path) const
{
    if (m_reportError) {
        m_reportError(m_messages.GetString(messageId) + " \"" + path + "\"");
    }
}
