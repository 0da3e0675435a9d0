#include "platform/reg_file_settings_backend.h"

#include <sys/stat.h>

#include "platform/durable_file.h"
#include "platform/xdg_paths.h"

namespace {

bool IsName(const std::string& name)
{
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

enum class Loaded { Ok, Missing, Foreign };

// The document in the file; Foreign for a file that is not a settings file we can rewrite.
Loaded Load(const std::string& path, RegDocument& document)
{
    const FileReadResult file = ReadRegularFile(path, RegFileSettingsBackend::kMaxFileBytes);
    if (file.status == FileReadStatus::Missing) {
        return Loaded::Missing;
    }
    if (file.status != FileReadStatus::Ok) {
        return Loaded::Foreign;
    }
    std::optional<RegDocument> parsed = ParseRegFile(file.bytes);
    if (!parsed) {
        return Loaded::Foreign;
    }
    document = std::move(*parsed);
    return Loaded::Ok;
}

// Applies `change` to the file under the folder's lock; `change` returns whether it changed anything.
template <typename Change>
bool Update(const std::string& folder, const std::string& path, Change change)
{
    if (!MakeFolders(folder, 0700)) {
        return false;
    }
    const FolderLock lock(folder);
    if (!lock.Locked()) {
        return false;
    }
    RegDocument document;
    if (Load(path, document) == Loaded::Foreign) {
        return false;
    }
    if (!change(document)) {
        return true;
    }
    const std::string text = FormatRegFile(document);
    return text.size() <= RegFileSettingsBackend::kMaxFileBytes && ReplaceFileDurably(path, text, 0600);
}

}  // namespace

RegFileSettingsBackend::RegFileSettingsBackend(std::string configHome, std::string keyName,
                                               std::string applicationName)
{
    if (configHome.empty() || !IsName(keyName) || !IsName(applicationName)) {
        return;
    }
    m_folder = configHome + "/" + keyName;
    m_path = m_folder + "/" + applicationName + ".reg";
    m_keyPath = "HKEY_CURRENT_USER\\Software\\" + keyName + "\\" + applicationName;
}

RegFileSettingsBackend RegFileSettingsBackend::ForCurrentUser(std::string keyName, std::string applicationName)
{
    return RegFileSettingsBackend(XdgConfigHome(), std::move(keyName), std::move(applicationName));
}

bool RegFileSettingsBackend::EnsureKey()
{
    return Update(m_folder, m_path, [this](RegDocument& document) {
        // Another copy may have created the file meanwhile.
        if (!document.keys.empty()) {
            return false;
        }
        document.keys.push_back({m_keyPath, {}});
        return true;
    });
}

std::optional<RegValue> RegFileSettingsBackend::QueryValue(std::string_view name)
{
    if (m_path.empty()) {
        return std::nullopt;
    }
    RegDocument document;
    switch (Load(m_path, document)) {
    case Loaded::Missing:
        // As a registry key, the file comes into being at the first read of a fresh profile.
        EnsureKey();
        return std::nullopt;
    case Loaded::Foreign:
        return std::nullopt;
    case Loaded::Ok:
        break;
    }
    const RegValue* value = FindRegValue(document, m_keyPath, name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return *value;
}

bool RegFileSettingsBackend::SetValue(std::string_view name, const RegValue& value)
{
    if (m_path.empty()) {
        return false;
    }
    return Update(m_folder, m_path,
                  [&](RegDocument& document) { return SetRegValue(document, m_keyPath, name, value); });
}
