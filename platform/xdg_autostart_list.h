#pragma once

#include <string>
#include <vector>

#include "settings/autostart_list.h"

// True when nobody but root can replace the program file or any folder above it, so that an entry that
// starts it for every user cannot be turned against them. False for a file that does not exist.
bool OnlyRootCanReplace(std::string_view programPath);

// Programs started at log-on as Desktop Entry files "<name>.desktop" in autostart folders. The folders
// are tried in order; a missing folder is created, and the first that exists and can be written is used
// for adding. The first `machineWide` folders start the program for every user, so they are used only for
// a program that OnlyRootCanReplace. Removing takes the entry out of every folder that can be written.
class XdgAutostartList final : public AutostartList {
public:
    explicit XdgAutostartList(std::vector<std::string> folders, std::size_t machineWide = 0)
        : m_folders(std::move(folders)),
          m_machineWide(machineWide)
    {
    }
    // The system-wide /etc/xdg/autostart first, then the user's $XDG_CONFIG_HOME/autostart.
    static XdgAutostartList ForCurrentUser();

    bool Add(std::string_view name, std::string_view programPath) override;
    bool Remove(std::string_view name) override;

    const std::vector<std::string>& Folders() const { return m_folders; }

private:
    std::vector<std::string> m_folders;
    std::size_t m_machineWide;
};
