#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/date_time.h"
#include "core/locale_format.h"
#include "core/messages.h"
#include "info/chosen_zone.h"
#include "info/zone_directory.h"
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
    // The places the zone choosers list; without them, only this computer's zone.
    const std::vector<ZonePlace>* zonePlaces = nullptr;
    // Other zones by name; without it, every page answers for this computer's zone.
    ZoneLoader loadZone = {};
    // This computer's zone as the choosers name it: "Europe/Berlin", or its present offset "UTC+01:00".
    std::string computerZone = {};
};

// The same services answering for `zone`: its clock and zone source in place of the computer's.
inline PageServices ServicesIn(const PageServices& services, const ChosenZone& zone)
{
    return {zone.GetClock(),   services.formatter,      services.settings,    services.messages,
            zone.Zones(),      services.showOnTimeInfo, services.workingDays, services.zonePlaces,
            services.loadZone, services.computerZone};
}
