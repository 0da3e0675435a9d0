#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/file_access.h"
#include "core/messages.h"

// Larger files are not read: they cannot be a template or a text worth putting into the editor.
inline constexpr std::size_t kMaxTextFileBytes = 64 * 1024 * 1024;

// Clears `text`, then reads the regular file at `path` in blocks of 4096 bytes; a zero byte ends the text
// of the block in which it stands. False when the file cannot be opened or is larger than
// kMaxTextFileBytes.
bool ReadTextFile(const std::string& path, std::string& text);

// Writes the bytes of `text`, exactly, into the file at `path`, creating it when missing: with `replace`
// the old content is replaced at once (a crash leaves the old or the new file whole, never a mix),
// without it the text is appended. Fails when the file could not be opened or written, or when the
// writer would not follow a link to it (another user's, in a shared folder).
WriteResult WriteTextFile(const std::string& path, std::string_view text, bool replace);

// What to tell the user when writing `path` failed: message 104 and the refused link, or `failedMessageId`
// and the path followed by the system's reason ("Error saving file \"/x/y.txt\": Permission denied"); the
// subject in double quotes.
std::string WriteFailureText(const WriteResult& result, const std::string& path, int failedMessageId,
                             const MessageSource& messages);
