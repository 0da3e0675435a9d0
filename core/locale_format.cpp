#include "core/locale_format.h"

#include "core/calendar.h"

namespace {

constexpr std::size_t kMaxTextLength = 255;

// What the native locale functions accept: a real date from 1601 to 9999 and a real time of day.
bool IsFormattable(const SystemTime& time)
{
    return time.year >= 1601 && time.year <= 9999 && time.month >= 1 && time.month <= 12 && time.day >= 1 &&
           time.day <= DaysInMonth(time.year, time.month) && time.hour <= 23 && time.minute <= 59 && time.second <= 59;
}

std::optional<std::string> Accept(std::string text)
{
    if (text.empty() || text.size() > kMaxTextLength) {
        return std::nullopt;
    }
    return text;
}

}   // namespace

std::optional<std::string> FormatLongDate(const LocaleFormatter& formatter, const DateTime& value)
{
    const std::optional<SystemTime> time = value.GetAsSystemTime();
    if (!time || !IsFormattable(*time)) {
        return std::nullopt;
    }
    return Accept(formatter.LongDate(*time));
}

std::optional<std::string> FormatTime(const LocaleFormatter& formatter, const DateTime& value)
{
    const std::optional<SystemTime> time = value.GetAsSystemTime();
    if (!time || !IsFormattable(*time)) {
        return std::nullopt;
    }
    return Accept(formatter.Time(*time));
}

std::optional<std::string> FormatDateName(const LocaleFormatter& formatter, const SystemTime& date, bool month,
                                          bool longName)
{
    if (!IsFormattable(date)) {
        return std::nullopt;
    }
    const std::string_view picture = month ? (longName ? "MMMM" : "MMM") : (longName ? "dddd" : "ddd");
    return Accept(formatter.DatePicture(date, picture));
}

std::optional<std::string> FormatDateNameOf(const LocaleFormatter& formatter, const DateTime& value, bool month,
                                            bool longName)
{
    const std::optional<SystemTime> time = value.GetAsSystemTime();
    if (!time) {
        return std::nullopt;
    }
    return FormatDateName(formatter, *time, month, longName);
}
