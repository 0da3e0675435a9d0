#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/program_location.h"

// Folder and file helpers of the template store, the editor and the Options page. Paths use '/'; a '\'
// typed by the user counts as a separator too.

// Trims blanks, tabs, CR and LF at both ends and turns every '\' into '/'. An empty path becomes the
// program's folder, a relative one is taken inside the program's folder, and the result ends in exactly
// one '/'.
void NormalizeFolderPath(std::string& path, const ProgramLocation& location);

// True when `path`, less leading white space and trailing blanks and separators, is empty or names an
// existing file-system object.
bool FolderExists(std::string_view path);

// True when something exists at `path`.
bool FileExists(std::string_view path);

// The names of the files (not folders) in `folder` that match `pattern` ('*' any run, '?' one
// character, letter case counts), in the order the file system lists them; each with the folder and a
// '/' in front when `withFolder` is set, and cut at its last '.' when `stripExtension` is set (names that
// come out empty are left out). False, with an empty list, when the folder is not empty and does not
// exist; an unreadable folder lists nothing.
bool ListFiles(std::string_view folder, std::string_view pattern, std::vector<std::string>& list, bool withFolder,
               bool stripExtension);

// Whether `name` matches the wildcard `pattern` as ListFiles matches it.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// Creates the folder and its missing parents with `mode` (0700 for the user's own folders, as the XDG
// rules ask); true when it exists afterwards.
bool MakeFolders(const std::string& path, mode_t mode);
