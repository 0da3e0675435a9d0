#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "shell/file_access.h"

// Writes that survive a crash or a power cut whole or not at all, and a lock that serialises the writers
// of one folder across processes.

// ReadFileLimited in fewer system calls: opened without blocking, checked and sized on the open file.
FileReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes);

// Replaces the file at `path` with `bytes`: a temporary file beside it is written, flushed to the disk
// and renamed over it, and the folder is flushed too. A replaced file keeps its mode; a new one gets
// `newFileMode`. Leftovers of writers that died before their rename are removed first, so call it only
// while holding the folder's FolderLock. False when the file was left as it was.
bool ReplaceFileDurably(const std::string& path, std::string_view bytes, mode_t newFileMode);

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
