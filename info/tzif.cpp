#include "info/tzif.h"

#include <cstdint>

#include "info/posix_tz.h"

namespace {

constexpr std::size_t kHeaderSize = 44;
constexpr std::size_t kTypeSize = 6;
// The offsets a TZif file may hold: -25 h < offset < 26 h.
constexpr std::int32_t kMinUtOffset = -89999;
constexpr std::int32_t kMaxUtOffset = 93599;

struct Header {
    char version = 0;
    std::uint32_t isUtCount = 0, isStdCount = 0, leapCount = 0, timeCount = 0, typeCount = 0, charCount = 0;
};

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::optional<Header> ReadHeader(std::string_view bytes, std::size_t at)
{
    if (bytes.size() < at || bytes.size() - at < kHeaderSize || bytes.substr(at, 4) != "TZif") {
        return std::nullopt;
    }
    Header header;
    header.version = bytes[at + 4];
    header.isUtCount = BigEndian32(bytes, at + 20);
    header.isStdCount = BigEndian32(bytes, at + 24);
    header.leapCount = BigEndian32(bytes, at + 28);
    header.timeCount = BigEndian32(bytes, at + 32);
    header.typeCount = BigEndian32(bytes, at + 36);
    header.charCount = BigEndian32(bytes, at + 40);
    return header;
}

// Size of the data block after a header, with transition times of `timeSize` bytes. 64-bit arithmetic:
// the counts come from the file and are up to 2^32 - 1 each.
std::uint64_t DataSize(const Header& h, std::uint64_t timeSize)
{
    return std::uint64_t{h.timeCount} * (timeSize + 1) + std::uint64_t{h.typeCount} * kTypeSize + h.charCount +
           std::uint64_t{h.leapCount} * (timeSize + 4) + h.isStdCount + h.isUtCount;
}

struct TimeType {
    std::int32_t utOffset;
    bool isDst;
    unsigned abbreviationIndex;
};

TimeType ReadType(std::string_view types, std::size_t index)
{
    const std::size_t at = index * kTypeSize;
    return {static_cast<std::int32_t>(BigEndian32(types, at)), types[at + 4] != 0,
            static_cast<unsigned char>(types[at + 5])};
}

// The standard type of the latest transition from the block at `at`, which must lie wholly in `bytes`.
std::optional<TzifContents> ReadBlock(std::string_view bytes, std::size_t at, const Header& h, std::size_t timeSize)
{
    if (h.typeCount == 0) {
        return std::nullopt;
    }
    const std::string_view indices = bytes.substr(at + h.timeCount * timeSize, h.timeCount);
    const std::string_view types = bytes.substr(at + h.timeCount * (timeSize + 1), h.typeCount * kTypeSize);
    const std::string_view chars =
        bytes.substr(at + h.timeCount * (timeSize + 1) + h.typeCount * kTypeSize, h.charCount);

    std::optional<std::size_t> chosen;
    for (std::size_t i = indices.size(); i-- > 0 && !chosen;) {
        const std::size_t index = static_cast<unsigned char>(indices[i]);
        if (index >= h.typeCount) {
            return std::nullopt;
        }
        if (!ReadType(types, index).isDst) {
            chosen = index;
        }
    }
    const TimeType type = ReadType(types, chosen.value_or(0));
    if (type.utOffset < kMinUtOffset || type.utOffset > kMaxUtOffset) {
        return std::nullopt;
    }
    TzifContents contents;
    contents.standardOffsetSeconds = type.utOffset;
    if (type.abbreviationIndex < chars.size()) {
        const std::string_view rest = chars.substr(type.abbreviationIndex);
        contents.standardAbbreviation = std::string(rest.substr(0, rest.find('\0')));
    }
    return contents;
}

}   // namespace

std::optional<TzifContents> ReadTzif(std::string_view bytes)
{
    const auto first = ReadHeader(bytes, 0);
    if (!first) {
        return std::nullopt;
    }
    const std::uint64_t firstSize = DataSize(*first, 4);
    if (bytes.size() - kHeaderSize < firstSize) {
        return std::nullopt;
    }
    if (first->version == '\0') {
        return ReadBlock(bytes, kHeaderSize, *first, 4);
    }

    const std::size_t secondAt = kHeaderSize + static_cast<std::size_t>(firstSize);
    const auto second = ReadHeader(bytes, secondAt);
    if (!second) {
        return std::nullopt;
    }
    const std::uint64_t secondSize = DataSize(*second, 8);
    if (bytes.size() - secondAt - kHeaderSize < secondSize) {
        return std::nullopt;
    }
    auto contents = ReadBlock(bytes, secondAt + kHeaderSize, *second, 8);
    if (!contents) {
        return std::nullopt;
    }
    // The footer is the text between two newlines right after the data.
    const std::string_view footer = bytes.substr(secondAt + kHeaderSize + static_cast<std::size_t>(secondSize));
    if (footer.size() >= 2 && footer[0] == '\n') {
        const std::size_t end = footer.find('\n', 1);
        if (end != std::string_view::npos && end > 1) {
            contents->footer = std::string(footer.substr(1, end - 1));
        }
    }
    return contents;
}

std::optional<ZoneRules> ZoneFromTzif(std::string_view bytes)
{
    const auto contents = ReadTzif(bytes);
    if (!contents) {
        return std::nullopt;
    }
    if (contents->footer) {
        if (auto zone = ZoneFromTzString(*contents->footer)) {
            return zone;
        }
    }
    PosixTzRules base;
    base.stdName = contents->standardAbbreviation;
    base.stdOffsetSeconds = contents->standardOffsetSeconds;
    return ZoneFromPosixTz(base);
}
