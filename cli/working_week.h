#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/working_days.h"
#include "cli/cli_options.h"
#include "core/program_location.h"

// The working weekdays (bit 0 = Monday ... bit 6 = Sunday) left by the days off `list` names: a comma list of
// English weekday names, their three-letter forms or numbers 1 to 7 (Monday = 1), in any case; an empty list
// names no day off. Empty, with `problem` set, for a name it does not know or a week left without a working day.
std::optional<std::uint32_t> ReadWeekend(std::string_view list, std::string& problem);

// What the window's settings say of working days; empty where the settings text holds nothing usable.
struct StoredWorkingWeek {
    std::optional<std::uint32_t> workingWeekdays;
    std::vector<std::string> holidayFiles;
};
StoredWorkingWeek ReadStoredWorkingWeek(std::string_view settingsText);

// The working days of one run: --weekend and --holidays where given, else the user's settings (read, never
// written), else Monday to Friday. Empty, with `problem` set, when a file given with --holidays cannot be
// read; `warnings` gets a line for each holiday file of the settings that cannot be read and is left out.
std::optional<WorkingCalendar> LoadWorkingCalendar(const CliOptions& options, const ProgramLocation& location,
                                                   std::string& problem, std::vector<std::string>& warnings);
