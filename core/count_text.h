#pragma once

#include <cstdint>
#include <string_view>

// A count as typed: leading blanks, an optional sign, then digits up to the first other character; no
// digits read as 0. Beyond the type's range the value saturates.
std::int32_t ReadCount(std::string_view text);
std::int64_t ReadCount64(std::string_view text);
