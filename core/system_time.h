#pragma once

#include <cstdint>

// The calendar record that pickers, locale formatting and the system clock exchange.
// Same fields and meanings as the Windows SYSTEMTIME.
struct SystemTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;       // [1, 12]
    std::uint16_t dayOfWeek = 0;   // 0 = Sunday ... 6 = Saturday
    std::uint16_t day = 0;         // [1, 31]
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;

    friend bool operator==(const SystemTime&, const SystemTime&) = default;
};
