#include "platform/durable_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "core/write_place.h"

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

SettingsLock::~SettingsLock()
{
    if (m_fd >= 0) {
        close(m_fd);
    }
}

bool SettingsLock::Open()
{
    if (m_fd >= 0) {
        return true;
    }
    // O_NONBLOCK: a pipe planted in the file's place must not stall the open.
    constexpr int kFlags = O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;
    const std::size_t slash = m_path.rfind('/');
    if (slash == std::string::npos || slash == 0 || !MakeFolders(m_path.substr(0, slash), 0700)) {
        return false;
    }
    // Found as every written file is: another user's link in a shared folder on the way is not followed.
    const WritePlace place = FindWritePlace(m_path, false);
    if (place.error != 0) {
        return false;
    }
    int fd = openat(place.folder.Get(), place.name.c_str(), O_RDWR | O_CREAT | kFlags, 0600);
    if (fd < 0 && (errno == EACCES || errno == EROFS)) {
        fd = openat(place.folder.Get(), place.name.c_str(), O_RDONLY | kFlags);
    }
    if (fd < 0) {
        return false;
    }
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

LockResult SettingsLock::Take()
{
    m_inProcess.lock();
    if (m_depth > 0) {
        ++m_depth;
        return LockResult::Taken;
    }
    if (!Open()) {
        m_inProcess.unlock();
        return LockResult::Failed;
    }
    const auto deadline = std::chrono::steady_clock::now() + m_waitLimit;
    while (true) {
        if (flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
            m_depth = 1;
            return LockResult::Taken;
        }
        if (errno == EINTR) {
            continue;
        }
        const auto now = std::chrono::steady_clock::now();
        if (errno != EWOULDBLOCK || now >= deadline) {
            const int error = errno;
            m_inProcess.unlock();
            return error == EWOULDBLOCK ? LockResult::Busy : LockResult::Failed;
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kRetryInterval, deadline - now));
    }
}

void SettingsLock::Release()
{
    if (--m_depth == 0) {
        flock(m_fd, LOCK_UN);
    }
    m_inProcess.unlock();
}
