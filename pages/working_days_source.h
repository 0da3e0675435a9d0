#pragma once

#include <QLocale>
#include <QObject>
#include <QThread>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "calc/working_days.h"

class SettingsStore;

// One holiday calendar file as the pages show it.
struct HolidayCalendarFile {
    std::string path;
    int reasonMessage = -1;               // why it gave no holidays, a message id; -1 when it was read
    std::vector<std::int64_t> holidays;   // days from 1970-01-01
};

// The locale's working weekdays as WorkingWeekdays stores them (bit 0 = Monday ... bit 6 = Sunday).
std::uint32_t LocaleWorkingWeekdays(const QLocale& locale);

// The weekend and the holidays the Difference and Calculation pages count with, from WorkingWeekdays (the
// locale's working days while it holds none) and the files HolidayCalendars lists. The files are read off
// the UI thread, since each may take seconds; until they are in, the holidays read before stay.
class WorkingDaysSource final : public QObject {
    Q_OBJECT
public:
    // Reads every file, one result per path in order; it runs on another thread.
    using Reader = std::function<std::vector<HolidayCalendarFile>(const std::vector<std::string>& paths)>;

    WorkingDaysSource(const SettingsStore& settings, Reader reader, std::uint32_t localeWeekdays);
    // Waits for a reading under way.
    ~WorkingDaysSource() override;

    // Takes the settings again: the weekend at once, the files when their list changed. `changed` follows
    // each.
    void Reload();

    const WorkingCalendar& Calendar() const { return m_calendar; }
    // The files of the last reading, in the stored order.
    const std::vector<HolidayCalendarFile>& Files() const { return m_files; }

signals:
    void changed();

private:
    void Rebuild();
    void StartReading(std::vector<std::string> paths);

    const SettingsStore& m_settings;
    Reader m_reader;
    std::uint32_t m_localeWeekdays;
    std::uint32_t m_weekdays;
    WorkingCalendar m_calendar;
    std::vector<std::string> m_paths;   // the list last asked for
    std::vector<HolidayCalendarFile> m_files;
    QThread* m_reading = nullptr;
};
