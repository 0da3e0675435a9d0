#pragma once

#include <string>

#include "core/locale_format.h"

// A fixed United States English locale: long date "dddd, MMMM dd, yyyy", time "h:mm:ss AP".
// `overflow` makes every call return a text too long to be accepted.
class FakeLocaleFormatter final : public LocaleFormatter {
public:
    std::string LongDate(const SystemTime& date) const override;
    std::string Time(const SystemTime& time) const override;
    std::string DatePicture(const SystemTime& date, std::string_view picture) const override;

    bool overflow = false;
};
