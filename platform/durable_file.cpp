#include "platform/durable_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

bool MakeFolderPrivate(const std::string& path)
{
    // Opened without following a link, and changed through that descriptor: the folder checked is the
    // folder changed.
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat status {};
    bool done = fstat(fd, &status) == 0 && status.st_uid == geteuid();
    if (done && (status.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        done = fchmod(fd, status.st_mode & S_IRWXU) == 0;
    }
    close(fd);
    return done;
}

FolderLock::FolderLock(const std::string& folder)
{
    m_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) {
        return;
    }
    while (flock(m_fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            close(m_fd);
            m_fd = -1;
            return;
        }
    }
}

FolderLock::~FolderLock()
{
    if (m_fd >= 0) {
        close(m_fd);
    }
}
