#include "core/write_place.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <deque>
#include <optional>
#include <vector>

namespace {

// As the kernel's own limit on links followed in one lookup.
constexpr int kMaxLinkHops = 40;
constexpr int kBeneathTries = 3;
bool g_useOpenat2 = true;

WritePlace Failed(int error)
{
    WritePlace place;
    place.error = error;
    return place;
}

WritePlace Found(FileDescriptor folder, std::string name)
{
    WritePlace place;
    place.folder = std::move(folder);
    place.name = std::move(name);
    return place;
}

// The link's target, read from the descriptor whose owner was checked; nullopt when it cannot be read.
std::optional<std::string> LinkTarget(int linkFd)
{
    char target[PATH_MAX];
    const ssize_t length = readlinkat(linkFd, "", target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) {
        return std::nullopt;
    }
    return std::string(target, static_cast<std::size_t>(length));
}

// The names of a path, without empty ones and ".".
std::vector<std::string_view> Components(std::string_view path)
{
    std::vector<std::string_view> parts;
    std::size_t at = 0;
    while (at <= path.size()) {
        const std::size_t slash = std::min(path.find('/', at), path.size());
        const std::string_view part = path.substr(at, slash - at);
        if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        at = slash + 1;
    }
    return parts;
}

void PushFrontComponents(std::deque<std::string>& queue, std::string_view path)
{
    const std::vector<std::string_view> parts = Components(path);
    queue.insert(queue.begin(), parts.begin(), parts.end());
}

std::string Joined(const std::string& folder, std::string_view name)
{
    std::string path = folder == "/" ? std::string() : folder;
    path += '/';
    path += name;
    return path;
}

bool HasDotDot(std::string_view path)
{
    const std::vector<std::string_view> parts = Components(path);
    return std::find(parts.begin(), parts.end(), "..") != parts.end();
}

// The folder `relative` (no "..", not absolute) beneath `root`; errno EXDEV or ELOOP when a link on the way
// leads out, EAGAIN when the kernel saw the folders change while it looked.
FileDescriptor OpenFolderBeneath(int root, const std::string& relative)
{
    if (g_useOpenat2) {
        open_how how{};
        how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
        how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
        const long fd = syscall(SYS_openat2, root, relative.c_str(), &how, sizeof how);
        if (fd >= 0 || (errno != ENOSYS && errno != EPERM)) {
            return FileDescriptor(static_cast<int>(fd));
        }
    }
    // Without openat2: name by name, following no link at all, so nothing can lead out.
    FileDescriptor folder(fcntl(root, F_DUPFD_CLOEXEC, 0));
    for (const std::string_view name : Components(relative)) {
        const std::string part(name);
        FileDescriptor next(openat(folder.Get(), part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next.Valid()) {
            if (errno == ENOTDIR) {
                // A link in the folder part: it is not followed, so it leads out as far as we know.
                struct stat status {};
                if (fstatat(folder.Get(), part.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(status.st_mode)) {
                    errno = ELOOP;
                }
            }
            return next;
        }
        folder = std::move(next);
    }
    return folder;
}

}   // namespace

bool MayFollowLink(const struct stat& folder, uid_t linkOwner, uid_t user)
{
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || linkOwner == user || linkOwner == folder.st_uid;
}

WritePlace FindWritePlace(const std::string& path, bool followLastLink)
{
    if (path.empty()) {
        return Failed(ENOENT);
    }
    const bool absolute = path.front() == '/';
    FileDescriptor folder(open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    // The folder's path as walked, to name a refused link.
    std::string walked = absolute ? "/" : ".";
    std::deque<std::string> queue;
    PushFrontComponents(queue, path);
    if (queue.empty()) {
        return Failed(EISDIR);
    }
    int hops = 0;
    while (!queue.empty()) {
        if (!folder.Valid()) {
            return Failed(errno);
        }
        const std::string part = std::move(queue.front());
        queue.pop_front();
        const bool last = queue.empty();
        if (part == "..") {
            if (last) {
                return Failed(EISDIR);
            }
            folder = FileDescriptor(openat(folder.Get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
            walked = Joined(walked, part);
            continue;
        }
        FileDescriptor entry(openat(folder.Get(), part.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        struct stat status {};
        if (!entry.Valid() || fstat(entry.Get(), &status) != 0) {
            if (last && errno == ENOENT) {
                return Found(std::move(folder), part);
            }
            return Failed(errno);
        }
        if (S_ISLNK(status.st_mode)) {
            if (last && !followLastLink) {
                return Found(std::move(folder), part);
            }
            struct stat folderStatus {};
            if (++hops > kMaxLinkHops || fstat(folder.Get(), &folderStatus) != 0) {
                return Failed(ELOOP);
            }
            if (!MayFollowLink(folderStatus, status.st_uid, geteuid())) {
                WritePlace refused = Failed(EACCES);
                refused.refusedLink = Joined(walked, part);
                return refused;
            }
            const std::optional<std::string> target = LinkTarget(entry.Get());
            if (!target) {
                return Failed(ENOENT);
            }
            if (target->front() == '/') {
                folder = FileDescriptor(open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
                walked.assign(1, '/');
            }
            PushFrontComponents(queue, *target);
            if (queue.empty()) {
                return Failed(EISDIR);
            }
            continue;
        }
        if (S_ISDIR(status.st_mode)) {
            if (last) {
                return Failed(EISDIR);
            }
            folder = std::move(entry);
            walked = Joined(walked, part);
            continue;
        }
        if (!last) {
            return Failed(ENOTDIR);
        }
        return S_ISREG(status.st_mode) ? Found(std::move(folder), part) : Failed(EINVAL);
    }
    return Failed(EINVAL);
}

WritePlace FindWritePlaceBeneath(int folderFd, std::string_view name)
{
    if (name.empty() || name.find('/') != std::string_view::npos || name == "." || name == "..") {
        return Failed(EINVAL);
    }
    // The current name, relative to the template folder: links without ".." keep it beneath.
    std::string relative(name);
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        const std::size_t slash = relative.rfind('/');
        const std::string leaf = slash == std::string::npos ? relative : relative.substr(slash + 1);
        FileDescriptor folder;
        if (slash == std::string::npos) {
            folder = FileDescriptor(fcntl(folderFd, F_DUPFD_CLOEXEC, 0));
        } else {
            for (int tries = 0; tries < kBeneathTries; ++tries) {
                folder = OpenFolderBeneath(folderFd, relative.substr(0, slash));
                if (folder.Valid() || errno != EAGAIN) {
                    break;
                }
            }
        }
        if (!folder.Valid()) {
            WritePlace failed = Failed(errno == ELOOP || errno == EXDEV ? EXDEV : errno);
            failed.leavesFolder = failed.error == EXDEV;
            return failed;
        }
        FileDescriptor entry(openat(folder.Get(), leaf.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        struct stat status {};
        if (!entry.Valid() || fstat(entry.Get(), &status) != 0) {
            return errno == ENOENT ? Found(std::move(folder), leaf) : Failed(errno);
        }
        if (S_ISREG(status.st_mode)) {
            return Found(std::move(folder), leaf);
        }
        if (!S_ISLNK(status.st_mode)) {
            return Failed(EINVAL);
        }
        struct stat folderStatus {};
        if (fstat(folder.Get(), &folderStatus) != 0 || !MayFollowLink(folderStatus, status.st_uid, geteuid())) {
            WritePlace refused = Failed(EACCES);
            refused.refusedLink = relative;
            return refused;
        }
        const std::optional<std::string> target = LinkTarget(entry.Get());
        if (!target || target->front() == '/' || HasDotDot(*target)) {
            WritePlace out = Failed(EXDEV);
            out.leavesFolder = true;
            return out;
        }
        relative = slash == std::string::npos ? *target : relative.substr(0, slash + 1) + *target;
        if (relative.ends_with('/')) {
            return Failed(EISDIR);
        }
    }
    WritePlace loop = Failed(EXDEV);
    loop.leavesFolder = true;
    return loop;
}

void UseOpenat2ForBeneath(bool use)
{
    g_useOpenat2 = use;
}
