#include "settings/text_lines.h"

#include "core/ascii.h"

std::string_view TrimLine(std::string_view text)
{
    return TrimAny(text, kLineSpace);
}

std::optional<TextLine> TextLines::Next()
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
