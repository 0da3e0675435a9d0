#include "platform/durable_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_folder.h"

namespace fs = std::filesystem;

namespace {

TEST(DurableFile, ReplacesWholeAndClearsLeftovers)
{
    TempFolder folder;
    const std::string path = folder / "settings.reg";
    WriteFileBytes(folder / ".settings.reg.tmp-abc123", "left by a writer that died");
    WriteFileBytes(folder / "other.txt", "kept");
    ASSERT_TRUE(ReplaceFileDurably(path, "first", 0600));
    EXPECT_EQ(ReadFileBytes(path), "first");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    ASSERT_TRUE(ReplaceFileDurably(path, "second", 0600));
    EXPECT_EQ(ReadFileBytes(path), "second");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    EXPECT_FALSE(fs::exists(folder / ".settings.reg.tmp-abc123"));
    EXPECT_EQ(ReadFileBytes(folder / "other.txt"), "kept");
}

TEST(DurableFile, RefusesWhatIsNotAFile)
{
    TempFolder folder;
    fs::create_directory(folder / "dir");
    EXPECT_FALSE(ReplaceFileDurably(folder / "dir", "x", 0600));
    EXPECT_FALSE(ReplaceFileDurably(folder / "gone/file", "x", 0600));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), {}), 1);
}

TEST(DurableFile, MakesFoldersWithParents)
{
    TempFolder folder;
    EXPECT_TRUE(MakeFolders(folder / "a/b/c/", 0700));
    EXPECT_TRUE(fs::is_directory(folder / "a/b/c"));
    WriteFileBytes(folder / "file", "");
    EXPECT_FALSE(MakeFolders(folder / "file", 0700));
    EXPECT_FALSE(MakeFolders(folder / "file/sub", 0700));
    EXPECT_FALSE(FolderLock(folder / "missing").Locked());
    EXPECT_TRUE(FolderLock(folder.Path().string()).Locked());
}

}  // namespace
