#include "cli/working_week.h"

#include <algorithm>
#include <array>

#include "core/file_access.h"
#include "platform/holiday_files.h"
#include "platform/reg_file_settings_backend.h"
#include "platform/xdg_paths.h"
#include "settings/default_messages.h"
#include "settings/reg_file.h"

namespace {

constexpr std::array<std::string_view, 7> kWeekdayNames = {"monday", "tuesday",  "wednesday", "thursday",
                                                           "friday", "saturday", "sunday"};
constexpr std::uint32_t kWholeWeek = 0x7F;

// Where the window keeps its settings, and the key that holds them.
constexpr std::string_view kSettingsFile = "/Orvane/Chronel.reg";
constexpr std::string_view kSettingsKey = "HKEY_CURRENT_USER\\Software\\Orvane\\Chronel";

// The day of the week `name` names, 0 = Monday; empty when it names none.
std::optional<std::size_t> WeekdayOf(std::string_view name)
{
    if (name.size() == 1 && name[0] >= '1' && name[0] <= '7') {
        return static_cast<std::size_t>(name[0] - '1');
    }
    std::string lower(name);
    std::ranges::transform(lower, lower.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
    for (std::size_t day = 0; day < kWeekdayNames.size(); ++day) {
        if (lower == kWeekdayNames[day] || (lower.size() == 3 && kWeekdayNames[day].starts_with(lower))) {
            return day;
        }
    }
    return std::nullopt;
}

}   // namespace

std::optional<std::uint32_t> ReadWeekend(std::string_view list, std::string& problem)
{
    std::uint32_t working = kWholeWeek;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        const std::optional<std::size_t> day = WeekdayOf(name);
        if (!day) {
            problem = "--weekend '" + std::string(name) +
                      "' is no weekday: use monday ... sunday, mon ... sun or 1 ... 7 (Monday = 1)";
            return std::nullopt;
        }
        working &= ~(1u << *day);
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    if (working == 0) {
        problem = "--weekend leaves no working day in the week";
        return std::nullopt;
    }
    return working;
}

StoredWorkingWeek ReadStoredWorkingWeek(std::string_view settingsText)
{
    StoredWorkingWeek week;
    const RegFileContent content = ParseRegFile(settingsText);
    const RegValue* weekdays = content.document.Find(kSettingsKey, "WorkingWeekdays");
    if (weekdays != nullptr && weekdays->type == static_cast<std::uint32_t>(RegType::Dword) &&
        weekdays->data.size() == 4) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value |= static_cast<std::uint32_t>(static_cast<unsigned char>(weekdays->data[i])) << (8 * i);
        }
        // A week without a working day is refused where it is chosen: a file holding one was not written so.
        if ((value & kWholeWeek) != 0) {
            week.workingWeekdays = value & kWholeWeek;
        }
    }
    if (const RegValue* files = content.document.Find(kSettingsKey, "HolidayCalendars")) {
        week.holidayFiles = files->Texts();
    }
    return week;
}

std::optional<WorkingCalendar> LoadWorkingCalendar(const CliOptions& options, const ProgramLocation& location,
                                                   std::string& problem, std::vector<std::string>& warnings)
{
    StoredWorkingWeek stored;
    if (!options.workingWeekdays || options.holidayFiles.empty()) {
        const std::string configHome = XdgConfigHome();
        const FileReadResult file = configHome.empty() ? FileReadResult{}
                                                       : ReadFileLimited(configHome + std::string(kSettingsFile),
                                                                         RegFileSettingsBackend::kMaxFileBytes);
        if (file.status == FileReadStatus::Ok) {
            stored = ReadStoredWorkingWeek(file.bytes);
        }
    }
    const bool given = !options.holidayFiles.empty();
    const std::vector<std::string> paths =
        given ? std::vector<std::string>(options.holidayFiles.begin(), options.holidayFiles.end())
              : stored.holidayFiles;
    std::vector<std::int64_t> holidays;
    // Without holiday files the reader program is never started: most answers need none.
    for (HolidayFile& file : paths.empty() ? std::vector<HolidayFile>() : ReadHolidayFiles(paths, location)) {
        if (file.reasonMessage >= 0) {
            const std::string line =
                "holiday file " + file.path + " " + std::string(DefaultMessage(file.reasonMessage));
            if (given) {
                problem = line;
                return std::nullopt;
            }
            warnings.push_back(line + "; left out");
            continue;
        }
        holidays.insert(holidays.end(), file.holidays.begin(), file.holidays.end());
    }
    return WorkingCalendar(options.workingWeekdays.value_or(stored.workingWeekdays.value_or(kMondayToFriday)),
                           std::move(holidays));
}
