#include "core/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <vector>

#include "core/write_place.h"
#include "core/writer_calls.h"
#include "fakes/temp_folder.h"

namespace fs = std::filesystem;

namespace {

fs::perms Mode(const std::string& path)
{
    return fs::symlink_status(path).permissions() & fs::perms::all;
}

constexpr fs::perms kUserOnly = fs::perms::owner_read | fs::perms::owner_write;

std::set<std::string> Names(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename());
    }
    return names;
}

// Makes the writer's real calls and records the flushes and the rename, in order.
class RecordedCalls final : public WriterCalls {
public:
    RecordedCalls() : m_previous(UseWriterCalls(this)) {}
    ~RecordedCalls() override { UseWriterCalls(m_previous); }
    int SyncFile(int fd) const override { return Record("fsync file", WriterCalls::SyncFile(fd)); }
    int RenameAt(int fromFolder, const char* from, int toFolder, const char* to) const override
    {
        return Record("rename", WriterCalls::RenameAt(fromFolder, from, toFolder, to));
    }
    int SyncFolder(int folder) const override { return Record("fsync folder", WriterCalls::SyncFolder(folder)); }

    mutable std::vector<std::string> steps;

private:
    int Record(const char* step, int result) const
    {
        steps.emplace_back(step);
        return result;
    }
    const WriterCalls* m_previous;
};

// A crash at any moment leaves the old content or the new one whole only in this order.
TEST(DurableWriter, FlushesTheFileBeforeTheRenameAndTheFolderAfterIt)
{
    TempFolder folder;
    const FileDescriptor fd(open(folder.Path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    RecordedCalls calls;
    EXPECT_TRUE(ReplaceFileContents(folder / "a.txt", "new"));
    EXPECT_TRUE(ReplaceFileInFolder(fd.Get(), "b.txt", "new"));
    EXPECT_TRUE(AppendToFile(folder / "a.txt", "more", 100));
    // The three writes, one after the other.
    const std::vector<std::string> eachWrite = {"fsync file",   "rename",     "fsync folder", "fsync file",  "rename",
                                                "fsync folder", "fsync file", "rename",       "fsync folder"};
    EXPECT_EQ(calls.steps, eachWrite);
}

TEST(DurableWriter, ClearsOnlyItsOwnStaleTemporaryFiles)
{
    TempFolder folder;
    // The user's own files that merely look temporary, and a fresh file of a writer still at work.
    const std::set<std::string> kept = {".thesis.tmp-draft1",        ".notes.txt.tmp-123456", ".notes.tmp-2024-01",
                                        ".fresh.chronel-tmp-abc123", ".x.chronel-tmp-ab-123", ".x.chronel-tmp-abc1234"};
    const std::set<std::string> stale = {".settings.reg.chronel-tmp-abc123", ".Notes.trt.chronel-tmp-XyZ987"};
    for (const std::set<std::string>& names : {kept, stale}) {
        for (const std::string& name : names) {
            WriteFileBytes(folder / name, "x");
            if (name != ".fresh.chronel-tmp-abc123") {
                fs::last_write_time(folder / name, fs::file_time_type::clock::now() - std::chrono::hours(1));
            }
        }
    }
    fs::create_symlink(folder / "settings.reg", folder / ".link.chronel-tmp-abcdef");

    ASSERT_TRUE(ReplaceFileContents(folder / "settings.reg", "first"));
    std::set<std::string> expected = kept;
    expected.insert({"settings.reg", ".link.chronel-tmp-abcdef"});
    EXPECT_EQ(Names(folder.Path()), expected) << "only stale leftovers of its own pattern are cleared";
}

TEST(DurableWriter, TemporaryNamesAreCutAtACharacterBoundary)
{
    const std::string longName = std::string(199, 'a') + "\xC3\xA9" + "tail";   // é straddles byte 200
    EXPECT_EQ(TempNamePrefix(longName), "." + std::string(199, 'a') + ".chronel-tmp-");
    EXPECT_EQ(TempNamePrefix("Notes.trt"), ".Notes.trt.chronel-tmp-");
    EXPECT_TRUE(IsWriterTempName(TempNamePrefix(longName) + "Ab3dE9"));
    EXPECT_FALSE(IsWriterTempName(TempNamePrefix(longName) + "Ab3dE"));
}

TEST(DurableWriter, ModesOfNewAndReplacedFiles)
{
    TempFolder folder;
    const std::string path = folder / "report.txt";
    ASSERT_TRUE(ReplaceFileContents(path, "first", {LinkHandling::ReplaceTarget, 0600}));
    EXPECT_EQ(Mode(path), kUserOnly);
    fs::permissions(path, kUserOnly | fs::perms::others_read);
    ASSERT_TRUE(ReplaceFileContents(path, "second"));
    EXPECT_EQ(Mode(path), kUserOnly | fs::perms::others_read) << "a replaced file keeps its mode";
}

TEST(DurableWriter, LinksKeepTheirTargetOrAreReplacedAsAskedAndOnlyFilesAreWritten)
{
    TempFolder folder;
    WriteFileBytes(folder / "dotfiles-settings", "old");
    fs::create_directory(folder / "dotfiles");
    fs::create_symlink("../dotfiles-settings", folder / "dotfiles/settings.reg");
    fs::create_symlink(folder / "dotfiles/settings.reg", folder / "settings.reg");
    ASSERT_TRUE(ReplaceFileContents(folder / "settings.reg", "new"));
    EXPECT_TRUE(fs::is_symlink(folder / "settings.reg"));
    EXPECT_EQ(ReadFileBytes(folder / "dotfiles-settings"), "new");

    WriteFileBytes(folder / "victim", "private");
    fs::create_symlink(folder / "victim", folder / "planted");
    ASSERT_TRUE(ReplaceFileContents(folder / "planted", "preview", {LinkHandling::ReplaceLink, 0600}));
    EXPECT_FALSE(fs::is_symlink(folder / "planted"));
    EXPECT_EQ(ReadFileBytes(folder / "victim"), "private");

    fs::create_symlink("loop-b", folder / "loop-a");
    fs::create_symlink("loop-a", folder / "loop-b");
    fs::create_directory(folder / "dir");
    for (const std::string& bad :
         {folder / "loop-a", folder / "dir", folder / "gone/file", folder / "dir/..", std::string()}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ReplaceFileContents(bad, "x"));
    }
    EXPECT_FALSE(AppendToFile(folder / "dir", "x", 100));
    ASSERT_TRUE(AppendToFile(folder / "log", "one ", 100));
    ASSERT_TRUE(AppendToFile(folder / "log", "two", 100));
    EXPECT_EQ(ReadFileBytes(folder / "log"), "one two");
    EXPECT_FALSE(AppendToFile(folder / "log", "three", 4)) << "a file over the limit is not read, nor cut";
    EXPECT_EQ(ReadFileBytes(folder / "log"), "one two");
}

TEST(DurableWriter, LinksInSharedStickyFoldersAreFollowedAsTheKernelWould)
{
    constexpr uid_t kUser = 1000, kOther = 1001, kFolderOwner = 1002;
    constexpr mode_t kShared = S_IFDIR | S_ISVTX | 0777;
    struct Case {
        const char* why;
        mode_t folderMode;
        uid_t linkOwner;
        bool follows;
    };
    const Case cases[] = {
        {"another user's link in a shared folder", kShared, kOther, false},
        {"the user's own link", kShared, kUser, true},
        {"the folder owner's link", kShared, kFolderOwner, true},
        {"sticky but not writable by others", S_IFDIR | S_ISVTX | 0775, kOther, true},
        {"writable by others but not sticky", S_IFDIR | 0777, kOther, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        struct stat folder {};
        folder.st_mode = c.folderMode;
        folder.st_uid = kFolderOwner;
        EXPECT_EQ(MayFollowLink(folder, c.linkOwner, kUser), c.follows);
    }
}

// As in /tmp: another user's link, and a link to a folder, in a sticky folder everyone may write to.
TEST(DurableWriter, NeverWritesThroughAnotherUsersLinkInASharedFolder)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "only root can give a link to another user; the rule's own table runs everywhere";
    }
    TempFolder folder;
    const std::string shared = folder / "tmp";
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    WriteFileBytes(folder / "secret.txt", "victim's");
    fs::create_directory(folder / "theirs");
    fs::create_symlink(folder / "secret.txt", shared + "/report.txt");
    fs::create_symlink(folder / "theirs", shared + "/folder-link");
    ASSERT_EQ(lchown(shared.c_str(), 4242, 4242), 0);
    for (const std::string& link : {shared + "/report.txt", shared + "/folder-link"}) {
        SCOPED_TRACE(link);
        ASSERT_EQ(lchown(link.c_str(), 4343, 4343), 0);
        const WriteResult result = ReplaceFileContents(link + (link.ends_with("link") ? "/notes.txt" : ""), "written");
        EXPECT_FALSE(result);
        EXPECT_EQ(result.refusedLink, link);
        EXPECT_TRUE(fs::is_symlink(link));
    }
    EXPECT_EQ(ReadFileBytes(folder / "secret.txt"), "victim's");
    EXPECT_FALSE(fs::exists(folder / "theirs/notes.txt"));
}

// A template folder whose entries another user may change: links are followed only while they stay in it.
TEST(DurableWriter, BeneathAFolderLinksStayInside)
{
    TempFolder base;
    const std::string folder = base / "Templates";
    fs::create_directories(folder + "/sub");
    fs::create_directories(base / "Templates-old");
    WriteFileBytes(base / "secret.txt", "secret");
    WriteFileBytes(base / "Templates-old/x.trt", "old");
    const std::pair<const char*, const char*> links[] = {
        {"Inside.trt", "sub/real.trt"},
        {"Chain.trt", "Inside.trt"},
        {"Absolute.trt", "/etc/passwd"},
        {"Up.trt", "../secret.txt"},
        {"Sibling.trt", "../Templates-old/x.trt"},
        {"Down.trt", "sub/../../secret.txt"},
        {"ViaLink.trt", "out/x.trt"},
    };
    for (const auto& [name, target] : links) {
        fs::create_symlink(target, folder + "/" + name);
    }
    fs::create_symlink(base / "Templates-old", folder + "/out");
    const int fd = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);

    for (bool openat2 : {true, false}) {
        SCOPED_TRACE(openat2 ? "openat2" : "name by name");
        UseOpenat2ForBeneath(openat2);
        for (const char* inside : {"Inside.trt", "Chain.trt", "New.trt"}) {
            SCOPED_TRACE(inside);
            EXPECT_TRUE(ReplaceFileInFolder(fd, inside, inside));
            const FolderFileRead read = ReadFileInFolder(fd, inside, 100);
            EXPECT_EQ(read.file.bytes, inside);
            EXPECT_FALSE(read.leavesFolder);
        }
        for (const char* outside : {"Absolute.trt", "Up.trt", "Sibling.trt", "Down.trt", "ViaLink.trt"}) {
            SCOPED_TRACE(outside);
            const WriteResult result = ReplaceFileInFolder(fd, outside, "overwritten");
            EXPECT_FALSE(result);
            EXPECT_TRUE(result.leavesFolder);
            EXPECT_TRUE(ReadFileInFolder(fd, outside, 1 << 20).leavesFolder);
        }
    }
    UseOpenat2ForBeneath(true);
    EXPECT_EQ(ReadFileBytes(folder + "/sub/real.trt"), "Chain.trt");
    EXPECT_EQ(ReadFileBytes(base / "secret.txt"), "secret");
    EXPECT_EQ(ReadFileBytes(base / "Templates-old/x.trt"), "old");
    close(fd);
}

TEST(PrivateTempFolder, OnlyTheUsersOwnRuntimeFolderIsUsed)
{
    TempFolder runtime;
    fs::permissions(runtime.Path(), fs::perms::owner_all);
    const ScopedEnv env("XDG_RUNTIME_DIR", runtime.Path().string());
    const PrivateFolder made = PrivateTempFolder();
    EXPECT_EQ(made.path, runtime / "chronel");
    EXPECT_EQ(Mode(made.path), fs::perms::owner_all);

    // A preview left 0666 at the name (by anyone) ends private.
    WriteFileBytes(made.path + "/preview.txt", "old");
    fs::permissions(made.path + "/preview.txt", fs::perms::all);
    ASSERT_TRUE(ReplaceFileInFolder(made.fd, "preview.txt", "text", {LinkHandling::ReplaceLink, 0600, false}));
    EXPECT_EQ(Mode(made.path + "/preview.txt"), kUserOnly);

    // A runtime folder others can enter is not the user's own: the private fallback is used.
    TempFolder open;
    fs::permissions(open.Path(), fs::perms::all | fs::perms::sticky_bit);
    const ScopedEnv shared("XDG_RUNTIME_DIR", open.Path().string());
    const PrivateFolder fallback = PrivateTempFolder();
    EXPECT_FALSE(fs::exists(open / "chronel"));
    EXPECT_TRUE(fallback.path.find("/chronel-") != std::string::npos) << fallback.path;
}

TEST(PrivateTempFolder, TheFallbackIsPrivateAndGoneAtExit)
{
    TempFolder report;
    const pid_t child = fork();
    if (child == 0) {
        unsetenv("XDG_RUNTIME_DIR");
        const PrivateFolder folder = PrivateTempFolder();
        WriteFileBytes(report / "path", ReplaceFileInFolder(folder.fd, "left.txt", "x") ? folder.path : "");
        exit(0);
    }
    waitpid(child, nullptr, 0);
    const std::string path = ReadFileBytes(report / "path");
    EXPECT_NE(path.find("/chronel-"), std::string::npos) << "a private folder, written in: " << path;
    EXPECT_FALSE(fs::exists(path)) << "removed with its files at exit";
}

}   // namespace
