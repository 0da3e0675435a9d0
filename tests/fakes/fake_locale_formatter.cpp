#include "fakes/fake_locale_formatter.h"

#include <cstdio>

#include "core/date_time.h"

namespace {

const char* const kDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

// The weekday from the date itself, as the platform does, not from the record's day-of-week field.
std::string DayName(const SystemTime& date)
{
    const auto parts = DateTime::FromParts(date.year, date.month, date.day, 0, 0, 0).GetParts();
    return kDayNames[parts ? parts->dayOfWeek : 0];
}

}   // namespace

std::string FakeLocaleFormatter::LongDate(const SystemTime& date) const
{
    char text[64];
    std::snprintf(text, sizeof text, "%s, %s %02d, %04d", DayName(date).c_str(), kMonthNames[date.month - 1], date.day,
                  date.year);
    return overflow ? std::string(300, 'x') : text;
}

std::string FakeLocaleFormatter::Time(const SystemTime& time) const
{
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d:%02d %s", time.hour % 12 == 0 ? 12 : time.hour % 12, time.minute,
                  time.second, time.hour < 12 ? "AM" : "PM");
    return overflow ? std::string(300, 'x') : text;
}

std::string FakeLocaleFormatter::DatePicture(const SystemTime& date, std::string_view picture) const
{
    const std::string name = picture.starts_with("ddd")   ? DayName(date)
                             : picture.starts_with("MMM") ? kMonthNames[date.month - 1]
                                                          : "";
    return overflow ? std::string(300, 'x') : picture.size() == 3 ? name.substr(0, 3) : name;
}
