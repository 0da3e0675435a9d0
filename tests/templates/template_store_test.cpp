#include "templates/template_store.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "fakes/fake_autostart_list.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_messages.h"
#include "fakes/fake_program_location.h"
#include "fakes/fake_settings_backend.h"
#include "fakes/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// As installed: the program's folder is not writable, so templates live in the user's folder.
class TemplateStoreTest : public ::testing::Test {
protected:
    TempFolder m_folder;
    const std::string m_templates = m_folder / "user/Templates/";
    FakeSettingsBackend m_backend;
    FakeAutostartList m_autostart;
    FakeClock m_clock{SystemTime{2004, 11, 6, 20, 14, 5, 0, 0}};
    FakeProgramLocation m_location{m_folder / "program/chronel", m_folder / "user/", false};
    SettingsStore m_settings{m_backend, m_autostart, m_clock, m_location};
    FakeMessages m_messages;
    std::vector<std::string> m_errors;
    TemplateStore m_store{m_settings, m_location, m_messages,
                          [this](const std::string& message) { m_errors.push_back(message); }};
};

TEST_F(TemplateStoreTest, SavedTemplateLoadsByteForByteButNeverThroughALinkOut)
{
    std::string everyByte;
    for (int byte = 0; byte <= 255; ++byte) {
        everyByte += static_cast<char>(byte);
    }
    const std::string texts[] = {"%DSD%\tstart\r\nlast line\r\n\r\n", "lf\nonly\n\n", everyByte, ""};
    for (const char* name : {"Notes", " padded ", "a.b", "..", "\xD0\x9C\xD0\xBE\xD0\xB9"}) {
        for (const std::string& text : texts) {
            SCOPED_TRACE(name);
            ASSERT_TRUE(m_store.SaveTemplate(name, text));
            const std::optional<LoadedTemplate> back = m_store.LoadTemplate(name);
            ASSERT_TRUE(back);
            EXPECT_EQ(back->bytes, text);
            EXPECT_FALSE(back->linkLeavesFolder);
            EXPECT_EQ(ReadFileBytes(m_templates + name + ".trt"), text);
        }
    }
    EXPECT_TRUE(m_errors.empty());

    // Links out of the folder are never written through.
    WriteFileBytes(m_folder / "private.txt", "secret");
    WriteFileBytes(m_templates + "real.trt", "inside");
    fs::create_symlink(m_folder / "private.txt", m_templates + "Out.trt");
    fs::create_symlink("real.trt", m_templates + "In.trt");
    fs::create_symlink(m_folder / "nowhere.txt", m_templates + "Dangling.trt");

    const std::optional<LoadedTemplate> out = m_store.LoadTemplate("Out");
    ASSERT_TRUE(out);
    EXPECT_TRUE(out->linkLeavesFolder);
    EXPECT_FALSE(m_store.SaveTemplate("Out", "overwritten"));
    EXPECT_FALSE(m_store.SaveTemplate("Dangling", "created"));
    EXPECT_EQ(ReadFileBytes(m_folder / "private.txt"), "secret");
    EXPECT_FALSE(fs::exists(m_folder / "nowhere.txt"));

    EXPECT_FALSE(m_store.LoadTemplate("In")->linkLeavesFolder);
    ASSERT_TRUE(m_store.SaveTemplate("In", "edited"));
    EXPECT_TRUE(fs::is_symlink(m_templates + "In.trt")) << "a link inside stays a link";
    EXPECT_EQ(ReadFileBytes(m_templates + "real.trt"), "edited");

    ASSERT_TRUE(m_store.DeleteTemplate("Out"));
    EXPECT_EQ(ReadFileBytes(m_folder / "private.txt"), "secret") << "deleting takes the link, not its target";
    EXPECT_FALSE(m_store.DeleteTemplate("Out"));
    EXPECT_FALSE(m_store.DeleteTemplate("../private.txt"));
}

TEST_F(TemplateStoreTest, BadNamesNeverReachAFileFailedSavesShowThePath)
{
    EXPECT_FALSE(m_store.LoadTemplate(""));
    EXPECT_FALSE(m_store.SaveTemplate("", "x"));
    EXPECT_TRUE(m_errors.empty()) << "an empty name fails silently";
    for (const char c : kForbiddenTemplateCharacters) {
        const std::string name = std::string("a") + c + "b";
        SCOPED_TRACE(name);
        EXPECT_FALSE(IsValidTemplateName(name));
        EXPECT_FALSE(m_store.SaveTemplate(name, "x"));
    }
    EXPECT_FALSE(m_store.SaveTemplate("../../escape", "x"));
    EXPECT_FALSE(fs::exists(m_folder / "escape.trt"));
    EXPECT_EQ(m_errors.size(), kForbiddenTemplateCharacters.size() + 1);
    EXPECT_FALSE(IsValidTemplateName(std::string("a\0b", 3)));

    // A failed save shows the message with the path.
    m_errors.clear();
    fs::create_directory(m_templates + "Folder.trt");
    EXPECT_FALSE(m_store.SaveTemplate("Folder", "x"));
    EXPECT_TRUE(fs::is_directory(m_templates + "Folder.trt"));
    m_messages.Override(48, "Vorlage nicht gespeichert");
    m_settings.WriteString(SettingId::TemplateFolder, m_folder / "vanished");
    const TemplateStore vanished(m_settings, m_location, m_messages,
                                 [this](const std::string& message) { m_errors.push_back(message); });
    EXPECT_FALSE(vanished.SaveTemplate("Notes", "x"));
    EXPECT_EQ(m_errors, (std::vector<std::string>{"Error saving template \"" + m_templates + "Folder.trt\"",
                                                  "Vorlage nicht gespeichert \"" + m_folder / "vanished/Notes.trt\""}));
}

// Another user who may write to a shared template folder swaps the template for a link to the user's
// file and back, as fast as the kernel lets them, while the editor saves.
TEST_F(TemplateStoreTest, ASaveNeverReachesALinkSwappedInMeanwhile)
{
    const std::string secret = m_folder / "secret.txt";
    WriteFileBytes(secret, "secret");
    WriteFileBytes(m_templates + "A.trt", "template");
    fs::create_symlink(secret, m_templates + "Swap.trt");
    std::atomic<bool> done = false;
    const std::string a = m_templates + "A.trt", swap = m_templates + "Swap.trt";
    std::thread swapper([&] {
        const auto isLink = [](const std::string& path) {
            struct stat status {};
            return lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
        };
        while (!done) {
            // A save renames over whichever name holds the link: the attacker plants it again.
            if (!isLink(a) && !isLink(swap)) {
                symlink(secret.c_str(), (swap + ".new").c_str());
                rename((swap + ".new").c_str(), swap.c_str());
            }
            syscall(SYS_renameat2, AT_FDCWD, a.c_str(), AT_FDCWD, swap.c_str(), RENAME_EXCHANGE);
        }
    });
    bool secretEditable = false;
    for (int save = 0; save < 1000; ++save) {
        m_store.SaveTemplate("A", "edited");
        const std::optional<LoadedTemplate> loaded = m_store.LoadTemplate("A");
        secretEditable |= loaded && !loaded->linkLeavesFolder && loaded->bytes == "secret";
    }
    done = true;
    swapper.join();
    EXPECT_EQ(ReadFileBytes(secret), "secret");
    EXPECT_FALSE(secretEditable);
    // Once the swapping stops, the template is saved and read as usual.
    fs::remove(a);
    ASSERT_TRUE(m_store.SaveTemplate("A", "final"));
    const std::optional<LoadedTemplate> last = m_store.LoadTemplate("A");
    ASSERT_TRUE(last);
    EXPECT_FALSE(last->linkLeavesFolder);
    EXPECT_EQ(last->bytes, "final");
}

TEST_F(TemplateStoreTest, AFailedOpenSaysWhyAndShowsThePath)
{
    fs::create_directory(m_templates + "Folder.trt");
    fs::create_symlink("/dev/zero", m_templates + "Zero.trt");
    WriteFileBytes(m_templates + "Huge.trt", "x");
    fs::resize_file(m_templates + "Huge.trt", kMaxTemplateBytes + 1);   // sparse: costs no disk
    const std::pair<const char*, const char*> cases[] = {
        {"Folder", "This template cannot be opened: it is not a regular file"},
        {"Zero", "This template cannot be opened: it is not a regular file"},
        {"Huge", "This template cannot be opened: it is larger than 4 MiB"},
        {"Missing", "This template cannot be opened: No such file or directory"},
    };
    for (const auto& [name, reason] : cases) {
        m_errors.clear();
        std::string whyNot;
        EXPECT_FALSE(m_store.LoadTemplate(name, &whyNot));
        EXPECT_EQ(whyNot, reason);
        EXPECT_EQ(m_errors, std::vector<std::string>{"Error opening template \"" + m_templates + name + ".trt\""});
    }
}

TEST(DefaultTemplateFolder, WritableFolderForTheUser)
{
    const struct {
        const char* why;
        bool canWriteProgramFolder;
        bool hasUserFolder;
        bool userTemplatesExist;   // the user's Templates folder is there already, empty
        const char* folder;        // expected, below the temporary folder
        bool seeded;               // it holds a copy of the example afterwards
    } cases[] = {
        {"development build: beside the program", true, true, false, "program/Templates", false},
        {"installed: the user's folder, made and seeded", false, true, false, "user/Templates", true},
        {"installed: seeded once, a user's deletions stay", false, true, true, "user/Templates", false},
        {"read-only without a user folder: beside the program", false, false, false, "program/Templates", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        TempFolder folder;
        const std::string user = folder / "user/Templates";
        fs::create_directories(folder.Path() / "program/Templates/Folder.trt");
        WriteFileBytes(folder / "program/Templates/Difference.trt", "%DSD% to %DFD%\r\n");
        WriteFileBytes(folder / "program/Templates/readme.txt", "not a template");
        if (c.userTemplatesExist) {
            fs::create_directories(user);
        }
        const FakeProgramLocation location(folder / "program/chronel", c.hasUserFolder ? folder / "user/" : "",
                                           c.canWriteProgramFolder);
        EXPECT_EQ(DefaultTemplateFolder(location), folder / c.folder);
        EXPECT_EQ(fs::exists(user), c.hasUserFolder && !c.canWriteProgramFolder);
        EXPECT_EQ(ReadFileBytes(user + "/Difference.trt"), c.seeded ? "%DSD% to %DFD%\r\n" : "");
        EXPECT_FALSE(fs::exists(user + "/readme.txt") || fs::exists(user + "/Folder.trt")) << "only templates";
    }
    EXPECT_EQ(DefaultTemplateFolder(FakeProgramLocation("chronel", "/nowhere/", false)), "chronel");
}

}   // namespace
