#include "cli/answer_line.h"

#include <cstring>

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighBits = 0x8080808080808080u;

// The high bit of each byte of `word` that is below `n` (n at most 0x80), and maybe of some bytes after one.
constexpr std::uint64_t BytesBelow(std::uint64_t word, unsigned n)
{
    return (word - kOnes * n) & ~word & kHighBits;
}

constexpr std::uint64_t BytesEqual(std::uint64_t word, unsigned char c)
{
    return BytesBelow(word ^ (kOnes * c), 1);
}

bool PlainByte(unsigned char c)
{
    return c >= 0x20 && c < 0x7F && c != '"' && c != '\\';
}

}   // namespace

std::size_t PlainJsonLength(std::string_view text)
{
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, sizeof word);
        // 0x7F may stay as it is, but is rare enough to take the slow way with the rest.
        if (((word & kHighBits) | BytesBelow(word, 0x20) | BytesEqual(word, '"') | BytesEqual(word, '\\') |
             BytesEqual(word, 0x7F)) != 0) {
            break;
        }
    }
    while (at < text.size() && PlainByte(static_cast<unsigned char>(text[at]))) {
        ++at;
    }
    return at;
}

Utf8Sequence FrontUtf8Sequence(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text.front());
    if (lead < 0x80) {
        return {1, true};
    }
    // The bytes that follow the lead, and the range of the first: the others are all 0x80 to 0xBF. Leads
    // C0, C1 and F5 to FF begin nothing; E0, ED, F0 and F4 narrow the second byte against overlong forms,
    // surrogates and code points past U+10FFFF.
    std::size_t following = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        following = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        following = 2;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        following = 3;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {1, false};
    }
    std::size_t length = 1;
    for (; length <= following && length < text.size(); ++length) {
        const auto c = static_cast<unsigned char>(text[length]);
        if (c < low || c > high) {
            return {length, false};
        }
        low = 0x80;
        high = 0xBF;
    }
    return {length, length == following + 1};
}

std::string RefusalJson(std::string_view message)
{
    return OneValueJson("error", message, ",\"exitStatus\":2");
}

std::string OneValueJson(std::string_view key, std::string_view text, std::string_view more)
{
    std::string json = "{\"";
    json += key;
    json += "\":";
    StringSink sink{json};
    AppendJsonString(sink, text);
    json += more;
    json += "}\n";
    return json;
}
