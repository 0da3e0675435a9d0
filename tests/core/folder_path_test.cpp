#include "core/folder_path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"

namespace {

TEST(NormalizeFolderPath, PosixForms)
{
    // Empty or blank is the program's folder, relative paths lie inside it; every path ends in one slash,
    // a backslash is a separator, surrounding white space goes, inner blanks and dot-dot stay.
    const std::pair<const char*, const char*> cases[] = {
        {"", "/opt/chronel/"},
        {" \t\r\n", "/opt/chronel/"},
        {"data", "/opt/chronel/data/"},
        {"a/b", "/opt/chronel/a/b/"},
        {"/srv/t", "/srv/t/"},
        {"/a/b//", "/a/b/"},
        {"\\srv\\t\\\\", "/srv/t/"},
        {"/a\\b/", "/a/b/"},
        {"\t /srv/t \r\n", "/srv/t/"},
        {"/my templates", "/my templates/"},
        {"/", "/"},
        {"../t", "/opt/chronel/../t/"},
    };
    const FakeProgramLocation location("/opt/chronel/chronel");
    for (const auto& [typed, normalized] : cases) {
        std::string path = typed;
        NormalizeFolderPath(path, location);
        EXPECT_EQ(path, normalized) << '"' << typed << '"';
    }
}

TEST(FolderPath, ExistsIgnoresSeparatorsAndBlanks)
{
    TempFolder folder;
    WriteFileBytes(folder / "file", "x");
    for (const std::string& path : {std::string(), std::string(" //"), folder.Path().string() + "/ \\",
                                    "  " + folder.Path().string(), folder / "file"}) {
        EXPECT_TRUE(FolderExists(path)) << path;
    }
    EXPECT_FALSE(FolderExists(folder / "gone"));
    EXPECT_TRUE(FileExists(folder / "file"));
    EXPECT_FALSE(FileExists(folder / "nothing") || FileExists(""));
}

TEST(FolderPath, PatternsMatchWholeNamesByteForByte)
{
    // Name, pattern, whether it matches.
    for (const auto& [name, pattern, matches] : {std::tuple{"a.trt", "*.trt", true},
                                                 {"a.trtx", "*.trt", false},
                                                 {"A.TRT", "*.trt", false},
                                                 {".trt", "*.trt", true},
                                                 {"x.lng", "*.?ng", true},
                                                 {"\xD0\x96.lng", "?.lng", true},
                                                 {"abc", "a*c*", true},
                                                 {"ab", "a*c", false},
                                                 {"", "*", true}}) {
        EXPECT_EQ(MatchesPattern(name, pattern), matches) << name << " ~ " << pattern;
    }
}

TEST(FolderPath, ListsTheMatchingFilesOnly)
{
    TempFolder folder;
    for (const char* name : {"x.trt.trt", ".trt", "a.b.trt", " blank .trt", "other.txt"}) {
        WriteFileBytes(folder / name, "");
    }
    std::filesystem::create_directory(folder / "dir.trt");
    std::vector<std::string> list{"stale"};
    ASSERT_TRUE(ListFiles(folder.Path().string() + "/ ", "*.trt", list, false, true));
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list, (std::vector<std::string>{" blank ", "a.b", "x.trt"}));
    ASSERT_TRUE(ListFiles(folder.Path().string(), "*.txt", list, true, false));
    EXPECT_EQ(list, (std::vector<std::string>{folder / "other.txt"}));
    ASSERT_TRUE(ListFiles(folder.Path().string(), "*.none", list, false, true));
    EXPECT_TRUE(list.empty());
    list = {"stale"};
    EXPECT_FALSE(ListFiles(folder / "gone", "*.trt", list, false, true));
    EXPECT_TRUE(list.empty());
}

}   // namespace
