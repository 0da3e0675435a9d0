#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// The blanks of one line of a settings file: ASCII white space but the line feed, which only ends lines.
inline constexpr std::string_view kLineSpace = " \t\r\v\f";

// `text` without line blanks at either end.
std::string_view TrimLine(std::string_view text);

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
    std::optional<TextLine> Next();
    bool AtEnd() const { return m_pos >= m_text.size(); }

private:
    std::string_view m_text;
    Breaks m_breaks;
    std::size_t m_pos = 0;
};
