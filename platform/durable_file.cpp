#include "platform/durable_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace {

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void SyncFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

void RemoveLeftovers(const std::string& folder, const std::string& prefix)
{
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.starts_with(prefix)) {
            unlinkat(dirfd(dir), entry->d_name, 0);
        }
    }
    closedir(dir);
}

}  // namespace

FileReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes)
{
    FileReadResult result;
    // Non-blocking, so that a pipe in the file's place cannot stall the open.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.status = errno == ENOENT || errno == ENOTDIR ? FileReadStatus::Missing : FileReadStatus::Unreadable;
        return result;
    }
    struct stat status {};
    result.status = FileReadStatus::Unreadable;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        return result;
    }
    if (static_cast<std::uintmax_t>(status.st_size) > maxBytes) {
        close(fd);
        result.status = FileReadStatus::TooLarge;
        return result;
    }
    // One byte more than expected shows a file that grew meanwhile.
    std::string bytes(static_cast<std::size_t>(status.st_size) + 1, '\0');
    std::size_t filled = 0;
    while (true) {
        const ssize_t got = read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            close(fd);
            return result;
        }
        filled += static_cast<std::size_t>(got);
        if (got == 0 || filled < bytes.size() || filled > maxBytes) {
            break;
        }
        bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
    }
    close(fd);
    if (filled > maxBytes) {
        result.status = FileReadStatus::TooLarge;
        return result;
    }
    bytes.resize(filled);
    result.status = FileReadStatus::Ok;
    result.bytes = std::move(bytes);
    return result;
}

bool ReplaceFileDurably(const std::string& path, std::string_view bytes, mode_t newFileMode)
{
    const std::string folder = FolderOf(path);
    const std::string prefix = "." + NameOf(path) + ".tmp-";
    RemoveLeftovers(folder, prefix);

    struct stat old {};
    const bool replacing = stat(path.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode)) {
        return false;
    }
    std::string temp = folder + "/" + prefix + "XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const mode_t mode = replacing ? (old.st_mode & 07777) : newFileMode;
    const bool written = WriteAll(fd, bytes) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    if (close(fd) != 0 || !written || rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

bool MakeFolders(const std::string& path, mode_t mode)
{
    struct stat status {};
    if (stat(path.c_str(), &status) == 0) {
        return S_ISDIR(status.st_mode);
    }
    if (path.empty() || path == "/") {
        return false;
    }
    const std::size_t slash = path.find_last_not_of('/') == std::string::npos ? std::string::npos
                                                                                : path.rfind('/', path.find_last_not_of('/'));
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash), mode)) {
        return false;
    }
    return mkdir(path.c_str(), mode) == 0 || errno == EEXIST;
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
