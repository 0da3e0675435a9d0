#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/date_time.h"
#include "core/system_time.h"

// The user's locale as the platform formats dates and times. Each call returns an empty text when the
// locale cannot format the record.
class LocaleFormatter {
public:
    virtual ~LocaleFormatter() = default;
    // The long date form, with the user's own overrides honoured.
    virtual std::string LongDate(const SystemTime& date) const = 0;
    // The default time form with hours, minutes and seconds and no zone name.
    virtual std::string Time(const SystemTime& time) const = 0;
    // One named part of a date: `picture` is "dddd", "ddd" (day name), "MMMM" or "MMM" (month name).
    virtual std::string DatePicture(const SystemTime& date, std::string_view picture) const = 0;
};

// Each is empty when the value is invalid, lies before 1601-01-01, or the formatter gives an empty
// text or one longer than 255 bytes.
std::optional<std::string> FormatLongDate(const LocaleFormatter& formatter, const DateTime& value);
std::optional<std::string> FormatTime(const LocaleFormatter& formatter, const DateTime& value);
// The month name with `month` set, else the day-of-week name; full with `longName`, else abbreviated.
std::optional<std::string> FormatDateName(const LocaleFormatter& formatter, const SystemTime& date, bool month,
                                          bool longName);
std::optional<std::string> FormatDateNameOf(const LocaleFormatter& formatter, const DateTime& value, bool month,
                                            bool longName);
