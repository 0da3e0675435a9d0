#include "core/file_access.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "fakes/temp_folder.h"

namespace fs = std::filesystem;

namespace {

fs::perms Mode(const std::string& path)
{
    return fs::status(path).permissions() & fs::perms::all;
}

TEST(DurableWriter, ReplacesWholeKeepsTheModeAndClearsOnlyStaleLeftovers)
{
    TempFolder folder;
    const std::string path = folder / "settings.reg";
    WriteFileBytes(folder / ".settings.reg.tmp-abc123", "left by a writer that died");
    WriteFileBytes(folder / ".Notes.trt.tmp-XyZ987", "left by another file's writer");
    WriteFileBytes(folder / ".fresh.tmp-abcdef", "a writer still at work");
    for (const char* stale : {".settings.reg.tmp-abc123", ".Notes.trt.tmp-XyZ987"}) {
        fs::last_write_time(folder / stale, fs::file_time_type::clock::now() - std::chrono::hours(1));
    }
    WriteFileBytes(folder / "other.tmp-notours", "kept");

    ASSERT_TRUE(ReplaceFileContents(path, "first", {LinkHandling::ReplaceTarget, 0600}));
    EXPECT_EQ(ReadFileBytes(path), "first");
    EXPECT_EQ(Mode(path), fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    ASSERT_TRUE(ReplaceFileContents(path, "second"));
    EXPECT_EQ(ReadFileBytes(path), "second");
    EXPECT_EQ(Mode(path), fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        left.insert(entry.path().filename());
    }
    EXPECT_EQ(left, (std::set<std::string>{".fresh.tmp-abcdef", "other.tmp-notours", "settings.reg"}))
        << "only stale leftovers are cleared; no temporary file of its own is left";
}

TEST(DurableWriter, LinksKeepTheirTargetOrAreReplacedAsAskedAndOnlyFilesAreWritten)
{
    TempFolder folder;
    WriteFileBytes(folder / "dotfiles-settings", "old");
    fs::create_symlink(folder / "dotfiles-settings", folder / "settings.reg");
    ASSERT_TRUE(ReplaceFileContents(folder / "settings.reg", "new"));
    EXPECT_TRUE(fs::is_symlink(folder / "settings.reg"));
    EXPECT_EQ(ReadFileBytes(folder / "dotfiles-settings"), "new");

    WriteFileBytes(folder / "victim", "private");
    fs::create_symlink(folder / "victim", folder / "planted");
    ASSERT_TRUE(ReplaceFileContents(folder / "planted", "preview", {LinkHandling::ReplaceLink, 0600}));
    EXPECT_FALSE(fs::is_symlink(folder / "planted"));
    EXPECT_EQ(ReadFileBytes(folder / "planted"), "preview");
    EXPECT_EQ(Mode(folder / "planted"), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadFileBytes(folder / "victim"), "private");

    fs::create_symlink("loop-b", folder / "loop-a");
    fs::create_symlink("loop-a", folder / "loop-b");
    EXPECT_FALSE(ReplaceFileContents(folder / "loop-a", "x"));

    fs::create_directory(folder / "dir");
    EXPECT_FALSE(ReplaceFileContents(folder / "dir", "x"));
    EXPECT_FALSE(ReplaceFileContents(folder / "gone/file", "x"));
    EXPECT_FALSE(AppendToFile(folder / "dir", "x", 100));
    ASSERT_TRUE(AppendToFile(folder / "log", "one ", 100));
    ASSERT_TRUE(AppendToFile(folder / "log", "two", 100));
    EXPECT_EQ(ReadFileBytes(folder / "log"), "one two");
    EXPECT_FALSE(AppendToFile(folder / "log", "three", 4)) << "a file over the limit is not read, nor cut";
    EXPECT_EQ(ReadFileBytes(folder / "log"), "one two");
}

TEST(PrivateTempFolder, OnlyTheUserCanEnterIt)
{
    TempFolder runtime;
    const ScopedEnv env("XDG_RUNTIME_DIR", runtime.Path().string());
    const std::string made = PrivateTempFolder();
    EXPECT_EQ(made, runtime / "chronel");
    EXPECT_EQ(Mode(made), fs::perms::owner_all);

    // Another user's link in its place, or a folder others can enter, is not used.
    fs::remove(made);
    const TempFolder elsewhere;
    fs::create_symlink(elsewhere.Path(), runtime / "chronel");
    const std::string fallback = PrivateTempFolder();
    EXPECT_NE(fallback, runtime / "chronel");
    EXPECT_EQ(Mode(fallback), fs::perms::owner_all);
    fs::remove(runtime / "chronel");
    fs::create_directory(runtime / "chronel");
    fs::permissions(runtime / "chronel", fs::perms::all);
    EXPECT_EQ(PrivateTempFolder(), fallback);
    fs::remove(fallback);
}

}   // namespace
