#include "platform/xdg_autostart_list.h"

#include <unistd.h>

#include <cerrno>

#include "platform/durable_file.h"
#include "platform/xdg_paths.h"
#include "shell/desktop_entry.h"

namespace {

bool IsEntryName(std::string_view name)
{
    return !name.empty() && name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

}  // namespace

XdgAutostartList XdgAutostartList::ForCurrentUser()
{
    std::vector<std::string> folders{"/etc/xdg/autostart"};
    const std::string config = XdgConfigHome();
    if (!config.empty()) {
        folders.push_back(config + "/autostart");
    }
    return XdgAutostartList(std::move(folders));
}

std::string XdgAutostartList::WritableFolder() const
{
    for (const std::string& folder : m_folders) {
        if (!folder.empty() && MakeFolders(folder, 0755) && access(folder.c_str(), W_OK) == 0) {
            return folder;
        }
    }
    return {};
}

bool XdgAutostartList::Add(std::string_view name, std::string_view programPath)
{
    const std::string folder = WritableFolder();
    if (folder.empty() || !IsEntryName(name)) {
        return false;
    }
    const FolderLock lock(folder);
    const std::string path = folder + "/" + std::string(name) + ".desktop";
    return lock.Locked() && ReplaceFileDurably(path, FormatAutostartEntry(name, programPath), 0644);
}

bool XdgAutostartList::Remove(std::string_view name)
{
    const std::string folder = WritableFolder();
    if (folder.empty() || !IsEntryName(name)) {
        return false;
    }
    const std::string path = folder + "/" + std::string(name) + ".desktop";
    return unlink(path.c_str()) == 0 || errno == ENOENT;
}
