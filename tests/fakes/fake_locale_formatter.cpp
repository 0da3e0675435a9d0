#include "fakes/fake_locale_formatter.h"

#include <cstdio>

#include "core/date_time.h"

namespace {

const char* const kDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

// The weekday from the date itself, as the platform does, not from the record's day-of-week field.
int Weekday(const SystemTime& date)
{
    const auto parts = DateTime::FromParts(date.year, date.month, date.day, 0, 0, 0).GetParts();
    return parts ? parts->dayOfWeek : 0;
}

}  // namespace

std::string FakeLocaleFormatter::LongDate(const SystemTime& date) const
{
    if (overflow) {
        return std::string(300, 'x');
    }
    char text[64];
    std::snprintf(text, sizeof text, "%s, %s %02d, %04d", kDayNames[Weekday(date)], kMonthNames[date.month - 1],
                  date.day, date.year);
    return text;
}

std::string FakeLocaleFormatter::Time(const SystemTime& time) const
{
    if (overflow) {
        return std::string(300, 'x');
    }
    const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d:%02d %s", hour12, time.minute, time.second,
                  time.hour < 12 ? "AM" : "PM");
    return text;
}

std::string FakeLocaleFormatter::DatePicture(const SystemTime& date, std::string_view picture) const
{
    if (overflow) {
        return std::string(300, 'x');
    }
    const std::string day = kDayNames[Weekday(date)];
    const std::string month = kMonthNames[date.month - 1];
    if (picture == "dddd") {
        return day;
    }
    if (picture == "ddd") {
        return day.substr(0, 3);
    }
    if (picture == "MMMM") {
        return month;
    }
    if (picture == "MMM") {
        return month.substr(0, 3);
    }
    return {};
}
