#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/moment_text.h"
#include "cli/stream_io.h"
#include "core/field_text.h"

// How a value is written in JSON (an Object is JSON text already); a tab-separated column holds its text alone.
enum class Kind { String, Number, Bool, Null, Object };

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

// The length of the UTF-8 sequence at the front of `text` (not empty), and whether it is a whole, valid one;
// an invalid one is the longest start of a valid sequence there (at least one byte), which one U+FFFD
// replaces.
struct Utf8Sequence {
    std::size_t length;
    bool valid;
};
Utf8Sequence FrontUtf8Sequence(std::string_view text);

// The length of the front of `text` that JSON takes as it is: printable ASCII but quote and backslash.
// Eight bytes at a time: nearly every text of an answer is that, whole.
std::size_t PlainJsonLength(std::string_view text);

// `text` as a JSON string: quotes, backslashes and control characters escaped, and invalid UTF-8 written
// as U+FFFD, one per maximal invalid sequence.
template <class Sink>
void AppendJsonString(Sink& out, std::string_view text)
{
    out.Append('"');
    while (!text.empty()) {
        const std::size_t plain = PlainJsonLength(text);
        out.Append(text.substr(0, plain));
        text.remove_prefix(plain);
        if (text.empty()) {
            break;
        }
        const auto c = static_cast<unsigned char>(text.front());
        if (c == '"' || c == '\\') {
            out.Append('\\');
            out.Append(static_cast<char>(c));
            text.remove_prefix(1);
        } else if (c < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            const char escaped[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
            out.Append(std::string_view(escaped, sizeof escaped));
            text.remove_prefix(1);
        } else {
            const Utf8Sequence sequence = FrontUtf8Sequence(text);
            out.Append(sequence.valid ? text.substr(0, sequence.length) : std::string_view("\xEF\xBF\xBD"));
            text.remove_prefix(sequence.length);
        }
    }
    out.Append('"');
}

// `text` as a tab-separated column: a backslash, TAB, CR and LF are written as \\, \t, \r and \n, so
// that no value splits a row and each reads back as it was.
template <class Sink>
void AppendColumn(Sink& out, std::string_view text)
{
    const auto special = [](char c) { return c == '\t' || c == '\r' || c == '\n' || c == '\\'; };
    if (std::none_of(text.begin(), text.end(), special)) {
        out.Append(text);
        return;
    }
    for (const char c : text) {
        if (!special(c)) {
            out.Append(c);
            continue;
        }
        out.Append('\\');
        out.Append(c == '\t' ? 't' : c == '\r' ? 'r' : c == '\n' ? 'n' : '\\');
    }
}

// Appends to a string: JSON built whole, as the one object of a refused command line.
struct StringSink {
    std::string& text;
    void Append(std::string_view piece) { text += piece; }
    void Append(char c) { text += c; }
};

// The JSON object, on a line of its own, that says the command line, stdin, the template or the language file
// cannot be used: {"error":"...","exitStatus":2}.
std::string RefusalJson(std::string_view message);
// {"KEY":"TEXT"MORE} and a line end: `more` is further members, written as they are.
std::string OneValueJson(std::string_view key, std::string_view text, std::string_view more = {});

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
