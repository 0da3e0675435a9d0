#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "core/date_time.h"
#include "core/program_location.h"
#include "settings/autostart_list.h"
#include "settings/settings_backend.h"

// Every persistent setting, numbered as stored; each name is the stored value's name.
enum class SettingId {
    ActivePageNo = 0,
    ActiveInfoPageNo,
    ActiveTemplateNo,
    Visibled,
    DataOnly,
    AddToTarget,
    AddCr,
    DateFrom,
    TimeFrom,
    CurFrom,
    DateTo,
    TimeTo,
    CurTo,
    DateStart,
    TimeStart,
    CurStart,
    YearsPlus,
    IsMonthsPlus,
    MonthsPlus,
    IsWeeksPlus,
    WeeksPlus,
    DaysPlus,
    HoursPlus,
    MinutesPlus,
    SecondsPlus,
    Date,
    Time,
    Current,
    DateRollback,
    TimeRollback,
    Rollback,
    Span,
    Autoload,
    HideToTray,
    TemplateFolder,
    Lang,
    MoonAstronomical,
    WorkingWeekdays,
    HolidayCalendars,
    CalcWorkingDays,
    InfoZone,
    DifferenceStartZone,
    DifferenceFinalZone,
    SunPlaces,
};

inline constexpr int kSettingCount = 44;

enum class SettingKind { Integer, Text, DateTime, Span, TextList };

struct SettingInfo {
    std::string_view name;
    SettingKind kind;
    int defaultInt;                 // integer kind only
    std::string_view defaultText;   // text kind only; TemplateFolder's default is computed
};

// Empty for an identifier outside 0..42.
std::optional<SettingInfo> DescribeSetting(SettingId id);

// The settings of the program, each read from and written to the backend at once (the backend keeps the
// parsed file), so a value written anywhere is seen by the next read everywhere. The integer operations take only
// integer identifiers; the text, date-time and span operations only identifiers stored as text. Failures are never
// reported: reads give the default, writes return false.
class SettingsStore {
public:
    // A stored text longer than this, its terminating zero included, reads as the default.
    static constexpr std::size_t kMaxTextBytes = 2056;
    static constexpr std::string_view kApplicationName = "Chronel";

    SettingsStore(SettingsBackend& backend, AutostartList& autostart, const Clock& clock,
                  const ProgramLocation& location)
        : m_backend(backend),
          m_autostart(autostart),
          m_clock(clock),
          m_location(location)
    {
    }

    // False, writing nothing, for an identifier that is not of the integer kind.
    bool WriteInt(SettingId id, int value) const;
    // The stored value whatever its type when its data fits four bytes (read as a little-endian
    // integer), else the default; 0 for an identifier that is not of the integer kind.
    int ReadInt(SettingId id) const;

    // Stores the text up to its first zero byte. False for an integer or list identifier.
    bool WriteString(SettingId id, std::string_view text) const;
    // True with the stored text (its data up to the first zero, whatever its type); false with the
    // default (empty for date-times and spans) when it is missing or too long. An integer or list identifier
    // leaves `text` unchanged and gives false.
    bool ReadString(SettingId id, std::string& text) const;

    // Stored as a list of texts (each ends with a zero byte, the list with one more), so any file path
    // keeps its bytes. False for an identifier not of the list kind.
    bool WriteList(SettingId id, const std::vector<std::string>& texts) const;
    // The stored texts; empty when missing, of another type, or not of the list kind.
    std::vector<std::string> ReadList(SettingId id) const;

    // Stored as "%d %d %d %d %d %d": year, month, day, hour, minute, second (an invalid value as six -1).
    bool WriteDateTime(SettingId id, const DateTime& value) const;
    // The stored moment; the current time when the text is missing, empty or holds fewer than six
    // numbers; invalid when the numbers name no moment of the range.
    DateTime ReadDateTime(SettingId id) const;

    // Stored as the day count with exactly 20 decimals and a point, whatever the locale (for other copies
    // of the program; this one does not read it back).
    bool WriteSpan(SettingId id, const DateTimeSpan& value) const;

    // Adds the program to, or removes it from, the programs started at log-on; the Autoload setting is
    // the caller's business.
    AutostartChange SetAutoload(bool enable) const;

    // The template folder while none is stored (see the free DefaultTemplateFolder).
    std::string DefaultTemplateFolder() const;

private:
    SettingsBackend& m_backend;
    AutostartList& m_autostart;
    const Clock& m_clock;
    const ProgramLocation& m_location;
};
