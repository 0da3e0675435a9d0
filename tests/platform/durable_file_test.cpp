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
    EXPECT_EQ(fs::status(folder / "a").permissions() & fs::perms::all, fs::perms::owner_all);
    WriteFileBytes(folder / "file", "");
    EXPECT_FALSE(MakeFolders(folder / "file", 0700));
    EXPECT_FALSE(MakeFolders(folder / "file/sub", 0700));
    EXPECT_FALSE(FolderLock(folder / "missing").Locked());
}

TEST(DurableFile, OnlyTheUsersOwnFoldersAreMadePrivate)
{
    TempFolder folder;
    fs::create_directories(folder / "open/inner");
    fs::permissions(folder / "open", fs::perms::owner_all | fs::perms::group_read | fs::perms::others_exec);
    fs::create_directory_symlink(folder / "open/inner", folder / "link");
    fs::permissions(folder / "open/inner", fs::perms::owner_all | fs::perms::others_read);
    EXPECT_FALSE(MakeFolderPrivate(folder / "link"));
    EXPECT_EQ(fs::status(folder / "open/inner").permissions(), fs::perms::owner_all | fs::perms::others_read);
    EXPECT_TRUE(MakeFolderPrivate(folder / "open"));
    EXPECT_EQ(fs::status(folder / "open").permissions(), fs::perms::owner_all);
    EXPECT_FALSE(MakeFolderPrivate(folder / "missing"));
}

}   // namespace
