#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "core/file_access.h"
#include "core/folder_path.h"

// Folders for the program's own files (MakeFolders is in core/folder_path.h), and a lock that serialises
// the writers of one folder across processes.

// Takes group and other permissions from the folder at `path` when it is a folder of the user's own;
// a link in its place is left alone, never followed. True when the folder is private afterwards.
bool MakeFolderPrivate(const std::string& path);

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
