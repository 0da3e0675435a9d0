#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/program_location.h"

// One holiday calendar file as it was read: its holidays, or why it gave none.
struct HolidayFile {
    std::string path;
    int reasonMessage = -1;   // why it gave no holidays (kHolidayFileMissingMessage...); -1 when it was read
    std::vector<std::int64_t> holidays;   // days from 1970-01-01, sorted, unique, within 1754-01-01..9998-12-31
};

// Reads each iCalendar file through the program chronel-holiday-reader beside this program (found by
// `location`), one process per file, so that no file, however damaged or hostile, can crash, hang or
// exhaust the caller: each is given at most 2 s and 256 MiB. A file that cannot be read is returned with
// the message of its reason, a reader that answers anything but its protocol with
// kHolidayReaderFailedMessage; never throws, never blocks longer than that.
std::vector<HolidayFile> ReadHolidayFiles(const std::vector<std::string>& paths, const ProgramLocation& location);
