#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Larger files are not read: they cannot be a template or a text worth putting into the editor.
inline constexpr std::size_t kMaxTextFileBytes = 64 * 1024 * 1024;

// Clears `text`, then reads the regular file at `path` in blocks of 4096 bytes; a zero byte ends the text
// of the block in which it stands. False when the file cannot be opened or is larger than
// kMaxTextFileBytes.
bool ReadTextFile(const std::string& path, std::string& text);

// Writes the bytes of `text`, exactly, into the file at `path`, creating it when missing: with `replace`
// the old content is replaced at once (a crash leaves the old or the new file whole, never a mix),
// without it the text is appended. False when the file could not be opened or written.
bool WriteTextFile(const std::string& path, std::string_view text, bool replace);
