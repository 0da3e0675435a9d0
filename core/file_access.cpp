#include "core/file_access.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "core/file_descriptor.h"
#include "core/write_place.h"

namespace {

constexpr int kReadTries = 3;

FileReadStatus StatusOfOpenError(int error)
{
    return error == ENOENT || error == ENOTDIR ? FileReadStatus::Missing : FileReadStatus::Unreadable;
}

FileReadResult ReadOpenFile(int fd, std::size_t maxBytes)
{
    FileReadResult result;
    struct stat status {};
    result.status = FileReadStatus::Unreadable;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
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
        const ssize_t got = read(fd, bytes.data() + filled, bytes.size() - filled);
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

// A folder of the user's that nobody else can enter, opened without following a link in its place.
FileDescriptor OpenPrivateFolder(int parent, const char* name)
{
    FileDescriptor fd(openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat status {};
    if (!fd.Valid() || fstat(fd.Get(), &status) != 0 || status.st_uid != geteuid() || (status.st_mode & 077) != 0) {
        return FileDescriptor();
    }
    return fd;
}

// The fallback folder under the temporary folder, removed with its files when the program ends.
class FallbackFolder {
public:
    ~FallbackFolder() { Remove(); }

    PrivateFolder Get()
    {
        if (!m_folder.Valid()) {
            Make();
        }
        return {m_folder.Get(), m_path};
    }

private:
    void Make()
    {
        const char* temp = std::getenv("TMPDIR");
        std::string pattern = temp != nullptr && temp[0] == '/' ? temp : "/tmp";
        pattern += "/chronel-XXXXXX";
        // mkdtemp makes a new folder with mode 0700, never reusing what is there.
        if (mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        m_parent = FileDescriptor(open(FolderOfPath(pattern).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        m_name = NameOfPath(pattern);
        m_folder = OpenPrivateFolder(m_parent.Get(), m_name.c_str());
        m_path = m_folder.Valid() ? pattern : std::string();
    }

    void Remove()
    {
        if (!m_folder.Valid()) {
            return;
        }
        // Only the files in it are ours to remove; the folder goes when it still is the one made.
        if (DIR* dir = fdopendir(fcntl(m_folder.Get(), F_DUPFD_CLOEXEC, 0))) {
            while (const dirent* entry = readdir(dir)) {
                unlinkat(m_folder.Get(), entry->d_name, 0);
            }
            closedir(dir);
        }
        struct stat made {};
        struct stat now {};
        if (fstat(m_folder.Get(), &made) == 0 &&
            fstatat(m_parent.Get(), m_name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && made.st_dev == now.st_dev &&
            made.st_ino == now.st_ino) {
            unlinkat(m_parent.Get(), m_name.c_str(), AT_REMOVEDIR);
        }
        m_folder.Reset();
    }

    FileDescriptor m_parent;
    FileDescriptor m_folder;
    std::string m_name;
    std::string m_path;
};

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
    const FileDescriptor fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) {
        FileReadResult result;
        result.status = StatusOfOpenError(errno);
        return result;
    }
    return ReadOpenFile(fd.Get(), maxBytes);
}

FolderFileRead ReadFileInFolder(int folderFd, std::string_view name, std::size_t maxBytes)
{
    FolderFileRead read;
    for (int tries = 0; tries < kReadTries; ++tries) {
        const WritePlace place = FindWritePlaceBeneath(folderFd, name);
        FileDescriptor fd;
        if (place.error == 0) {
            // No link is followed here: a name swapped for one since it was found fails and is looked up again.
            fd = FileDescriptor(
                openat(place.folder.Get(), place.name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
            if (!fd.Valid() && errno == ELOOP) {
                continue;
            }
        } else if (place.leavesFolder || !place.refusedLink.empty()) {
            // Shown read-only: only the kernel follows the link, under its own rules.
            read.leavesFolder = true;
            fd = FileDescriptor(openat(folderFd, std::string(name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        } else {
            errno = place.error;
        }
        if (!fd.Valid()) {
            read.error = errno;
            read.file.status = StatusOfOpenError(errno);
            return read;
        }
        read.file = ReadOpenFile(fd.Get(), maxBytes);
        return read;
    }
    read.error = EAGAIN;
    read.file.status = FileReadStatus::Unreadable;
    return read;
}

PrivateFolder PrivateTempFolder()
{
    // The runtime folder is used only as the base directory rules describe it: the user's, mode 0700.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        static FileDescriptor held;
        static std::string heldPath;
        const std::string path = std::string(runtime) + "/chronel";
        if (!held.Valid() || heldPath != path) {
            const FileDescriptor base = OpenPrivateFolder(AT_FDCWD, runtime);
            if (base.Valid()) {
                mkdirat(base.Get(), "chronel", 0700);
                held = OpenPrivateFolder(base.Get(), "chronel");
                heldPath = held.Valid() ? path : std::string();
            } else {
                held.Reset();
            }
        }
        if (held.Valid()) {
            return {held.Get(), heldPath};
        }
    }
    static FallbackFolder fallback;
    return fallback.Get();
}
