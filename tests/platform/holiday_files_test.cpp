#include "platform/holiday_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"

namespace {

// The reader as built, beside a program in a folder of the test's own.
struct ReaderBeside {
    TempFolder folder;
    FakeProgramLocation location{folder / "chronel"};
    ReaderBeside() { std::filesystem::create_symlink(CHRONEL_HOLIDAY_READER, folder / "chronel-holiday-reader"); }
};

TEST(HolidayFiles, ReadsEachFileOrSaysWhyNot)
{
    ReaderBeside reader;
    mkfifo((reader.folder / "fifo.ics").c_str(), 0600);
    std::filesystem::create_symlink("/dev/zero", reader.folder / "zero.ics");
    std::filesystem::resize_file((WriteFileBytes(reader.folder / "huge.ics", ""), reader.folder / "huge.ics"),
                                 17u << 20);
    const std::string data = CHRONEL_TEST_DATA_DIR "/ics/";
    const std::vector<std::pair<std::string, std::string>> kFiles = {
        {data + "exceptions.ics", ""},
        {reader.folder / "fifo.ics", "not a regular file"},
        {reader.folder / "zero.ics", "not a regular file"},
        {reader.folder / "huge.ics", "larger than 16 MiB, the most a holiday file may hold"},
        {reader.folder / "missing.ics", "cannot be opened: No such file or directory"},
        {data + "daily_forever.ics", "an event repeats more than 100,000 times"},
    };
    std::vector<std::string> paths;
    for (const auto& file : kFiles) {
        paths.push_back(file.first);
    }
    const auto started = std::chrono::steady_clock::now();
    const std::vector<HolidayFile> files = ReadHolidayFiles(paths, reader.location);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2 * kFiles.size()));
    ASSERT_EQ(files.size(), kFiles.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(kFiles[i].first);
        EXPECT_EQ(files[i].path, kFiles[i].first);
        EXPECT_EQ(files[i].reason, kFiles[i].second);
        EXPECT_EQ(files[i].readable, kFiles[i].second.empty());
        EXPECT_EQ(files[i].holidays.size(), kFiles[i].second.empty() ? 14u : 0u);
    }
}

TEST(HolidayFiles, WithoutTheReaderEveryFileSaysSo)
{
    TempFolder folder;
    const std::vector<HolidayFile> files =
        ReadHolidayFiles({CHRONEL_TEST_DATA_DIR "/ics/yearly.ics"}, FakeProgramLocation(folder / "chronel"));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_FALSE(files[0].readable);
    EXPECT_EQ(files[0].reason, "the holiday reader chronel-holiday-reader is missing");
}

}   // namespace
