#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Whole-file reads and writes with the standard library only, for the pure code's files (language files,
// templates, text files).

enum class FileReadStatus { Ok, Missing, TooLarge, Unreadable };

struct FileReadResult {
    FileReadStatus status = FileReadStatus::Missing;
    std::string bytes;   // the content when status is Ok, else empty
};

// Reads a regular file whole. A file over `maxBytes` is refused without being read (also one that grows
// past the limit while it is read), so a huge or endless file costs neither time nor memory. Directories,
// devices and pipes are Unreadable.
FileReadResult ReadFileLimited(const std::string& path, std::size_t maxBytes);

// Replaces the content of the file at `path` (creating it when missing) so that a reader, or a crash at
// any moment, sees either the old or the new content whole: the bytes go to a new file in the same folder,
// which then takes the name. A symbolic link is followed to its target; the permissions of a replaced
// file are kept. False when the file was left as it was.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

// Appends the bytes at the end of the file, creating it when missing. False when it cannot be opened
// or written.
bool AppendToFile(const std::string& path, std::string_view bytes);
