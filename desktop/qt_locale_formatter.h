#pragma once

#include <memory>

#include <QString>

#include "core/locale_format.h"

// The user's locale as Qt reads it from the environment (LC_TIME): its long date format, and its
// long time format without the zone name.
//
// Time Info formats fifteen texts every second, so the locale's formats and names are read once and
// kept until Qt announces a locale change (QEvent::LocaleChange). Use one formatter from one thread.
class QtLocaleFormatter final : public LocaleFormatter {
public:
    QtLocaleFormatter();
    ~QtLocaleFormatter() override;

    std::string LongDate(const SystemTime& date) const override;
    std::string Time(const SystemTime& time) const override;
    std::string DatePicture(const SystemTime& date, std::string_view picture) const override;

private:
    struct Forms;
    const Forms& Current() const;

    mutable std::unique_ptr<Forms> m_forms;
};
