#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "core/ascii.h"

// The blanks of one line of a settings file: ASCII white space but the line feed, which only ends lines.
inline constexpr std::string_view kLineSpace = " \t\r\v\f";

// `text` without line blanks at either end. Inline, as the readers call it for every line and value.
inline std::string_view TrimLine(std::string_view text)
{
    return TrimAny(text, kLineSpace);
}

// One line of a text: [begin, end) leaves out the line end; `content` also a carriage return before it.
struct TextLine {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string_view content;
};

// The lines of a text in order. A line ends at LF (after an optional CR); with Breaks::FeedOrReturn
// also at a lone CR, as files saved by old Mac editors have it.
class TextLines {
public:
    enum class Breaks { Feed, FeedOrReturn };

    explicit TextLines(std::string_view text, Breaks breaks = Breaks::Feed) : m_text(text), m_breaks(breaks) {}

    // Empty after the last line; a text ending in a line end has no empty line after it.
    std::optional<TextLine> Next()
    {
        if (AtEnd()) {
            return std::nullopt;
        }
        std::size_t end = m_text.find_first_of(m_breaks == Breaks::Feed ? "\n" : "\r\n", m_pos);
        if (end == std::string_view::npos) {
            end = m_text.size();
        }
        TextLine line{m_pos, end, m_text.substr(m_pos, end - m_pos)};
        // Only a line that ends at a feed can still hold the carriage return of a CR LF.
        if (line.content.ends_with('\r')) {
            line.content.remove_suffix(1);
        }
        m_pos = end + 1;
        if (end < m_text.size() && m_text[end] == '\r' && m_pos < m_text.size() && m_text[m_pos] == '\n') {
            ++m_pos;
        }
        return line;
    }
    bool AtEnd() const { return m_pos >= m_text.size(); }

private:
    std::string_view m_text;
    Breaks m_breaks;
    std::size_t m_pos = 0;
};
