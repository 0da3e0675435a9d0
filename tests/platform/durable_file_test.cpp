#include "platform/durable_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

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
}

TEST(DurableFile, LockIsOneFileNeverReachedThroughWhatIsPlantedThere)
{
    // What lies at the lock file's name beforehand, and whether the lock can be had.
    const struct {
        const char* why;
        std::function<void(const TempFolder&)> plant;
        bool taken;
    } cases[] = {
        {"nothing: made 0600", [](const TempFolder&) {}, true},
        {"a link to a missing file", [](const TempFolder& f) { fs::create_symlink(f / "target", f / "Chronel.lock"); },
         false},
        {"a link to a file",
         [](const TempFolder& f) {
             WriteFileBytes(f / "target", "x");
             fs::create_symlink(f / "target", f / "Chronel.lock");
         },
         false},
        {"a pipe", [](const TempFolder& f) { mkfifo((f / "Chronel.lock").c_str(), 0600); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        TempFolder folder;
        c.plant(folder);
        SettingsLock lock(folder / "Chronel.lock");
        ASSERT_EQ(lock.Take(), c.taken ? LockResult::Taken : LockResult::Failed);
        if (c.taken) {
            EXPECT_EQ(fs::status(lock.Path()).permissions() & fs::perms::all,
                      fs::perms::owner_read | fs::perms::owner_write);
            lock.Release();
        }
        EXPECT_EQ(ReadFileBytes(folder / "target"), fs::exists(folder / "target") ? "x" : "");
    }
}

// As with XDG_CONFIG_HOME in /tmp: another user's link in the shared folder leads to a folder of theirs.
TEST(DurableFile, LockIsNeverMadeThroughAnotherUsersLinkInASharedFolder)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "only root can give a link to another user";
    }
    TempFolder folder;
    const std::string shared = folder / "tmp";
    fs::create_directories(folder / "theirs");
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    fs::create_symlink(folder / "theirs", shared + "/Orvane");
    ASSERT_EQ(lchown(shared.c_str(), 4242, 4242), 0);
    ASSERT_EQ(lchown((shared + "/Orvane").c_str(), 4343, 4343), 0);
    SettingsLock lock(shared + "/Orvane/Chronel.lock");
    EXPECT_EQ(lock.Take(), LockResult::Failed);
    EXPECT_FALSE(fs::exists(folder / "theirs/Chronel.lock"));
}

TEST(DurableFile, LockHeldElsewhereIsRefusedAfterTheWaitLimit)
{
    TempFolder folder;
    SettingsLock lock(folder / "Orvane/Chronel.lock");
    lock.SetWaitLimit(std::chrono::milliseconds(0));
    ASSERT_EQ(lock.Take(), LockResult::Taken);
    EXPECT_EQ(lock.Take(), LockResult::Taken) << "nested in one process";
    lock.Release();
    // Another copy's descriptor: flock excludes it while this process holds the lock, and the other way
    // round.
    const int other = open((folder / "Orvane/Chronel.lock").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    EXPECT_NE(flock(other, LOCK_EX | LOCK_NB), 0) << "still held after one of two releases";
    lock.Release();
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(lock.Take(), LockResult::Busy);
    flock(other, LOCK_UN);
    EXPECT_EQ(lock.Take(), LockResult::Taken);
    lock.Release();
    close(other);
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
