#include "shell/options.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/fake_messages.h"
#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"

namespace {

using Names = std::vector<std::string>;

TEST(Options, LanguagesAreTheLanguageFilesOfTheProgramFolder)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.Path() / "program");
    std::filesystem::create_directory(folder.Path() / "program/folder.lng");
    for (const char* name : {"russian.lng", "German.lng", "english.lng", "notes.txt", "upper.LNG", "archive.lng.bak"}) {
        WriteFileBytes(folder / ("program/" + std::string(name)), "");
    }
    const FakeProgramLocation location(folder / "program/chronel");
    EXPECT_EQ(ListLanguages(location), (Names{"english", "German", "russian"}));
    EXPECT_TRUE(ListLanguages(FakeProgramLocation(folder / "missing/chronel")).empty());
    EXPECT_TRUE(ListLanguages(FakeProgramLocation("chronel")).empty()) << "never the working folder";
}

struct ChoiceCase {
    const char* why;
    Names listed;
    const char* stored;
    Names shown;
    std::size_t selected;
};

const ChoiceCase kChoices[] = {
    {"stored language", {"english", "russian"}, "russian", {"english", "russian"}, 1},
    {"letter case does not matter", {"english", "russian"}, "RUSSIAN", {"english", "russian"}, 1},
    {"first of two that differ in case", {"Russian", "russian"}, "russian", {"Russian", "russian"}, 0},
    {"no files at all", {}, "english", {"english"}, 0},
    {"file removed since", {"russian"}, "klingon", {"english", "russian"}, 0},
    {"nothing stored", {"deutsch", "russian"}, "", {"deutsch", "english", "russian"}, 1},
    {"english file present", {"english", "russian"}, "klingon", {"english", "russian"}, 0},
    {"english inserted in order, case-blind", {"Afrikaans", "Zulu"}, "", {"Afrikaans", "english", "Zulu"}, 1},
};

TEST(Options, StoredLanguageIsSelectedElseEnglish)
{
    for (const ChoiceCase& c : kChoices) {
        SCOPED_TRACE(c.why);
        const LanguageChoice choice = ChooseLanguage(c.listed, c.stored);
        EXPECT_EQ(choice.names, c.shown);
        EXPECT_EQ(choice.selected, c.selected);
    }
}

TEST(Options, FolderStatusWarnsOnlyAboutMissingFolders)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "program/Temp");
    WriteFileBytes(folder / "program/plain.txt", "x");
    const FakeProgramLocation location(folder / "program/chronel");
    const FakeMessages messages;
    const std::string warning = "A Folder by this name cannot be found";
    const struct {
        const char* why;
        std::string typed;
        bool warns;
    } cases[] = {
        {"empty is the program's folder", "", false},
        {"relative name inside the program's folder", "Temp", false},
        {"backslashes and blanks", "  Temp\\  ", false},
        {"absolute path", folder / "program/Temp", false},
        {"missing folder", "Missing", true},
        {"missing absolute folder", folder / "nowhere/at/all", true},
        {"a file exists too", "plain.txt", false},
        {"far too long for the system", std::string(5000, 'x'), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(TemplateFolderStatus(c.typed, location, messages), c.warns ? warning : "");
    }
}

}  // namespace
