#include "templates/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_folder.h"

namespace {

TEST(TextFile, EveryByteAndLineEndSurvivesReplacingAndAppending)
{
    TempFolder folder;
    std::string everyByte;
    for (int byte = 1; byte <= 255; ++byte) {
        everyByte += static_cast<char>(byte);
    }
    const std::string cases[] = {
        everyByte,
        "dos\r\nlines\r\n\r\n",
        "unix\nlines\n\n",
        "mixed\r\nends\nand\r a lone CR\r",
        "",
        std::string(10000, 'x') + "\r\n",   // several 4096-byte blocks
    };
    for (const std::string& text : cases) {
        const std::string path = folder / "t.trt";
        ASSERT_TRUE(WriteTextFile(path, text, true));
        EXPECT_EQ(ReadFileBytes(path), text);
        std::string back = "stale";
        ASSERT_TRUE(ReadTextFile(path, back));
        EXPECT_EQ(back, text);
    }
    const std::string log = folder / "log.txt";
    ASSERT_TRUE(WriteTextFile(log, "one ", false) && WriteTextFile(log, "two\r\n", false));
    EXPECT_EQ(ReadFileBytes(log), "one two\r\n") << "appending creates, then appends";
}

TEST(TextFile, ZeroByteEndsTheTextOfItsBlockOnly)
{
    TempFolder folder;
    std::string bytes(4096, 'a');
    bytes[10] = '\0';
    bytes += "second block";
    WriteFileBytes(folder / "z", bytes);
    std::string text;
    ASSERT_TRUE(ReadTextFile(folder / "z", text));
    EXPECT_EQ(text, std::string(10, 'a') + "second block");
}

TEST(TextFile, BadPathsFailWithoutDamage)
{
    TempFolder folder;
    std::string text = "stale";
    EXPECT_FALSE(ReadTextFile(folder / "missing.txt", text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(ReadTextFile(folder.Path().string(), text));
    for (const bool replace : {true, false}) {
        EXPECT_FALSE(WriteTextFile(folder / "gone/x.txt", "x", replace) || WriteTextFile(folder.Path().string(), "x", replace));
    }
    const std::string huge = folder / "huge.txt";
    WriteFileBytes(huge, "head");
    std::filesystem::resize_file(huge, kMaxTextFileBytes + 1);   // sparse
    EXPECT_FALSE(ReadTextFile(huge, text));
    EXPECT_EQ(std::filesystem::file_size(huge), kMaxTextFileBytes + 1);
}

}  // namespace
