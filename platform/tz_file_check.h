#pragma once

#include <optional>
#include <string>
#include <string_view>

// What TZ becomes, for the command line, while a TZ that names no zone is being refused: the C library
// could hang on what it names.
inline constexpr const char* kFallbackTz = "UTC0";

// Whether TZ, set to `tz`, must be replaced before any time call. The C library takes every value of
// TZ first as a zone file (a leading ':' dropped, an empty value as "Universal"; a relative name below
// `tzDir`, or /usr/share/zoneinfo when that is empty) and reads it with a blocking open: a FIFO there
// hangs the program for ever. True when that file exists but is not a regular file (a FIFO, folder or
// device); false for a regular file, for a missing one (as a TZ string such as "UTC0" names) and for
// one that cannot be opened, which the C library passes over too. Never blocks.
bool TzNamesUnreadableFile(std::string_view tz, std::string_view tzDir);

// One line that says why the environment's TZ names no zone: a file the C library would hang on or fail
// to read (as above), or a value LoadTzVariable refuses. Empty when TZ is unset or names a zone.
std::optional<std::string> TzProblem();

// For the window: when TzProblem finds one, removes TZ, so that the computer's zone is used, and returns
// its old value for the one message that says so. To be called first in main, before anything reads the
// zone.
std::optional<std::string> RemoveTzNamingNoZone();
