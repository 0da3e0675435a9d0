#include "platform/durable_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_folder.h"

namespace fs = std::filesystem;

namespace {

TEST(DurableFile, MakesFoldersWithParents)
{
    TempFolder folder;
    EXPECT_TRUE(MakeFolders(folder / "a/b/c/", 0700));
    EXPECT_TRUE(fs::is_directory(folder / "a/b/c"));
    WriteFileBytes(folder / "file", "");
    EXPECT_FALSE(MakeFolders(folder / "file", 0700));
    EXPECT_FALSE(MakeFolders(folder / "file/sub", 0700));
    EXPECT_FALSE(FolderLock(folder / "missing").Locked());
}

}   // namespace
