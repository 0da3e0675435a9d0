#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <string_view>

// Writes all of `bytes` to `fd` through `writeSome` (a call taking write(2)'s arguments), retrying after
// interruptions (EINTR) and short writes. False when a write failed, with errno saying why; a write that
// takes no byte at all would take none the next time either, so it fails with EIO instead of looping.
template <typename WriteCall>
bool WriteAllWith(WriteCall&& writeSome, int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = writeSome(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Header only: the help reader uses it without linking the core library.
inline bool WriteAll(int fd, std::string_view bytes)
{
    return WriteAllWith(::write, fd, bytes);
}
