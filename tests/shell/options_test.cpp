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

struct UnionCase {
    const char* why;
    Names user;      // language files in the user's folder
    Names program;   // language files beside the program
    Names listed;
};

const UnionCase kUnionCases[] = {
    {"both folders, sorted together", {"german"}, {"russian", "english"}, {"english", "german", "russian"}},
    {"a name in both folders is listed once", {"russian", "english"}, {"russian"}, {"english", "russian"}},
    {"the user's spelling wins", {"Russian"}, {"russian"}, {"Russian"}},
    {"names differing in case within one folder", {}, {"russian", "Russian"}, {"Russian"}},
    {"only the user's folder", {"german"}, {}, {"german"}},
};

TEST(Options, LanguagesOfTheUserAndTheProgramAreListedOnce)
{
    for (const UnionCase& c : kUnionCases) {
        SCOPED_TRACE(c.why);
        TempFolder folder;
        std::filesystem::create_directory(folder.Path() / "program");
        std::filesystem::create_directory(folder.Path() / "user");
        for (const std::string& name : c.user) {
            WriteFileBytes(folder / ("user/" + name + ".lng"), "");
        }
        for (const std::string& name : c.program) {
            WriteFileBytes(folder / ("program/" + name + ".lng"), "");
        }
        EXPECT_EQ(ListLanguages(FakeProgramLocation(folder / "program/chronel", folder / "user/", false)), c.listed);
    }
}

TEST(Options, MissingUserFolderListsTheProgramsLanguages)
{
    TempFolder folder;
    WriteFileBytes(folder / "russian.lng", "");
    EXPECT_EQ(ListLanguages(FakeProgramLocation(folder / "chronel", folder / "none/", false)), Names{"russian"});
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
