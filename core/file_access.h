#pragma once

#include <sys/types.h>

#include <cstddef>
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
    mode_t newFileMode = 0644;   // a replaced file keeps its own mode
};

// Replaces the content of the file at `path` (creating it when missing) so that a reader, or a crash or
// power cut at any moment, sees either the old or the new content whole: the bytes go to a new file in
// the same folder (created exclusively, never through a link), which is flushed to the disk and renamed
// over the name, and then the folder is flushed. Leftover temporary files of writers that died (this
// writer's own name pattern, owned by the user, older than a minute) are removed from the folder first.
// False, with the file left as it was, when it cannot be written or is not a regular file.
bool ReplaceFileContents(const std::string& path, std::string_view bytes, const WriteOptions& options = {});

// Adds the bytes at the end of the file, creating it when missing, through ReplaceFileContents, so the
// file is never left half-appended. False when it cannot be read whole (or is over `maxBytes`) or
// cannot be written.
bool AppendToFile(const std::string& path, std::string_view bytes, std::size_t maxBytes);

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

// A folder only the user can enter, for files no other local user may read or replace:
// $XDG_RUNTIME_DIR/chronel (made with mode 0700 when missing, used only when it is a real folder of the
// user's that nobody else can enter), else a fresh private folder under the temporary folder, made once
// per run. Empty when neither can be had.
std::string PrivateTempFolder();
