#include "templates/text_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "fakes/fake_messages.h"
#include "fakes/temp_folder.h"

TEST(TextFile, EveryByteAndLineEndSurvivesBadPathsFailWithoutDamage)
{
    TempFolder folder;
    std::string everyByte;
    for (int byte = 1; byte <= 255; ++byte) {
        everyByte += static_cast<char>(byte);
    }
    // The last one spans several 4096-byte blocks.
    const std::string cases[] = {
        everyByte, "dos\r\nlines\r\n\r\n",          "unix\nlines\n\n", "mixed\r\nends\nand\r a CR\r",
        "",        std::string(10000, 'x') + "\r\n"};
    const std::string path = folder / "t.trt";
    for (const std::string& text : cases) {
        ASSERT_TRUE(WriteTextFile(path, text, true));
        EXPECT_EQ(ReadFileBytes(path), text);
        std::string back = "stale";
        ASSERT_TRUE(ReadTextFile(path, back));
        EXPECT_EQ(back, text);
    }

    // A zero byte ends the text of its own 4096-byte block only.
    std::string bytes(4096, 'a');
    bytes[10] = '\0';
    WriteFileBytes(path, bytes + "second block");
    ASSERT_TRUE(ReadTextFile(path, bytes));
    EXPECT_EQ(bytes, std::string(10, 'a') + "second block");

    // Bad paths fail without damage.
    std::string text = "stale";
    EXPECT_FALSE(ReadTextFile(folder / "missing.txt", text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(ReadTextFile(folder.Path().string(), text));
    for (const bool replace : {true, false}) {
        EXPECT_FALSE(WriteTextFile(folder / "gone/x.txt", "x", replace) || WriteTextFile(folder / "", "x", replace));
    }
    const std::string huge = folder / "huge.txt";
    WriteFileBytes(huge, "head");
    std::filesystem::resize_file(huge, kMaxTextFileBytes + 1);   // sparse
    EXPECT_FALSE(ReadTextFile(huge, text));
    EXPECT_EQ(std::filesystem::file_size(huge), kMaxTextFileBytes + 1);
}

TEST(TextFile, AFailedWriteNamesTheRefusedLinkOrThePathAndTheSystemsReason)
{
    const FakeMessages messages;
    WriteResult refused;
    refused.error = EACCES;
    refused.refusedLink = "/tmp/report.txt";
    EXPECT_EQ(WriteFailureText(refused, "/tmp/report.txt", 43, messages),
              std::string(DefaultMessage(kRefusedLinkMessage)) + " \"/tmp/report.txt\"");
    WriteResult failed;
    failed.error = EROFS;
    EXPECT_EQ(WriteFailureText(failed, "/mnt/cd/out.txt", 43, messages),
              "Error saving file \"/mnt/cd/out.txt\": " + std::string(std::strerror(EROFS)));
}
