#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/durable_file.h"

#include "settings/autostart_list.h"

// True when nobody but root can replace the program file or any folder above it, so that an entry that
// starts it for every user cannot be turned against them. False for a file that does not exist.
bool OnlyRootCanReplace(std::string_view programPath);

// Programs started at log-on as Desktop Entry files "<name>.desktop" in autostart folders. The folders
// are tried in order; a missing folder is created, and the first that exists and can be written is used
// for adding. The first `machineWide` folders start the program for every user, so they are used only for
// a program that OnlyRootCanReplace; they are made 0755 and their entries 0644, since every user's session
// reads them, and the user's own folders are made 0700. Removing takes the entry out of every folder that
// can be written. Every change is made under the program's lock (shared with the settings file), and is
// not made when the lock stays busy.
class XdgAutostartList final : public AutostartList {
public:
    XdgAutostartList(std::vector<std::string> folders, std::size_t machineWide, std::shared_ptr<SettingsLock> lock)
        : m_folders(std::move(folders)),
          m_machineWide(machineWide),
          m_lock(std::move(lock))
    {
    }
    // The system-wide /etc/xdg/autostart first, then the user's $XDG_CONFIG_HOME/autostart.
    static XdgAutostartList ForCurrentUser(std::shared_ptr<SettingsLock> lock);

    AutostartChange Add(std::string_view name, std::string_view programPath) override;
    AutostartChange Remove(std::string_view name) override;

    const std::vector<std::string>& Folders() const { return m_folders; }

private:
    std::vector<std::string> m_folders;
    std::size_t m_machineWide;
    std::shared_ptr<SettingsLock> m_lock;
};
