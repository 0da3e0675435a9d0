#pragma once

#include <cstddef>
#include <string>

#include "shell/reg_file.h"
#include "shell/settings_backend.h"

// The settings key kept as a REGEDIT4 text file, <config home>/<key name>/<application name>.reg, holding
// the key HKEY_CURRENT_USER\Software\<key name>\<application name>. Every read parses the file afresh, so
// a change made by another running copy is seen at once. Writers take an advisory lock on the folder,
// re-read the file under it, and replace it durably (temporary file, fsync, rename), so concurrent copies
// never lose each other's values and a crash leaves the previous file whole. A file that cannot be
// taken for a settings file (no REGEDIT4 signature, unreadable, over kMaxFileBytes) reads as empty and
// is never overwritten.
class RegFileSettingsBackend final : public SettingsBackend {
public:
    static constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;

    // Opens nothing when any of the three is empty or a name holds '/'.
    RegFileSettingsBackend(std::string configHome, std::string keyName, std::string applicationName);
    // In the user's configuration folder ($XDG_CONFIG_HOME or ~/.config).
    static RegFileSettingsBackend ForCurrentUser(std::string keyName, std::string applicationName);

    std::optional<RegValue> QueryValue(std::string_view name) override;
    bool SetValue(std::string_view name, const RegValue& value) override;

    // Empty when the backend opens nothing.
    const std::string& FilePath() const { return m_path; }

private:
    bool EnsureKey();

    std::string m_folder;
    std::string m_path;
    std::string m_keyPath;
};
