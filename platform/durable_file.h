#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "core/file_access.h"

// Folders for the program's own files, and a lock that serialises the writers of one folder across
// processes.

// Creates the folder and its missing parents with `mode`; true when it exists afterwards.
bool MakeFolders(const std::string& path, mode_t mode);

// An exclusive advisory lock (flock) on a folder, held from construction to destruction, released by
// the kernel also when the holder dies.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool Locked() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
