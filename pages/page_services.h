#pragma once

#include <functional>

#include "core/clock.h"
#include "core/date_time.h"
#include "core/locale_format.h"
#include "core/messages.h"
#include "info/zone_source.h"

class SettingsStore;
class WorkingDaysSource;

// What the pages use of the rest of the program; tests hand in fakes.
struct PageServices {
    const Clock& clock;
    const LocaleFormatter& formatter;
    const SettingsStore& settings;
    const MessageSource& messages;   // the current language's numbered texts
    const ZoneSource& zones;
    // Shows a date-time on the Time Info page and activates that page.
    std::function<void(const DateTime&)> showOnTimeInfo;
    // The weekend and holidays of the working-day counts; without one, Monday to Friday and no holidays.
    WorkingDaysSource* workingDays = nullptr;
};
