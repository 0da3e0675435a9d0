#include "platform/holiday_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <filesystem>

#include "core/civil.h"
#include "core/messages.h"
#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"

namespace {

constexpr char kBuiltReader[] = "";
constexpr char kNoReader[] = "-";
constexpr int kFailed = kHolidayReaderFailedMessage;

struct ReadCase {
    std::string why;
    std::string file;
    std::string reader;   // kBuiltReader, kNoReader or a shell script the test puts in its place
    int reasonMessage;
    std::size_t holidays;
};

TEST(HolidayFiles, ReadsEachFileOrSaysWhyNotAndTakesOnlyAStrictAnswer)
{
    TempFolder files;
    mkfifo((files / "fifo.ics").c_str(), 0600);
    std::filesystem::create_symlink("/dev/zero", files / "zero.ics");
    WriteFileBytes(files / "huge.ics", "");
    std::filesystem::resize_file(files / "huge.ics", 17u << 20);
    WriteFileBytes(files / "empty.ics", "");
    WriteFileBytes(files / "todo.ics", "BEGIN:VTODO\nEND:VTODO\n");
    const std::string data = CHRONEL_TEST_DATA_DIR "/ics/";
    const std::string any = data + "yearly.ics";
    // A reader that prints `answer` whatever the file.
    const auto prints = [](const std::string& answer) { return "printf '%s' '" + answer + "'"; };
    const auto day = [](int y, int m, int d) { return std::to_string(civil::DaysFromCivil(y, m, d)); };
    const ReadCase cases[] = {
        {"a calendar", data + "exceptions.ics", kBuiltReader, -1, 14},
        {"a FIFO does not hold the reader", files / "fifo.ics", kBuiltReader, kHolidayFileIrregularMessage, 0},
        {"a link to a device", files / "zero.ics", kBuiltReader, kHolidayFileIrregularMessage, 0},
        {"over 16 MiB", files / "huge.ics", kBuiltReader, kHolidayFileTooLargeMessage, 0},
        {"no such file", files / "missing.ics", kBuiltReader, kHolidayFileMissingMessage, 0},
        {"no calendar", files / "empty.ics", kBuiltReader, kHolidayFileNotCalendarMessage, 0},
        {"a calendar of no events", files / "todo.ics", kBuiltReader, kHolidayFileNotCalendarMessage, 0},
        {"an endless rule", data + "daily_forever.ics", kBuiltReader, kHolidayFileRepeatsMessage, 0},
        {"no reader beside the program", any, kNoReader, kHolidayReaderMissingMessage, 0},
        {"both ends of the span", any, prints("ok 2\n" + day(1754, 1, 1) + "\n" + day(9998, 12, 31) + "\n"), -1, 2},
        {"days out of order", any, prints("ok 2\n1\n0\n"), kFailed, 0},
        {"a repeated day", any, prints("ok 2\n0\n0\n"), kFailed, 0},
        {"a day before 1754", any, prints("ok 1\n" + day(1753, 12, 31) + "\n"), kFailed, 0},
        {"a day after 9998", any, prints("ok 1\n" + day(9999, 1, 1) + "\n"), kFailed, 0},
        {"a count that disagrees", any, prints("ok 1\n0\n1\n"), kFailed, 0},
        {"no final newline", any, prints("ok 1\n0"), kFailed, 0},
        {"a signed day", any, prints("ok 1\n+5\n"), kFailed, 0},
        {"no answer", any, prints(""), kFailed, 0},
        {"an unknown reason", any, prints("error gone\n"), kFailed, 0},
        {"lines after an error", any, prints("error size\nok 0\n"), kFailed, 0},
        {"a reason of the reader's own", any, prints("error memory\n"), kHolidayFileMemoryMessage, 0},
        {"open refused", any, prints("error open " + std::to_string(EACCES) + "\n"), kHolidayFileForbiddenMessage, 0},
        {"open forbidden", any, prints("error open " + std::to_string(EPERM) + "\n"), kHolidayFileForbiddenMessage, 0},
        {"open failed", any, prints("error open " + std::to_string(EIO) + "\n"), kHolidayFileUnreadableMessage, 0},
        {"read failed", any, prints("error read " + std::to_string(ENOENT) + "\n"), kHolidayFileUnreadableMessage, 0},
        {"an open failure without its number", any, prints("error open\n"), kFailed, 0},
        {"a non-zero exit", any, prints("ok 0\n") + "; exit 1", kFailed, 0},
        {"a reader past its time", any, "sleep 5", kHolidayFileTimeoutMessage, 0},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.why);
        TempFolder folder;
        const std::string reader = folder / "chronel-holiday-reader";
        if (c.reader == kBuiltReader) {
            std::filesystem::create_symlink(CHRONEL_HOLIDAY_READER, reader);
        } else if (c.reader != kNoReader) {
            WriteFileBytes(reader, "#!/bin/sh\n" + c.reader + "\n");
            chmod(reader.c_str(), 0700);
        }
        const auto started = std::chrono::steady_clock::now();
        const std::vector<HolidayFile> read = ReadHolidayFiles({c.file}, FakeProgramLocation(folder / "chronel"));
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
        ASSERT_EQ(read.size(), 1u);
        EXPECT_EQ(read[0].path, c.file);
        EXPECT_EQ(read[0].reasonMessage, c.reasonMessage);
        EXPECT_EQ(read[0].holidays.size(), c.holidays);
    }
}

}   // namespace
