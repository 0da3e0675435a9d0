#include "templates/template_store.h"

#include <filesystem>

#include "templates/folder_path.h"
#include "templates/text_file.h"

namespace {

constexpr int kErrorOpeningTemplate = 47;
constexpr int kErrorSavingTemplate = 48;

constexpr std::string_view kTemplatesFolderName = "Templates";

// Makes the user's template folder with copies of the shipped examples. Failures leave what could be done:
// a missing folder shows as such in the editor and on the Options page.
void SeedUserTemplateFolder(const std::string& folder, const std::string& examples)
{
    std::error_code error;
    if (std::filesystem::exists(folder, error) || !std::filesystem::create_directories(folder, error)) {
        return;
    }
    std::vector<std::string> files;
    ListFiles(examples, "*." + std::string(kTemplateExtension), files, true, false);
    for (const std::string& file : files) {
        std::filesystem::copy_file(file, folder / std::filesystem::path(file).filename(),
                                   std::filesystem::copy_options::skip_existing, error);
    }
}

}  // namespace

std::string DefaultTemplateFolder(const ProgramLocation& location)
{
    const std::string program = ProgramFolder(location);
    if (program.empty()) {
        return location.ExecutablePath();
    }
    const std::string own = OwnFilesFolder(location);
    const std::string folder = own + std::string(kTemplatesFolderName);
    if (own != program) {
        SeedUserTemplateFolder(folder, program + std::string(kTemplatesFolderName));
    }
    return folder;
}

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
