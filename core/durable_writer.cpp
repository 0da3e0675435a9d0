#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "core/ascii.h"
#include "core/file_access.h"
#include "core/file_descriptor.h"
#include "core/write_all.h"
#include "core/write_place.h"
#include "core/writer_calls.h"

namespace {

constexpr std::string_view kTempMarker = ".chronel-tmp-";
constexpr std::size_t kTempRandomLength = 6;
constexpr std::size_t kMaxTempNameBytes = 200;
constexpr int kTempNameTries = 100;
// A write takes milliseconds: a temporary file this old belongs to a writer that died.
constexpr time_t kStaleTempSeconds = 60;

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

void RemoveStaleTempFiles(int folder)
{
    DIR* dir = fdopendir(openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir == nullptr) {
        return;
    }
    const time_t now = time(nullptr);
    while (const dirent* entry = readdir(dir)) {
        struct stat status {};
        if (IsWriterTempName(entry->d_name) && fstatat(dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode) && status.st_uid == geteuid() && now - status.st_mtime > kStaleTempSeconds) {
            unlinkat(dirfd(dir), entry->d_name, 0);
        }
    }
    closedir(dir);
}

// A new file under a fresh temporary name in `folder`, mode 0600, never through a link.
FileDescriptor CreateTempFile(const WriterCalls& calls, int folder, std::string_view name, std::string& tempName)
{
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int tries = 0; tries < kTempNameTries; ++tries) {
        unsigned char random[kTempRandomLength];
        if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
            return FileDescriptor();
        }
        tempName = TempNamePrefix(name);
        for (unsigned char byte : random) {
            tempName += kAlphabet[byte % (sizeof kAlphabet - 1)];
        }
        FileDescriptor fd(
            calls.OpenAt(folder, tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (fd.Valid() || errno != EEXIST) {
            return fd;
        }
    }
    return FileDescriptor();
}

WriteResult WriteAt(const WritePlace& place, std::string_view bytes, const WriteOptions& options)
{
    WriteResult result;
    const int folder = place.folder.Get();
    struct stat old {};
    const bool exists = fstatat(folder, place.name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists && !S_ISREG(old.st_mode) && !(options.links == LinkHandling::ReplaceLink && S_ISLNK(old.st_mode))) {
        result.error = EINVAL;
        return result;
    }
    RemoveStaleTempFiles(folder);
    const WriterCalls& calls = CurrentWriterCalls();
    std::string temp;
    FileDescriptor fd = CreateTempFile(calls, folder, place.name, temp);
    if (!fd.Valid()) {
        result.error = errno;
        return result;
    }
    const bool keep = options.keepMode && exists && S_ISREG(old.st_mode) && old.st_uid == geteuid();
    const mode_t mode = keep ? (old.st_mode & 07777) : (options.newFileMode & ~ProcessUmask());
    const auto writeBytes = [&calls](int to, const void* data, std::size_t size) {
        return calls.Write(to, data, size);
    };
    const bool written = WriteAllWith(writeBytes, fd.Get(), bytes) && calls.ChangeMode(fd.Get(), mode) == 0 &&
                         calls.SyncFile(fd.Get()) == 0;
    int error = errno;
    // renameat replaces whatever holds the name now, a link included, never what a link points at.
    if (!written || !fd.Close() || calls.RenameAt(folder, temp.c_str(), folder, place.name.c_str()) != 0) {
        if (written) {
            error = errno;
        }
        unlinkat(folder, temp.c_str(), 0);
        result.error = error != 0 ? error : EIO;
        return result;
    }
    // The new content is in place: a folder that cannot be flushed does not undo that.
    calls.SyncFolder(folder);
    return result;
}

WriteResult Refusal(const WritePlace& place)
{
    WriteResult result;
    result.error = place.error;
    result.refusedLink = place.refusedLink;
    result.leavesFolder = place.leavesFolder;
    return result;
}

}   // namespace

std::string TempNamePrefix(std::string_view name)
{
    std::size_t length = std::min(name.size(), kMaxTempNameBytes);
    // Not inside a UTF-8 sequence: continuation bytes are 10xxxxxx.
    while (length > 0 && length < name.size() && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) {
        --length;
    }
    std::string prefix = ".";
    prefix += name.substr(0, length);
    prefix += kTempMarker;
    return prefix;
}

bool IsWriterTempName(std::string_view name)
{
    if (name.size() < 2 + kTempMarker.size() + kTempRandomLength || name.front() != '.') {
        return false;
    }
    const std::string_view random = name.substr(name.size() - kTempRandomLength);
    const std::string_view rest = name.substr(0, name.size() - kTempRandomLength);
    for (char c : random) {
        if (!IsAsciiAlnum(c)) {
            return false;
        }
    }
    return rest.ends_with(kTempMarker) && rest.size() - kTempMarker.size() <= 1 + kMaxTempNameBytes;
}

WriteResult ReplaceFileContents(const std::string& path, std::string_view bytes, const WriteOptions& options)
{
    const WritePlace place = FindWritePlace(path, options.links == LinkHandling::ReplaceTarget);
    return place.error != 0 ? Refusal(place) : WriteAt(place, bytes, options);
}

WriteResult ReplaceFileInFolder(int folderFd, std::string_view name, std::string_view bytes,
                                const WriteOptions& options)
{
    if (options.links == LinkHandling::ReplaceLink) {
        WritePlace place;
        place.folder = FileDescriptor(fcntl(folderFd, F_DUPFD_CLOEXEC, 0));
        place.name = std::string(name);
        if (!place.folder.Valid() || name.empty() || name.find('/') != std::string_view::npos || name == "." ||
            name == "..") {
            place.error = place.folder.Valid() ? EINVAL : errno;
            return Refusal(place);
        }
        return WriteAt(place, bytes, options);
    }
    const WritePlace place = FindWritePlaceBeneath(folderFd, name);
    return place.error != 0 ? Refusal(place) : WriteAt(place, bytes, options);
}

WriteResult AppendToFile(const std::string& path, std::string_view bytes, std::size_t maxBytes)
{
    FileReadResult file = ReadFileLimited(path, maxBytes);
    if (file.status != FileReadStatus::Ok && file.status != FileReadStatus::Missing) {
        WriteResult result;
        result.error = file.status == FileReadStatus::TooLarge ? EFBIG : EINVAL;
        return result;
    }
    file.bytes += bytes;
    return ReplaceFileContents(path, file.bytes);
}
