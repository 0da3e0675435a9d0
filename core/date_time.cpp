#include "core/date_time.h"

#include <cmath>
#include <ctime>
#include <limits>

#include "core/calendar.h"
#include "core/civil.h"

namespace {

using civil::kSecondsPerDay;

constexpr std::int64_t OleDay(int year, int month, int day)
{
    return civil::DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
           civil::kOleEpochFromUnixDays;
}

constexpr std::int64_t kMinSeconds = OleDay(100, 1, 1) * kSecondsPerDay;
constexpr std::int64_t kMaxSeconds = OleDay(9999, 12, 31) * kSecondsPerDay + kSecondsPerDay - 1;
constexpr double kMinDays = static_cast<double>(OleDay(100, 1, 1));
constexpr double kMaxDays = static_cast<double>(OleDay(9999, 12, 31) + 1);

double StoredFromContinuous(double continuous)
{
    return continuous >= 0.0 ? continuous : 2.0 * std::floor(continuous) - continuous;
}

double ContinuousFromStored(double stored)
{
    return stored >= 0.0 ? stored : 2.0 * std::ceil(stored) - stored;
}

}   // namespace

DateTimeSpan DateTimeSpan::Invalid()
{
    DateTimeSpan span;
    span.m_status = Status::Invalid;
    return span;
}

void DateTimeSpan::SetDateTimeSpan(std::int64_t days, std::int32_t hours, std::int32_t minutes, std::int32_t seconds)
{
    // The clock part is summed exactly in seconds first, so 90 minutes and 3600 seconds are exactly 2.5 hours.
    const std::int64_t clockSeconds =
        static_cast<std::int64_t>(hours) * 3600 + static_cast<std::int64_t>(minutes) * 60 + seconds;
    m_days = static_cast<double>(days) + static_cast<double>(clockSeconds) / static_cast<double>(kSecondsPerDay);
    m_status = Status::Valid;
}

std::int64_t DateTimeSpan::GetDays() const
{
    return GetTotalSeconds() / kSecondsPerDay;
}

int DateTimeSpan::GetHours() const
{
    return static_cast<int>(GetTotalSeconds() % kSecondsPerDay / 3600);
}

int DateTimeSpan::GetMinutes() const
{
    return static_cast<int>(GetTotalSeconds() % 3600 / 60);
}

int DateTimeSpan::GetSeconds() const
{
    return static_cast<int>(GetTotalSeconds() % 60);
}

DateTime DateTime::Invalid()
{
    return DateTime(0.0, Status::Invalid);
}

DateTime DateTime::FromParts(int year, int month, int day, int hour, int minute, int second)
{
    DateTime value;
    value.SetDateTime(year, month, day, hour, minute, second);
    return value;
}

DateTime DateTime::FromStoredValue(double stored)
{
    if (!std::isfinite(stored)) {
        return Invalid();
    }
    return FromContinuous(ContinuousFromStored(stored));
}

DateTime DateTime::FromContinuous(double continuous)
{
    // The coarse test keeps the conversion to whole seconds defined; the exact one decides the range.
    if (!(continuous >= kMinDays - 1.0 && continuous <= kMaxDays + 1.0)) {
        return Invalid();
    }
    const auto seconds = static_cast<std::int64_t>(std::floor(continuous * kSecondsPerDay + 0.5));
    if (seconds < kMinSeconds || seconds > kMaxSeconds) {
        return Invalid();
    }
    return DateTime(StoredFromContinuous(continuous), Status::Valid);
}

DateTime::Status DateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second)
{
    const bool valid = year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
                       day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 &&
                       second >= 0 && second <= 59;
    if (!valid) {
        m_status = Status::Invalid;
        return m_status;
    }
    const std::int64_t dayNumber = OleDay(year, month, day);
    const double fraction = static_cast<double>(hour * 3600 + minute * 60 + second) / kSecondsPerDay;
    // The fraction counts forward from midnight also on negative day numbers.
    m_value = dayNumber >= 0 ? static_cast<double>(dayNumber) + fraction : static_cast<double>(dayNumber) - fraction;
    m_status = Status::Valid;
    return m_status;
}

DateTime::Status DateTime::SetDateTime(const SystemTime& time)
{
    return SetDateTime(time.year, time.month, time.day, time.hour, time.minute, time.second);
}

int DateTime::GetYear() const
{
    const auto parts = GetParts();
    return parts ? parts->year : -1;
}

int DateTime::GetMonth() const
{
    const auto parts = GetParts();
    return parts ? parts->month : -1;
}

int DateTime::GetDay() const
{
    const auto parts = GetParts();
    return parts ? parts->day : -1;
}

int DateTime::GetHour() const
{
    const auto parts = GetParts();
    return parts ? parts->hour : -1;
}

int DateTime::GetMinute() const
{
    const auto parts = GetParts();
    return parts ? parts->minute : -1;
}

int DateTime::GetSecond() const
{
    const auto parts = GetParts();
    return parts ? parts->second : -1;
}

int DateTime::GetDayOfWeek() const
{
    const auto parts = GetParts();
    return parts ? parts->dayOfWeek + 1 : -1;
}

int DateTime::GetDayOfYear() const
{
    const auto parts = GetParts();
    return parts ? parts->dayOfYear : -1;
}

std::optional<SystemTime> DateTime::GetAsSystemTime() const
{
    const auto parts = GetParts();
    if (!parts) {
        return std::nullopt;
    }
    SystemTime time;
    time.year = static_cast<std::uint16_t>(parts->year);
    time.month = static_cast<std::uint16_t>(parts->month);
    time.dayOfWeek = static_cast<std::uint16_t>(parts->dayOfWeek);
    time.day = static_cast<std::uint16_t>(parts->day);
    time.hour = static_cast<std::uint16_t>(parts->hour);
    time.minute = static_cast<std::uint16_t>(parts->minute);
    time.second = static_cast<std::uint16_t>(parts->second);
    return time;
}

std::string DateTime::Format(const char* strftimeFormat) const
{
    const auto parts = GetParts();
    if (!parts || strftimeFormat == nullptr) {
        return {};
    }
    const std::tm tm = ToTm(*parts, -1);
    char buffer[256];
    const std::size_t length = std::strftime(buffer, sizeof buffer, strftimeFormat, &tm);
    return std::string(buffer, length);
}

DateTimeSpan DateTime::operator-(const DateTime& other) const
{
    if (!IsValid() || !other.IsValid()) {
        return DateTimeSpan::Invalid();
    }
    return DateTimeSpan(GetContinuousValue() - other.GetContinuousValue());
}

DateTime DateTime::operator+(const DateTimeSpan& span) const
{
    if (!IsValid() || !span.IsValid()) {
        return Invalid();
    }
    return FromContinuous(GetContinuousValue() + span.GetTotalDays());
}

DateTime DateTime::operator-(const DateTimeSpan& span) const
{
    if (!IsValid() || !span.IsValid()) {
        return Invalid();
    }
    return FromContinuous(GetContinuousValue() - span.GetTotalDays());
}

DateTime& DateTime::operator+=(const DateTimeSpan& span)
{
    *this = *this + span;
    return *this;
}

DateTime& DateTime::operator-=(const DateTimeSpan& span)
{
    *this = *this - span;
    return *this;
}

std::tm ToTm(const DateTime::Parts& parts, int isDst)
{
    std::tm tm{};
    tm.tm_year = parts.year - 1900;
    tm.tm_mon = parts.month - 1;
    tm.tm_mday = parts.day;
    tm.tm_hour = parts.hour;
    tm.tm_min = parts.minute;
    tm.tm_sec = parts.second;
    tm.tm_wday = parts.dayOfWeek;
    tm.tm_yday = parts.dayOfYear - 1;
    tm.tm_isdst = isDst;
    return tm;
}
