#include "cli/stream_io.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

void OutputBuffer::AppendLarge(std::string_view text)
{
    Flush();
    if (text.size() > kSize) {
        m_failed = !WriteAll(m_fd, text) || m_failed;
    } else {
        Append(text);
    }
}

void OutputBuffer::AppendNumber(std::int64_t value)
{
    char digits[24];
    Append(std::string_view(digits, static_cast<std::size_t>(std::to_chars(digits, digits + 24, value).ptr - digits)));
}

bool OutputBuffer::Flush()
{
    if (m_used > 0 && !m_failed) {
        m_failed = !WriteAll(m_fd, std::string_view(m_buffer.data(), m_used));
    }
    m_used = 0;
    return !m_failed;
}

bool LineReader::Fill()
{
    if (m_atEnd) {
        return false;
    }
    if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
    }
    if (m_end == m_buffer.size()) {
        return false;
    }
    m_output.Flush();
    for (;;) {
        const ssize_t got = ::read(m_fd, m_buffer.data() + m_end, m_buffer.size() - m_end);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            m_atEnd = true;
            m_error = got < 0 ? errno : 0;
            return false;
        }
        m_end += static_cast<std::size_t>(got);
        return true;
    }
}

bool LineReader::Next(std::string_view& line, bool& tooLong)
{
    tooLong = false;
    std::size_t scanFrom = m_begin;
    for (;;) {
        const void* found = std::memchr(m_buffer.data() + scanFrom, '\n', m_end - scanFrom);
        if (found != nullptr) {
            const auto newline = static_cast<std::size_t>(static_cast<const char*>(found) - m_buffer.data());
            line = std::string_view(m_buffer.data() + m_begin, newline - m_begin);
            m_begin = newline + 1;
            break;
        }
        if (tooLong || (m_begin == 0 && m_end == m_buffer.size())) {
            // Too long for the buffer: drop what is held, and go on dropping up to the next line end.
            tooLong = true;
            m_begin = m_end = scanFrom = 0;
            if (!Fill()) {
                break;
            }
            continue;
        }
        const std::size_t scanned = m_end - m_begin;
        if (!Fill()) {
            // The last line may lack its line end.
            if (m_end == m_begin) {
                return false;
            }
            line = std::string_view(m_buffer.data() + m_begin, m_end - m_begin);
            m_begin = m_end;
            break;
        }
        scanFrom = m_begin + scanned;
    }
    if (tooLong) {
        line = {};
    } else if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    ++m_lineNumber;
    return true;
}

FileReadResult ReadAllLimited(int fd, std::size_t maxBytes, int& error)
{
    FileReadResult result;
    result.status = FileReadStatus::Ok;
    if (fd < 0) {
        error = EBADF;
        result.status = FileReadStatus::Unreadable;
        return result;
    }
    char block[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = errno;
            return {FileReadStatus::Unreadable, {}};
        }
        if (got == 0) {
            return result;
        }
        result.bytes.append(block, static_cast<std::size_t>(got));
        if (result.bytes.size() > maxBytes) {
            return {FileReadStatus::TooLarge, {}};
        }
    }
}
