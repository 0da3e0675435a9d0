#pragma once

#include <cstdint>

// Proleptic Gregorian day counting shared by the core's translation units.
namespace civil {

constexpr std::int64_t kSecondsPerDay = 86400;

// Day number 0 of the stored encoding is 1899-12-30; 1970-01-01 is day 25569.
constexpr std::int64_t kOleEpochFromUnixDays = -25569;

constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = FloorDiv(y, 400);
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct YearMonthDay {
    int year;
    int month;
    int day;
};

constexpr YearMonthDay CivilFromDays(std::int64_t z)
{
    z += 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0);
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

// 0 = Sunday ... 6 = Saturday.
constexpr int WeekdayFromDays(std::int64_t unixDays)
{
    const std::int64_t w = (unixDays + 4) % 7;   // 1970-01-01 was a Thursday
    return static_cast<int>(w < 0 ? w + 7 : w);
}

}   // namespace civil
