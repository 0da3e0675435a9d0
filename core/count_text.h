#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// A count as typed: leading blanks, an optional sign, then digits up to the first other character; no
// digits read as 0. Beyond the type's range the value saturates.
std::int32_t ReadCount(std::string_view text);
std::int64_t ReadCount64(std::string_view text);

// One count from `pos` on, read as ReadCount reads it and as sscanf's "%d" finds it: empty, `pos`
// unchanged, when no digit follows the blanks and sign; otherwise `pos` moves past the digits.
std::optional<std::int32_t> TakeCount(std::string_view text, std::size_t& pos);
