#include "platform/proc_program_location.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ProcProgramLocation, NamesTheRunningTestProgram)
{
    const ProcProgramLocation location;
    const std::string path = location.ExecutablePath();
    EXPECT_TRUE(path.ends_with("/chronel_ui_tests")) << path;
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    EXPECT_EQ(ProgramFolder(location) + "chronel_ui_tests", path);
}

}  // namespace
