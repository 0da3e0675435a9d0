#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/file_access.h"
#include "core/write_all.h"

// Output to a file descriptor through a fixed buffer: a batch of millions of lines writes in large blocks
// and never holds more than the buffer.
class OutputBuffer {
public:
    explicit OutputBuffer(int fd) : m_fd(fd) {}
    ~OutputBuffer() { Flush(); }
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    // Inline: a batch appends some twenty pieces per line.
    void Append(std::string_view text)
    {
        if (text.size() <= kSize - m_used) {
            // Not memcpy: an empty view may hold a null pointer, which memcpy must never be given.
            std::copy(text.begin(), text.end(), m_buffer.data() + m_used);
            m_used += text.size();
        } else {
            AppendLarge(text);
        }
    }
    void Append(char c)
    {
        if (m_used == kSize) {
            Flush();
        }
        m_buffer[m_used++] = c;
    }
    void AppendNumber(std::int64_t value);
    // At least `size` (up to the buffer's size) bytes to write into; Commit says where the writing ended.
    char* Reserve(std::size_t size)
    {
        if (size > kSize - m_used) {
            Flush();
        }
        return m_buffer.data() + m_used;
    }
    void Commit(const char* end) { m_used = static_cast<std::size_t>(end - m_buffer.data()); }
    // Writes what is buffered; false once any write failed (the reader went away).
    bool Flush();
    bool Failed() const { return m_failed; }

private:
    static constexpr std::size_t kSize = 64 * 1024;
    void AppendLarge(std::string_view text);

    int m_fd;
    std::size_t m_used = 0;
    bool m_failed = false;
    std::array<char, kSize> m_buffer;
};

// Lines from a file descriptor through a fixed buffer, without their line end (LF, or CR LF). A line longer
// than the buffer is skipped up to its end and reported as too long, so that no input makes memory grow.
class LineReader {
public:
    static constexpr std::size_t kLongestLine = 64 * 1024;

    // `beforeWait` runs before each read that may wait for input: output waiting for that input's writer
    // goes out first, so a program talking with this one line by line never deadlocks.
    LineReader(int fd, OutputBuffer& beforeWait) : m_fd(fd), m_output(beforeWait) {}

    // False at the end of the input. A line that was too long comes back empty, with `tooLong` set.
    bool Next(std::string_view& line, bool& tooLong);
    // The number of the line Next gave last, from 1.
    std::size_t LineNumber() const { return m_lineNumber; }
    // errno of the read that failed and ended the input; 0 when it ended as input does.
    int Error() const { return m_error; }

private:
    // Moves the unread rest to the front and reads more behind it; false at the end or on an error.
    bool Fill();

    int m_fd;
    OutputBuffer& m_output;
    std::size_t m_begin = 0, m_end = 0;
    std::size_t m_lineNumber = 0;
    bool m_atEnd = false;
    int m_error = 0;
    std::array<char, kLongestLine> m_buffer;
};

// All that `fd` holds, up to `maxBytes`: TooLarge past that, and Unreadable, with errno in `error`, when a
// read fails (EBADF for -1, a closed stdin).
FileReadResult ReadAllLimited(int fd, std::size_t maxBytes, int& error);
