#include "cli/langinfo_formatter.h"

#include <langinfo.h>

#include <charconv>

#include "core/date_time.h"

namespace {

std::string Item(nl_item item, const char* fallback)
{
    const char* text = nl_langinfo(item);
    return text != nullptr && *text != '\0' ? text : fallback;
}

// The weekday from the date itself, as the platform does, not from the record's day-of-week field.
int Weekday(const SystemTime& date)
{
    const auto parts = DateTime::FromParts(date.year, date.month, date.day, 0, 0, 0).GetParts();
    return parts ? parts->dayOfWeek : 0;
}

void AppendNumber(std::string& text, int value, int width)
{
    char digits[16];
    const auto length = static_cast<int>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
    text.append(static_cast<std::size_t>(width > length ? width - length : 0), '0');
    text.append(digits, static_cast<std::size_t>(length));
}

}   // namespace

LangInfoFormatter::LangInfoFormatter()
{
    for (int i = 0; i < 7; ++i) {
        const auto index = static_cast<std::size_t>(i);
        m_days[index] = Item(static_cast<nl_item>(DAY_1 + i), "");
        m_shortDays[index] = Item(static_cast<nl_item>(ABDAY_1 + i), "");
    }
    for (int i = 0; i < 12; ++i) {
        const auto index = static_cast<std::size_t>(i);
        m_months[index] = Item(static_cast<nl_item>(MON_1 + i), "");
        m_shortMonths[index] = Item(static_cast<nl_item>(ABMON_1 + i), "");
    }
    // Locales of the 24-hour clock leave these empty; the picture still asks for them, as Qt's does.
    m_am = Item(AM_STR, "AM");
    m_pm = Item(PM_STR, "PM");
}

std::string LangInfoFormatter::LongDate(const SystemTime& date) const
{
    if (date.month < 1 || date.month > 12) {
        return {};
    }
    std::string text = m_days[static_cast<std::size_t>(Weekday(date))];
    text += ", ";
    text += m_months[date.month - 1u];
    text += ' ';
    AppendNumber(text, date.day, 2);
    text += ", ";
    AppendNumber(text, date.year, 4);
    return text;
}

std::string LangInfoFormatter::Time(const SystemTime& time) const
{
    std::string text;
    AppendNumber(text, time.hour % 12 == 0 ? 12 : time.hour % 12, 1);
    text += ':';
    AppendNumber(text, time.minute, 2);
    text += ':';
    AppendNumber(text, time.second, 2);
    text += ' ';
    text += time.hour < 12 ? m_am : m_pm;
    return text;
}

std::string LangInfoFormatter::DatePicture(const SystemTime& date, std::string_view picture) const
{
    const bool longName = picture.size() == 4;
    if (picture.starts_with("ddd")) {
        const auto day = static_cast<std::size_t>(Weekday(date));
        return longName ? m_days[day] : m_shortDays[day];
    }
    if (picture.starts_with("MMM") && date.month >= 1 && date.month <= 12) {
        return longName ? m_months[date.month - 1u] : m_shortMonths[date.month - 1u];
    }
    return {};
}
