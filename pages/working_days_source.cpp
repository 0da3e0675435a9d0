#include "pages/working_days_source.h"

#include "settings/settings_store.h"

namespace {

constexpr std::uint32_t kWholeWeek = 0x7F;

}   // namespace

std::uint32_t LocaleWorkingWeekdays(const QLocale& locale)
{
    std::uint32_t weekdays = 0;
    for (const Qt::DayOfWeek day : locale.weekdays()) {
        weekdays |= 1u << (static_cast<int>(day) - 1);
    }
    return weekdays != 0 ? weekdays : kMondayToFriday;
}

WorkingDaysSource::WorkingDaysSource(const SettingsStore& settings, Reader reader, std::uint32_t localeWeekdays)
    : m_settings(settings),
      m_reader(std::move(reader)),
      m_localeWeekdays(localeWeekdays),
      m_weekdays(localeWeekdays),
      m_calendar(localeWeekdays)
{
}

WorkingDaysSource::~WorkingDaysSource()
{
    // The reading's own end would delete the thread, but that call dies with this object.
    if (m_reading != nullptr) {
        m_reading->wait();
        delete m_reading;
    }
}

void WorkingDaysSource::Reload()
{
    const auto stored = static_cast<std::uint32_t>(m_settings.ReadInt(SettingId::WorkingWeekdays)) & kWholeWeek;
    m_weekdays = stored != 0 ? stored : m_localeWeekdays;
    std::vector<std::string> paths = m_settings.ReadList(SettingId::HolidayCalendars);
    if (paths != m_paths) {
        m_paths = paths;
        StartReading(std::move(paths));
    }
    Rebuild();
}

void WorkingDaysSource::Rebuild()
{
    std::vector<std::int64_t> holidays;
    for (const HolidayCalendarFile& file : m_files) {
        holidays.insert(holidays.end(), file.holidays.begin(), file.holidays.end());
    }
    m_calendar = WorkingCalendar(m_weekdays, std::move(holidays));
    emit changed();
}

void WorkingDaysSource::StartReading(std::vector<std::string> paths)
{
    if (!m_reader || m_reading != nullptr) {
        // A reading under way picks up the newest list when it ends.
        if (!m_reader) {
            m_files.clear();
        }
        return;
    }
    m_reading = QThread::create([this, paths = std::move(paths)] {
        std::vector<HolidayCalendarFile> files = m_reader(paths);
        QMetaObject::invokeMethod(
            this,
            [this, paths, files = std::move(files)]() mutable {
                m_reading->wait();
                delete m_reading;
                m_reading = nullptr;
                if (paths != m_paths) {
                    StartReading(m_paths);
                    return;
                }
                m_files = std::move(files);
                Rebuild();
            },
            Qt::QueuedConnection);
    });
    m_reading->start();
}
