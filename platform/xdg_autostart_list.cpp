#include "platform/xdg_autostart_list.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/file_access.h"
#include "platform/durable_file.h"
#include "platform/xdg_paths.h"
#include "settings/desktop_entry.h"

namespace {

bool IsEntryName(std::string_view name)
{
    return !name.empty() && name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

bool CanWriteFolder(const std::string& folder)
{
    struct stat status {};
    return !folder.empty() && stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           access(folder.c_str(), W_OK) == 0;
}

}   // namespace

bool OnlyRootCanReplace(std::string_view programPath)
{
    char resolved[PATH_MAX];
    if (realpath(std::string(programPath).c_str(), resolved) == nullptr) {
        return false;
    }
    for (std::string path = resolved;; path = FolderOfPath(path)) {
        struct stat status {};
        if (lstat(path.c_str(), &status) != 0 || status.st_uid != 0 || (status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
            return false;
        }
        if (path == "/") {
            return true;
        }
    }
}

XdgAutostartList XdgAutostartList::ForCurrentUser(std::shared_ptr<SettingsLock> lock)
{
    std::vector<std::string> folders{"/etc/xdg/autostart"};
    const std::string config = XdgConfigHome();
    if (!config.empty()) {
        folders.push_back(config + "/autostart");
    }
    return XdgAutostartList(std::move(folders), 1, std::move(lock));
}

AutostartChange XdgAutostartList::Add(std::string_view name, std::string_view programPath)
{
    if (!IsEntryName(name)) {
        return AutostartChange::Impossible;
    }
    const SettingsLockHold lock(m_lock.get());
    if (lock.Result() != LockResult::Taken) {
        return lock.Result() == LockResult::Busy ? AutostartChange::Busy : AutostartChange::Impossible;
    }
    const bool everyUserSafe = m_machineWide == 0 || OnlyRootCanReplace(programPath);
    for (std::size_t i = 0; i < m_folders.size(); ++i) {
        const std::string& folder = m_folders[i];
        const bool machineWide = i < m_machineWide;
        if ((machineWide && !everyUserSafe) || !MakeFolders(folder, machineWide ? 0755 : 0700) ||
            !CanWriteFolder(folder)) {
            continue;
        }
        const std::string path = folder + "/" + std::string(name) + ".desktop";
        // The writer's default mode, 0644: an entry in a machine-wide folder is read by every session.
        return ReplaceFileContents(path, FormatAutostartEntry(name, programPath)) ? AutostartChange::Made
                                                                                  : AutostartChange::Impossible;
    }
    return AutostartChange::Impossible;
}

AutostartChange XdgAutostartList::Remove(std::string_view name)
{
    if (!IsEntryName(name)) {
        return AutostartChange::Impossible;
    }
    const SettingsLockHold lock(m_lock.get());
    if (lock.Result() != LockResult::Taken) {
        return lock.Result() == LockResult::Busy ? AutostartChange::Busy : AutostartChange::Impossible;
    }
    // Nothing is created here: turning Autoload off must not leave new folders behind.
    bool writable = false;
    bool removed = true;
    for (const std::string& folder : m_folders) {
        if (!CanWriteFolder(folder)) {
            continue;
        }
        writable = true;
        const std::string path = folder + "/" + std::string(name) + ".desktop";
        removed = (unlink(path.c_str()) == 0 || errno == ENOENT) && removed;
    }
    return writable && removed ? AutostartChange::Made : AutostartChange::Impossible;
}
