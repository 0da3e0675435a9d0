#pragma once

#include <cmath>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "core/civil.h"
#include "core/system_time.h"

// A signed length of time in days (1.5 is one day and twelve hours). Invalid only when made from an
// invalid DateTime.
class DateTimeSpan {
public:
    enum class Status { Valid, Invalid };

    DateTimeSpan() = default;
    explicit DateTimeSpan(double days) : m_days(days) {}
    static DateTimeSpan Invalid();

    // days + hours/24 + minutes/1440 + seconds/86400, valid; no range test on any argument.
    // The days are 64-bit so that a week count times seven cannot wrap.
    void SetDateTimeSpan(std::int64_t days, std::int32_t hours, std::int32_t minutes, std::int32_t seconds);

    bool IsValid() const { return m_status == Status::Valid; }
    Status GetStatus() const { return m_status; }
    double GetTotalDays() const { return m_days; }

    // Parts of the span rounded to the nearest whole second, each carrying the span's sign:
    // -1.25 days gives -1 day, -6 hours, 0 minutes, 0 seconds. Spans beyond about 10^14 days saturate.
    std::int64_t GetDays() const;
    int GetHours() const;
    int GetMinutes() const;
    int GetSeconds() const;

    // The span rounded to whole seconds (half a second away from zero), saturated to the 64-bit range.
    std::int64_t GetTotalSeconds() const;

private:
    // A span of this many seconds or more cannot be turned into an int64 count safely.
    static constexpr double kSaturatedSeconds = 9.0e18;

    double m_days = 0.0;
    Status m_status = Status::Valid;
};

// A local wall-clock moment to the second from 0100-01-01 00:00:00 to 9999-12-31 23:59:59, stored as the
// OLE Automation date: days since 1899-12-30, whose fraction counts forward from midnight even for
// negative day numbers (1899-12-29 06:00:00 is -1.25). Arithmetic and ordering use the continuous form,
// the signed real count of days (that same moment is -0.75).
class DateTime {
public:
    enum class Status { Valid, Invalid };

    // Components of a value rounded to the nearest whole second.
    struct Parts {
        int year, month, day, hour, minute, second;
        int dayOfWeek;   // 0 = Sunday ... 6 = Saturday
        int dayOfYear;   // [1, 366]
    };

    DateTime() = default;   // 1899-12-30 00:00:00, valid
    static DateTime Invalid();
    // Invalid when the components do not name a moment of the range.
    static DateTime FromParts(int year, int month, int day, int hour, int minute, int second);
    // Invalid when `stored` is not finite or lies outside the range.
    static DateTime FromStoredValue(double stored);

    // Valid with the given moment when every component is in range (day up to the month's length);
    // otherwise invalid, keeping the old stored value. Returns the new status.
    Status SetDateTime(int year, int month, int day, int hour, int minute, int second);
    // As above from the record's date and time; day of week and milliseconds are ignored.
    Status SetDateTime(const SystemTime& time);

    bool IsValid() const { return m_status == Status::Valid; }
    Status GetStatus() const { return m_status; }
    double GetStoredValue() const { return m_value; }
    // Inline, as every comparison reads it: truncating a negative stored value is its ceiling, and every
    // stored value lies well within the 64-bit range.
    double GetContinuousValue() const
    {
        return m_value >= 0.0 ? m_value : 2.0 * static_cast<double>(static_cast<std::int64_t>(m_value)) - m_value;
    }

    // Empty for an invalid value.
    std::optional<Parts> GetParts() const;
    // Each -1 for an invalid value.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;   // 1 = Sunday ... 7 = Saturday
    int GetDayOfYear() const;

    // Empty for an invalid value; day of week 0 = Sunday, milliseconds 0.
    std::optional<SystemTime> GetAsSystemTime() const;

    // The value through the C library's strftime in the current C locale; empty for an invalid value.
    std::string Format(const char* strftimeFormat) const;

    // Orders the continuous forms; meaningful for valid values only.
    bool operator<(const DateTime& other) const { return GetContinuousValue() < other.GetContinuousValue(); }
    bool operator<=(const DateTime& other) const { return GetContinuousValue() <= other.GetContinuousValue(); }
    bool operator>(const DateTime& other) const { return GetContinuousValue() > other.GetContinuousValue(); }
    bool operator>=(const DateTime& other) const { return GetContinuousValue() >= other.GetContinuousValue(); }
    // Equal when status and stored value are both equal.
    bool operator==(const DateTime& other) const { return m_status == other.m_status && m_value == other.m_value; }

    // Continuous a − b in days; invalid when either is invalid. No range test.
    DateTimeSpan operator-(const DateTime& other) const;
    // Invalid when either operand is invalid or the result, rounded to the second, leaves the range.
    DateTime operator+(const DateTimeSpan& span) const;
    DateTime operator-(const DateTimeSpan& span) const;
    DateTime& operator+=(const DateTimeSpan& span);
    DateTime& operator-=(const DateTimeSpan& span);

private:
    DateTime(double value, Status status) : m_value(value), m_status(status) {}
    static DateTime FromContinuous(double continuous);
    // The continuous form rounded to whole seconds; half a second rounds up (toward the next day).
    std::int64_t WholeSeconds() const;

    double m_value = 0.0;
    Status m_status = Status::Valid;
};

inline std::int64_t DateTimeSpan::GetTotalSeconds() const
{
    const double seconds = m_days * static_cast<double>(civil::kSecondsPerDay);
    if (std::isnan(seconds)) {
        return 0;
    }
    if (seconds >= kSaturatedSeconds) {
        return static_cast<std::int64_t>(kSaturatedSeconds);
    }
    if (seconds <= -kSaturatedSeconds) {
        return -static_cast<std::int64_t>(kSaturatedSeconds);
    }
    // std::llround without the call into the maths library: truncation and the rest are both exact here.
    const auto whole = static_cast<std::int64_t>(seconds);
    const double rest = seconds - static_cast<double>(whole);
    return rest >= 0.5 ? whole + 1 : (rest <= -0.5 ? whole - 1 : whole);
}

// Inline: every computation that takes a moment apart starts here, and most use only some of the parts.
inline std::int64_t DateTime::WholeSeconds() const
{
    // The floor by truncation: exact for the range, and without a call into the maths library.
    const double seconds = GetContinuousValue() * civil::kSecondsPerDay + 0.5;
    const auto truncated = static_cast<std::int64_t>(seconds);
    return static_cast<double>(truncated) > seconds ? truncated - 1 : truncated;
}

inline std::optional<DateTime::Parts> DateTime::GetParts() const
{
    if (!IsValid()) {
        return std::nullopt;
    }
    // Counted from 0000-03-01 every moment of the range is positive and under 2^32 days, so the civil
    // calendar (H. Hinnant's algorithm) runs on plain unsigned numbers, and each year ends with February.
    constexpr std::int64_t kMarchYearZero = 719468 + civil::kOleEpochFromUnixDays;   // in days before day 0
    const auto shifted = static_cast<std::uint64_t>(WholeSeconds() + kMarchYearZero * civil::kSecondsPerDay);
    const auto day = static_cast<std::uint32_t>(shifted / civil::kSecondsPerDay);
    const auto secondOfDay = static_cast<std::uint32_t>(shifted % civil::kSecondsPerDay);
    const std::uint32_t era = day / 146097;
    const std::uint32_t dayOfEra = day - era * 146097;
    const std::uint32_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::uint32_t dayOfMarchYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::uint32_t monthFromMarch = (5 * dayOfMarchYear + 2) / 153;
    const bool januaryOrFebruary = monthFromMarch >= 10;
    Parts parts{};
    parts.year = static_cast<int>(yearOfEra + era * 400 + (januaryOrFebruary ? 1 : 0));
    parts.month = static_cast<int>(januaryOrFebruary ? monthFromMarch - 9 : monthFromMarch + 3);
    parts.day = static_cast<int>(dayOfMarchYear - (153 * monthFromMarch + 2) / 5 + 1);
    parts.hour = static_cast<int>(secondOfDay / 3600);
    parts.minute = static_cast<int>(secondOfDay / 60 % 60);
    parts.second = static_cast<int>(secondOfDay % 60);
    parts.dayOfWeek = static_cast<int>((day + 3) % 7);   // 0000-03-01 was a Wednesday
    // January 1 is day 306 of the year from March; March 1 follows the 59 or 60 days of January and February.
    parts.dayOfYear = januaryOrFebruary
                          ? static_cast<int>(dayOfMarchYear) - 305
                          : static_cast<int>(dayOfMarchYear) + 60 +
                                (parts.year % 4 == 0 && (parts.year % 100 != 0 || parts.year % 400 == 0) ? 1 : 0);
    return parts;
}

// The C library's broken-down form of `parts`, day of week and day of year included; tm_isdst as given
// (-1 lets mktime find it).
std::tm ToTm(const DateTime::Parts& parts, int isDst);
