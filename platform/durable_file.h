#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "shell/file_access.h"

// Folders for the program's own files, and a lock that serialises the writers of one folder across
// processes.

// The settings backend's names for the shared reader and writer.
inline FileReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes)
{
    return ReadFileLimited(path, maxBytes);
}
inline bool ReplaceFileDurably(const std::string& path, std::string_view bytes, mode_t newFileMode)
{
    return ReplaceFileContents(path, bytes, {LinkHandling::ReplaceTarget, newFileMode});
}

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
