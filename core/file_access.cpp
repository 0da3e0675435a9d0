#include "core/file_access.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>

namespace {

constexpr std::string_view kTempMarker = ".tmp-";
// A write takes milliseconds: a temporary file this old belongs to a writer that died.
constexpr time_t kStaleTempSeconds = 60;
// As the kernel's own limit on links followed in one lookup.
constexpr int kMaxLinkHops = 40;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }
    // Closes now; false when the close reported an error (a delayed write error, for instance).
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return close(fd) == 0;
    }

private:
    int m_fd;
};

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
    const FileDescriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0) {
        fsync(fd.Get());
    }
}

bool IsOwnTempName(std::string_view name)
{
    const std::size_t marker = name.rfind(kTempMarker);
    return name.size() > 1 && name.front() == '.' && marker != std::string_view::npos && marker > 1 &&
           name.size() - marker - kTempMarker.size() >= 6;
}

void RemoveStaleTempFiles(const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const time_t now = time(nullptr);
    while (const dirent* entry = readdir(dir)) {
        struct stat status {};
        if (IsOwnTempName(entry->d_name) && fstatat(dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode) && status.st_uid == geteuid() && now - status.st_mtime > kStaleTempSeconds) {
            unlinkat(dirfd(dir), entry->d_name, 0);
        }
    }
    closedir(dir);
}

// The file a chain of symbolic links ends at (it may not exist yet); `path` itself when it is no link.
// Empty for a loop.
std::string FollowLinks(std::string path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        char target[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), target, sizeof target);
        if (length < 0) {
            return path;
        }
        const std::string_view link(target, static_cast<std::size_t>(length));
        path = link.starts_with('/') ? std::string(link) : FolderOfPath(path) + "/" + std::string(link);
    }
    return {};
}

// The process's umask, read without changing it (umask() can only be read by setting it).
mode_t ProcessUmask()
{
    static const mode_t mask = [] {
        const FileReadResult status = ReadFileLimited("/proc/self/status", 64 * 1024);
        const std::size_t at = status.bytes.find("Umask:");
        mode_t value = 022;
        if (at != std::string::npos) {
            value = static_cast<mode_t>(std::strtoul(status.bytes.c_str() + at + 6, nullptr, 8));
        }
        return value;
    }();
    return mask;
}

bool IsPrivateFolder(const std::string& path)
{
    // O_NOFOLLOW: a link planted in the folder's place is refused, not followed.
    const FileDescriptor fd(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat status {};
    return fd.Get() >= 0 && fstat(fd.Get(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == geteuid() &&
           (status.st_mode & 077) == 0;
}

}   // namespace

std::string FolderOfPath(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOfPath(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FileStamp StampOfFile(const std::string& path)
{
    struct stat status {};
    FileStamp stamp;
    if (stat(path.c_str(), &status) != 0) {
        stamp.error = errno;
        return stamp;
    }
    stamp.device = status.st_dev;
    stamp.inode = status.st_ino;
    stamp.type = status.st_mode & S_IFMT;
    stamp.size = status.st_size;
    stamp.seconds = status.st_mtim.tv_sec;
    stamp.nanoseconds = status.st_mtim.tv_nsec;
    return stamp;
}

FileReadResult ReadFileLimited(const std::string& path, std::size_t maxBytes)
{
    FileReadResult result;
    const FileDescriptor fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.Get() < 0) {
        result.status = errno == ENOENT || errno == ENOTDIR ? FileReadStatus::Missing : FileReadStatus::Unreadable;
        return result;
    }
    struct stat status {};
    result.status = FileReadStatus::Unreadable;
    if (fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return result;
    }
    if (static_cast<std::uintmax_t>(status.st_size) > maxBytes) {
        result.status = FileReadStatus::TooLarge;
        return result;
    }
    // One byte more than the size shows a file that grew meanwhile.
    std::string bytes(static_cast<std::size_t>(status.st_size) + 1, '\0');
    std::size_t filled = 0;
    while (true) {
        const ssize_t got = read(fd.Get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return result;
        }
        filled += static_cast<std::size_t>(got);
        if (got == 0 || filled < bytes.size() || filled > maxBytes) {
            break;
        }
        bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
    }
    if (filled > maxBytes) {
        result.status = FileReadStatus::TooLarge;
        return result;
    }
    bytes.resize(filled);
    result.status = FileReadStatus::Ok;
    result.bytes = std::move(bytes);
    return result;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes, const WriteOptions& options)
{
    const std::string target = options.links == LinkHandling::ReplaceTarget ? FollowLinks(path) : path;
    if (target.empty()) {
        return false;
    }
    struct stat old {};
    const bool replacing = lstat(target.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode) && !(options.links == LinkHandling::ReplaceLink && S_ISLNK(old.st_mode))) {
        return false;
    }
    const std::string folder = FolderOfPath(target);
    RemoveStaleTempFiles(folder);
    // Built in steps: gcc 12 at -O3 warns falsely (-Wrestrict) on the one-expression form.
    std::string temp = folder;
    temp += "/.";
    temp += NameOfPath(target);
    temp += kTempMarker;
    temp += "XXXXXX";
    // mkostemp creates exclusively with mode 0600: a link planted under the temporary name is never followed.
    FileDescriptor fd(mkostemp(temp.data(), O_CLOEXEC));
    if (fd.Get() < 0) {
        return false;
    }
    const mode_t mode =
        replacing && S_ISREG(old.st_mode) ? (old.st_mode & 07777) : (options.newFileMode & ~ProcessUmask());
    const bool written = WriteAll(fd.Get(), bytes) && fchmod(fd.Get(), mode) == 0 && fsync(fd.Get()) == 0;
    if (!fd.Close() || !written || rename(temp.c_str(), target.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

bool AppendToFile(const std::string& path, std::string_view bytes, std::size_t maxBytes)
{
    FileReadResult file = ReadFileLimited(path, maxBytes);
    if (file.status != FileReadStatus::Ok && file.status != FileReadStatus::Missing) {
        return false;
    }
    file.bytes += bytes;
    return ReplaceFileContents(path, file.bytes);
}

std::string PrivateTempFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        const std::string folder = std::string(runtime) + "/chronel";
        mkdir(folder.c_str(), 0700);
        if (IsPrivateFolder(folder)) {
            return folder;
        }
    }
    static std::string fresh;
    if (fresh.empty() || !IsPrivateFolder(fresh)) {
        const char* temp = std::getenv("TMPDIR");
        std::string pattern = temp != nullptr && temp[0] == '/' ? temp : "/tmp";
        pattern += "/chronel-XXXXXX";
        // mkdtemp makes a new folder with mode 0700, never reusing what is there.
        fresh = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    return fresh;
}
