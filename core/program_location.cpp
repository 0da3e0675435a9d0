#include "core/program_location.h"

#include <filesystem>
#include <vector>

#include "core/folder_path.h"

namespace {

constexpr std::string_view kTemplatesFolderName = "Templates";

// Makes the user's template folder with copies of the shipped examples. Failures leave what could be done:
// a missing folder shows as such in the editor and on the Options page.
void SeedUserTemplateFolder(const std::string& folder, const std::string& examples)
{
    std::error_code error;
    // The user's folders are private (0700), as the XDG rules ask.
    if (std::filesystem::exists(folder, error) || !MakeFolders(folder, 0700)) {
        return;
    }
    std::vector<std::string> files;
    ListFiles(examples, "*." + std::string(kTemplateExtension), files, true, false);
    for (const std::string& file : files) {
        std::filesystem::copy_file(file, folder / std::filesystem::path(file).filename(),
                                   std::filesystem::copy_options::skip_existing, error);
    }
}

}   // namespace

std::string ProgramFolder(const ProgramLocation& location)
{
    const std::string path = location.ExecutablePath();
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string OwnFilesFolder(const ProgramLocation& location)
{
    std::string user = location.UserDataFolder();
    if (user.empty() || location.CanWriteProgramFolder()) {
        return ProgramFolder(location);
    }
    return user;
}

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
