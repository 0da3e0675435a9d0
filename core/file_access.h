#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Whole-file reads and the program's one durable writer. Every file Chronel writes goes through
// ReplaceFileContents.

enum class FileReadStatus { Ok, Missing, TooLarge, Unreadable };

struct FileReadResult {
    FileReadStatus status = FileReadStatus::Missing;
    std::string bytes;   // the content when status is Ok, else empty
};

// Reads a regular file whole. A file over `maxBytes` is refused without being read (also one that grows
// past the limit while it is read), so a huge or endless file costs neither time nor memory. Directories,
// devices and pipes are Unreadable; opening never blocks on a pipe planted in the file's place.
FileReadResult ReadFileLimited(const std::string& path, std::size_t maxBytes);

// What the writer does when the name it replaces is a symbolic link.
enum class LinkHandling {
    ReplaceTarget,   // the link's target gets the new content and the link stays (dotfiles setups)
    ReplaceLink,     // the name becomes a plain file; whatever the link pointed at is left alone
};

struct WriteOptions {
    LinkHandling links = LinkHandling::ReplaceTarget;
    mode_t newFileMode = 0644;   // less the umask
    // A replaced file of the user's keeps its own mode; false: the file always gets newFileMode (private
    // files, whatever another user left at the name).
    bool keepMode = true;
};

struct WriteResult {
    int error = 0;               // errno of the step that failed; 0 when the file was written
    std::string refusedLink;     // a link another user made in a shared sticky folder, not followed
    bool leavesFolder = false;   // written beneath a folder: a link leads out of it, not followed

    bool Ok() const { return error == 0; }
    explicit operator bool() const { return Ok(); }
};

// Replaces the content of the file at `path` (creating it when missing) so that a reader, or a crash or
// power cut at any moment, sees either the old or the new content whole: the bytes go to a new file
// ".<name>.chronel-tmp-XXXXXX" (mode 0600, created exclusively, never through a link) in the folder that
// holds the file, which is flushed to the disk and renamed over the name, and then the folder is flushed.
// The path is followed name by name from descriptors: a link is followed only where the kernel's
// protection for sticky world-writable folders would allow it (the link's owner is the user or the
// folder's owner), whatever the system's setting says; otherwise the write is refused naming the link.
// Leftover temporary files of writers that died (exactly this writer's name pattern, regular, owned by the
// user, older than a minute) are removed from that folder first. Fails, with the file left as it was, when
// it cannot be written or is not a regular file.
WriteResult ReplaceFileContents(const std::string& path, std::string_view bytes, const WriteOptions& options = {});

// As ReplaceFileContents for `name` in the folder open as `folderFd`. With LinkHandling::ReplaceTarget a
// link is followed only while it stays beneath that folder (leavesFolder otherwise); with ReplaceLink the
// name itself is replaced.
WriteResult ReplaceFileInFolder(int folderFd, std::string_view name, std::string_view bytes,
                                const WriteOptions& options = {});

// Adds the bytes at the end of the file, creating it when missing, through ReplaceFileContents, so the
// file is never left half-appended. Fails when it cannot be read whole (or is over `maxBytes`) or cannot
// be written.
WriteResult AppendToFile(const std::string& path, std::string_view bytes, std::size_t maxBytes);

// A file read beneath a folder: `leavesFolder` when it was reached through a link that leads out of the
// folder, decided from the descriptor that was read.
struct FolderFileRead {
    FileReadResult file;
    int error = 0;   // errno when the file could not be opened
    bool leavesFolder = false;
};
FolderFileRead ReadFileInFolder(int folderFd, std::string_view name, std::size_t maxBytes);

// The temporary name the writer uses for `name` before the random part: "." + name cut to 200 bytes at a
// character boundary + ".chronel-tmp-"; true for a name made so with six letters or digits after it.
std::string TempNamePrefix(std::string_view name);
bool IsWriterTempName(std::string_view name);

// What identifies one content of a file without reading it: a change of any field means the file may
// hold other bytes now.
struct FileStamp {
    int error = 0;   // errno of stat; 0 when the name exists
    unsigned long long device = 0, inode = 0;
    unsigned type = 0;   // st_mode & S_IFMT
    long long size = 0, seconds = 0, nanoseconds = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
FileStamp StampOfFile(const std::string& path);

// The folder of a path ("." when it has no '/') and the name after its last '/'.
std::string FolderOfPath(const std::string& path);
std::string NameOfPath(const std::string& path);

// A folder only the user can enter, for files no other local user may read or replace, held open:
// $XDG_RUNTIME_DIR/chronel when the runtime folder is the user's own with mode 0700 (made 0700 when missing,
// used only when it is a folder of the user's that nobody else can enter), else a fresh private folder
// "chronel-XXXXXX" under the temporary folder, made once per run and removed with its files at exit.
struct PrivateFolder {
    int fd = -1;        // an open descriptor of the folder, owned by the program; -1 when none could be had
    std::string path;   // for handing a finished file to another program only
};
PrivateFolder PrivateTempFolder();
