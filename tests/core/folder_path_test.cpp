#include "core/folder_path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"

namespace {

struct NormalizeCase {
    const char* why;
    const char* typed;
    const char* normalized;
};

const NormalizeCase kNormalizeCases[] = {
    {"empty is the program's folder", "", "/opt/chronel/"},
    {"blanks only", " \t\r\n", "/opt/chronel/"},
    {"relative name inside the program's folder", "data", "/opt/chronel/data/"},
    {"relative path", "a/b", "/opt/chronel/a/b/"},
    {"absolute path gets one final slash", "/srv/t", "/srv/t/"},
    {"trailing slashes collapse", "/a/b//", "/a/b/"},
    {"backslash is a separator", "\\srv\\t\\\\", "/srv/t/"},
    {"mixed separators", "/a\\b/", "/a/b/"},
    {"surrounding white space trimmed", "\t /srv/t \r\n", "/srv/t/"},
    {"inner blanks kept", "/my templates", "/my templates/"},
    {"root stays root", "/", "/"},
    {"dot-dot kept as typed", "../t", "/opt/chronel/../t/"},
};

TEST(NormalizeFolderPath, PosixForms)
{
    const FakeProgramLocation location("/opt/chronel/chronel");
    for (const NormalizeCase& c : kNormalizeCases) {
        SCOPED_TRACE(c.why);
        std::string path = c.typed;
        NormalizeFolderPath(path, location);
        EXPECT_EQ(path, c.normalized);
    }
}

TEST(FolderExists, EmptyCountsAndSeparatorsAreIgnored)
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

struct PatternCase {
    const char* name;
    const char* pattern;
    bool matches;
};

TEST(ListFiles, MatchesWildcards)
{
    const PatternCase cases[] = {
        {"a.trt", "*.trt", true},   {"a.trtx", "*.trt", false}, {"A.TRT", "*.trt", false},
        {".trt", "*.trt", true},    {"x.lng", "*.?ng", true},   {"\xD0\x96.lng", "?.lng", true},
        {"abc", "a*c*", true},      {"ab", "a*c", false},       {"", "*", true},
    };
    for (const PatternCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " ~ " + c.pattern);
        EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.matches);
    }
}

TEST(ListFiles, NamesFromTheFolder)
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

}  // namespace
