#pragma once

#include <string>
#include <vector>

#include "shell/autostart.h"

// Programs started at log-on as Desktop Entry files "<name>.desktop" in autostart folders. The folders
// are tried in order; a missing folder is created, and the first that exists and can be written is
// used, for adding and removing alike.
class XdgAutostartList final : public AutostartList {
public:
    explicit XdgAutostartList(std::vector<std::string> folders) : m_folders(std::move(folders)) {}
    // The system-wide /etc/xdg/autostart first, then the user's $XDG_CONFIG_HOME/autostart.
    static XdgAutostartList ForCurrentUser();

    bool Add(std::string_view name, std::string_view programPath) override;
    bool Remove(std::string_view name) override;

    const std::vector<std::string>& Folders() const { return m_folders; }

private:
    // Empty when no folder can be written.
    std::string WritableFolder() const;

    std::vector<std::string> m_folders;
};
