#include "desktop/qt_zone_names.h"

#include <QByteArray>
#include <QLocale>
#include <QTimeZone>
#include <map>
#include <mutex>
#include <utility>

std::optional<ZoneNames> QtZoneNames(const std::string& zoneId)
{
    if (zoneId.empty()) {
        return std::nullopt;
    }
    // Asking ICU costs about 0.2 ms, too much for a refresh every second; the names of a zone in one
    // locale do not change while the program runs.
    static std::mutex mutex;
    static std::map<std::pair<std::string, std::string>, std::optional<ZoneNames>> cache;
    const QLocale locale;
    const std::lock_guard lock(mutex);
    const auto key = std::make_pair(zoneId, locale.name().toStdString());
    if (const auto found = cache.find(key); found != cache.end()) {
        return found->second;
    }
    std::optional<ZoneNames> names;
    const QTimeZone zone(QByteArray::fromStdString(zoneId));
    if (zone.isValid()) {
        names = ZoneNames{zone.displayName(QTimeZone::StandardTime, QTimeZone::LongName, locale).toStdString(),
                          zone.displayName(QTimeZone::DaylightTime, QTimeZone::LongName, locale).toStdString()};
        if (names->standardName.empty()) {
            names.reset();
        }
    }
    cache.emplace(key, names);
    return names;
}
