#include "platform/xdg_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/durable_file.h"

namespace {

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

}   // namespace

std::string XdgConfigHome()
{
    // XDG base directories must be absolute; a relative one is ignored.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/') {
        return config;
    }
    const std::string home = HomeFolder();
    return home.empty() ? home : home + "/.config";
}

std::string XdgDataHome()
{
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') {
        return data;
    }
    const std::string home = HomeFolder();
    return home.empty() ? home : home + "/.local/share";
}

void MakeOwnFoldersPrivate(std::string_view keyName, std::string_view applicationName)
{
    const std::string key(keyName);
    if (const std::string config = XdgConfigHome(); !config.empty()) {
        MakeFolderPrivate(config + "/" + key);
    }
    if (const std::string data = XdgDataHome(); !data.empty()) {
        MakeFolderPrivate(data + "/" + key);
        MakeFolderPrivate(data + "/" + key + "/" + std::string(applicationName));
    }
}
