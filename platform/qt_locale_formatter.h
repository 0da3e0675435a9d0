#pragma once

#include <QString>

#include "core/locale_format.h"

// The user's locale as Qt reads it from the environment (LC_TIME): its long date format, and its
// long time format without the zone name.
class QtLocaleFormatter final : public LocaleFormatter {
public:
    std::string LongDate(const SystemTime& date) const override;
    std::string Time(const SystemTime& time) const override;
    std::string DatePicture(const SystemTime& date, std::string_view picture) const override;
};
