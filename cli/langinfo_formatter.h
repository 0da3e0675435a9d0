#pragma once

#include <array>
#include <string>

#include "core/locale_format.h"

// The program's own pictures, long date "dddd, MMMM dd, yyyy" and time "h:mm:ss AP", with the day and
// month names and the AM and PM texts of the C library's locale (LC_TIME, through nl_langinfo): English in
// the C locale, where it writes what the program's fixed English formatter writes. The names are read once,
// when the formatter is made.
class LangInfoFormatter final : public LocaleFormatter {
public:
    LangInfoFormatter();

    std::string LongDate(const SystemTime& date) const override;
    std::string Time(const SystemTime& time) const override;
    std::string DatePicture(const SystemTime& date, std::string_view picture) const override;

private:
    std::array<std::string, 7> m_days, m_shortDays;   // Sunday first
    std::array<std::string, 12> m_months, m_shortMonths;
    std::string m_am, m_pm;
};
