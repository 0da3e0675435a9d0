#include "templates/template_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fakes/fake_autostart_list.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_messages.h"
#include "fakes/fake_program_location.h"
#include "fakes/fake_settings_backend.h"
#include "fakes/temp_folder.h"

namespace {

class TemplateStoreTest : public ::testing::Test {
protected:
    TemplateStoreTest()
    {
        std::filesystem::create_directory(m_folder / "Templates");
    }

    TempFolder m_folder;
    FakeSettingsBackend m_backend;
    FakeAutostartList m_autostart;
    FakeClock m_clock{SystemTime{2004, 11, 6, 20, 14, 5, 0, 0}};
    FakeProgramLocation m_location{m_folder / "chronel"};
    SettingsStore m_settings{m_backend, m_autostart, m_clock, m_location};
    FakeMessages m_messages;
    std::vector<std::string> m_errors;
    TemplateStore m_store{m_settings, m_location, m_messages,
                          [this](const std::string& message) { m_errors.push_back(message); }};
};

TEST_F(TemplateStoreTest, PathIsFolderNameAndExtension)
{
    std::string path = "untouched";
    m_store.TemplatePath("", path);
    EXPECT_EQ(path, "untouched");
    m_store.TemplatePath("Notes", path);
    EXPECT_EQ(path, m_folder / "Templates/Notes.trt");
    m_settings.WriteString(SettingId::TemplateFolder, " \\srv\\T ");
    m_store.TemplatePath("a.b", path);
    EXPECT_EQ(path, "/srv/T/a.b.trt");
    m_settings.WriteString(SettingId::TemplateFolder, "mine");
    m_store.TemplatePath("x", path);
    EXPECT_EQ(path, m_folder / "mine/x.trt");
}

TEST_F(TemplateStoreTest, SavedTemplateLoadsIdentically)
{
    std::string everyByte;
    for (int byte = 1; byte <= 255; ++byte) {
        everyByte += static_cast<char>(byte);
    }
    const std::string texts[] = {"%DSD%\tstart\r\nlast line\r\n\r\n", "lf\nonly\n\n", everyByte, ""};
    for (const char* name : {"Notes", " padded ", "a.b", "..", "\xD0\x9C\xD0\xBE\xD0\xB9"}) {
        for (const std::string& text : texts) {
            SCOPED_TRACE(name);
            ASSERT_TRUE(m_store.SaveTemplate(name, text));
            std::string back = "stale";
            ASSERT_TRUE(m_store.LoadTemplate(name, back));
            EXPECT_EQ(back, text);
            EXPECT_EQ(ReadFileBytes(m_folder / ("Templates/" + std::string(name) + ".trt")), text);
        }
    }
    EXPECT_TRUE(m_errors.empty());
}

TEST_F(TemplateStoreTest, UnreadableTemplateShowsTheOpeningError)
{
    std::filesystem::create_directory(m_folder / "Templates/Folder.trt");
    std::string text = "kept";
    EXPECT_FALSE(m_store.LoadTemplate("Folder", text));
    EXPECT_EQ(text, "kept");
    EXPECT_FALSE(m_store.SaveTemplate("Folder", "x"));
    EXPECT_TRUE(std::filesystem::is_directory(m_folder / "Templates/Folder.trt"));
    ASSERT_EQ(m_errors.size(), 2u);
    EXPECT_TRUE(m_errors[0].starts_with("Error opening template \""));
    EXPECT_TRUE(m_errors[1].starts_with("Error saving template \""));
}

TEST_F(TemplateStoreTest, OversizedTemplateIsRefusedUnread)
{
    const std::filesystem::path path = m_folder / "Templates/Huge.trt";
    std::filesystem::create_directories(path.parent_path());
    { std::ofstream(path) << "x"; }
    std::filesystem::resize_file(path, 50u * 1024 * 1024);   // sparse: costs no disk
    std::string text = "kept";
    EXPECT_FALSE(m_store.LoadTemplate("Huge", text));
    EXPECT_EQ(text, "kept");
    ASSERT_EQ(m_errors.size(), 1u);
    EXPECT_TRUE(m_errors[0].starts_with("Error opening template \""));
}

TEST_F(TemplateStoreTest, FailuresShowTheMessageWithThePath)
{
    m_messages.Override(48, "Vorlage nicht gespeichert");
    m_settings.WriteString(SettingId::TemplateFolder, m_folder / "vanished");
    EXPECT_FALSE(m_store.SaveTemplate("Notes", "x"));
    std::string text = "kept";
    EXPECT_FALSE(m_store.LoadTemplate("Notes", text));
    EXPECT_EQ(text, "kept");
    const std::string path = m_folder / "vanished/Notes.trt";
    EXPECT_EQ(m_errors, (std::vector<std::string>{"Vorlage nicht gespeichert \"" + path + "\"",
                                                  "Error opening template \"" + path + "\""}));
}

TEST_F(TemplateStoreTest, EmptyNameFailsSilently)
{
    std::string text;
    EXPECT_FALSE(m_store.LoadTemplate("", text));
    EXPECT_FALSE(m_store.SaveTemplate("", "x"));
    EXPECT_TRUE(m_errors.empty());
}

TEST_F(TemplateStoreTest, ForbiddenCharactersNeverReachAFile)
{
    for (const char c : kForbiddenTemplateCharacters) {
        const std::string name = std::string("a") + c + "b";
        SCOPED_TRACE(name);
        EXPECT_FALSE(IsValidTemplateName(name));
        EXPECT_FALSE(m_store.SaveTemplate(name, "x"));
    }
    EXPECT_FALSE(m_store.SaveTemplate("../../escape", "x"));
    EXPECT_FALSE(std::filesystem::exists(m_folder / "escape.trt"));
    EXPECT_EQ(m_errors.size(), kForbiddenTemplateCharacters.size() + 1);
    EXPECT_FALSE(IsValidTemplateName(""));
    EXPECT_FALSE(IsValidTemplateName(std::string("a\0b", 3)));
    EXPECT_TRUE(IsValidTemplateName(" a.b "));
    EXPECT_TRUE(IsValidTemplateName(".."));
    EXPECT_TRUE(IsValidTemplateName("\xD0\xA8\xD0\xB0\xD0\xB1\xD0\xBB\xD0\xBE\xD0\xBD"));
}

TEST_F(TemplateStoreTest, FailedSaveLeavesTheOldTemplate)
{
    ASSERT_TRUE(m_store.SaveTemplate("Notes", "old text"));
    // A read-only template folder refuses the new file; the old one stays whole.
    std::filesystem::permissions(m_folder / "Templates", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    const bool saved = m_store.SaveTemplate("Notes", "new text");
    std::filesystem::permissions(m_folder / "Templates", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    std::string text;
    ASSERT_TRUE(m_store.LoadTemplate("Notes", text));
    EXPECT_EQ(text, saved ? "new text" : "old text");   // root may write anyway
}

struct DefaultFolderCase {
    const char* why;
    bool canWriteProgramFolder;
    bool hasUserFolder;
    bool userTemplatesExist;   // the user's Templates folder is there already, empty
    const char* folder;        // expected, below the temporary folder
    bool seeded;               // it holds a copy of the example afterwards
};

const DefaultFolderCase kDefaultFolderCases[] = {
    {"development build: beside the program", true, true, false, "program/Templates", false},
    {"installed: the user's folder, made and seeded", false, true, false, "user/Templates", true},
    {"installed: seeded once, a user's deletions stay", false, true, true, "user/Templates", false},
    {"read-only without a user folder: beside the program", false, false, false, "program/Templates", false},
};

TEST(DefaultTemplateFolder, WritableFolderForTheUser)
{
    for (const DefaultFolderCase& c : kDefaultFolderCases) {
        SCOPED_TRACE(c.why);
        TempFolder folder;
        std::filesystem::create_directories(folder.Path() / "program/Templates/Folder.trt");
        WriteFileBytes(folder / "program/Templates/Difference.trt", "%DSD% to %DFD%\r\n");
        WriteFileBytes(folder / "program/Templates/readme.txt", "not a template");
        if (c.userTemplatesExist) {
            std::filesystem::create_directories(folder.Path() / "user/Templates");
        }
        const FakeProgramLocation location(folder / "program/chronel", c.hasUserFolder ? folder / "user/" : "",
                                           c.canWriteProgramFolder);
        EXPECT_EQ(DefaultTemplateFolder(location), folder / c.folder);
        EXPECT_EQ(std::filesystem::exists(folder.Path() / "user/Templates"), c.hasUserFolder && !c.canWriteProgramFolder);
        EXPECT_EQ(ReadFileBytes(folder / "user/Templates/Difference.trt"), c.seeded ? "%DSD% to %DFD%\r\n" : "");
        EXPECT_FALSE(std::filesystem::exists(folder.Path() / "user/Templates/readme.txt"));
        EXPECT_FALSE(std::filesystem::exists(folder.Path() / "user/Templates/Folder.trt"));
    }
    EXPECT_EQ(DefaultTemplateFolder(FakeProgramLocation("chronel", "/nowhere/", false)), "chronel");
}

TEST(DefaultTemplateFolder, StoreUsesTheUsersFolderWhileNoneIsStored)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "program/Templates");
    WriteFileBytes(folder / "program/Templates/Difference.trt", "example");
    FakeSettingsBackend backend;
    FakeAutostartList autostart;
    const FakeClock clock{SystemTime{2004, 11, 6, 20, 14, 5, 0, 0}};
    const FakeProgramLocation location(folder / "program/chronel", folder / "user/", false);
    const SettingsStore settings(backend, autostart, clock, location);
    const FakeMessages messages;
    const TemplateStore store(settings, location, messages, nullptr);
    std::string text;
    ASSERT_TRUE(store.LoadTemplate("Difference", text));
    EXPECT_EQ(text, "example");
    EXPECT_TRUE(store.SaveTemplate("Mine", "x"));
    EXPECT_EQ(ReadFileBytes(folder / "user/Templates/Mine.trt"), "x");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "program/Templates/Mine.trt"));
}

}  // namespace
