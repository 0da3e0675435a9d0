#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "cli/moment_text.h"
#include "cli/stream_io.h"
#include "core/field_text.h"

// How a value is written in JSON; a tab-separated column holds its text alone.
enum class Kind { String, Number, Bool, Null };

struct Field {
    std::string_view key;
    std::string_view text;
    Kind kind = Kind::String;
};

// The fields of one answer, gathered before it is written.
class Record {
public:
    void Add(std::string_view key, std::string_view text, Kind kind = Kind::String)
    {
        // Member by member: a whole Field built on the stack and copied costs a store-forwarding stall.
        Field& field = m_fields[m_count++];
        field.key = key;
        field.text = text;
        field.kind = kind;
    }
    // A moment, or null when there is none.
    void AddMoment(std::string_view key, const std::optional<Moment>& moment)
    {
        Add(key, moment ? moment->Iso() : std::string_view(), moment ? Kind::String : Kind::Null);
    }
    std::span<const Field> Fields() const { return {m_fields.data(), m_count}; }

private:
    std::array<Field, 24> m_fields;
    std::size_t m_count = 0;
};

// Space reserved in an OutputBuffer and written without bounds checks: its writer reserved enough.
class ReservedSpace {
public:
    ReservedSpace(OutputBuffer& out, std::size_t size) : m_out(out), m_at(out.Reserve(size)) {}
    ReservedSpace(const ReservedSpace&) = delete;
    ReservedSpace& operator=(const ReservedSpace&) = delete;
    ~ReservedSpace() { m_out.Commit(m_at); }

    void Append(std::string_view text) { m_at = std::copy(text.begin(), text.end(), m_at); }
    void Append(char c) { *m_at++ = c; }
    void AppendNumber(std::int64_t value) { m_at = WriteFigure(m_at, value); }

private:
    OutputBuffer& m_out;
    char* m_at;
};

// `text` as a JSON string: quotes, backslashes and control characters escaped.
template <class Sink>
void AppendJsonString(Sink& out, std::string_view text)
{
    out.Append('"');
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out.Append('\\');
            out.Append(c);
        } else if (static_cast<unsigned char>(c) < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            const char escaped[] = {'\\', 'u', '0', '0', kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
            out.Append(std::string_view(escaped, sizeof escaped));
        } else {
            out.Append(c);
        }
    }
    out.Append('"');
}

// `text` as a tab-separated column: no tab or line end may split it, each becomes a blank.
template <class Sink>
void AppendColumn(Sink& out, std::string_view text)
{
    const auto splits = [](char c) { return c == '\t' || c == '\r' || c == '\n'; };
    if (std::none_of(text.begin(), text.end(), splits)) {
        out.Append(text);
        return;
    }
    for (const char c : text) {
        out.Append(splits(c) ? ' ' : c);
    }
}

// One answer as a line of output: a JSON object, or its values as tab-separated columns (without keys).
// Every value of every answer goes through here. Keys are the program's own names and need no escaping.
template <class Sink>
class AnswerLine {
public:
    AnswerLine(Sink& out, bool json) : m_out(out), m_json(json)
    {
        if (json) {
            out.Append('{');
        }
    }

    void Value(std::string_view key, std::string_view text, Kind kind = Kind::String)
    {
        Key(key);
        if (!m_json) {
            AppendColumn(m_out, text);
        } else if (kind == Kind::String) {
            AppendJsonString(m_out, text);
        } else {
            m_out.Append(kind == Kind::Null ? std::string_view("null") : text);
        }
    }
    // Its ISO text holds nothing to escape or to blank out.
    void Moment(std::string_view key, const ::Moment& moment)
    {
        Key(key);
        if (m_json) {
            m_out.Append('"');
        }
        m_out.Append(moment.Iso());
        if (m_json) {
            m_out.Append('"');
        }
    }
    void Number(std::string_view key, std::int64_t value)
    {
        Key(key);
        m_out.AppendNumber(value);
    }
    void End(std::string_view lineEnd)
    {
        if (m_json) {
            m_out.Append('}');
        }
        m_out.Append(lineEnd);
    }

private:
    void Key(std::string_view key)
    {
        if (m_json) {
            m_out.Append(m_first ? std::string_view("\"") : std::string_view(",\""));
            m_out.Append(key);
            m_out.Append(std::string_view("\":"));
        } else if (!m_first) {
            m_out.Append('\t');
        }
        m_first = false;
    }

    Sink& m_out;
    bool m_json;
    bool m_first = true;
};
