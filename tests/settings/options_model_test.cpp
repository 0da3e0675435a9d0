#include "settings/options_model.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/fake_messages.h"
#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"

namespace {

using Names = std::vector<std::string>;

// Files in the user's folder and beside the program; a name ending in '/' is a folder. A folder without
// files is not made at all.
const struct {
    const char* why;
    Names user;
    Names program;
    Names listed;
} kListCases[] = {
    {"only .lng files, sorted without case", {}, {"russian.lng", "German.lng", "english.lng", "notes.txt", "upper.LNG",
                                                  "archive.lng.bak", "folder.lng/"}, {"english", "German", "russian"}},
    {"both folders, sorted together", {"german.lng"}, {"russian.lng", "english.lng"}, {"english", "german", "russian"}},
    {"a name in both folders is listed once", {"russian.lng", "english.lng"}, {"russian.lng"}, {"english", "russian"}},
    {"the user's spelling wins", {"Russian.lng"}, {"russian.lng"}, {"Russian"}},
    {"names differing in case within one folder", {}, {"russian.lng", "Russian.lng"}, {"Russian"}},
    {"only the user's folder", {"german.lng"}, {}, {"german"}},
    {"no folders at all", {}, {}, {}},
};

TEST(Options, LanguagesOfTheUserAndTheProgramAreListedOnce)
{
    for (const auto& c : kListCases) {
        SCOPED_TRACE(c.why);
        TempFolder folder;
        for (const auto& [sub, names] : {std::pair{"user/", c.user}, {"program/", c.program}}) {
            for (const std::string& name : names) {
                std::filesystem::create_directories(folder / sub);
                if (name.ends_with('/')) {
                    std::filesystem::create_directory(folder / (sub + name));
                } else {
                    WriteFileBytes(folder / (sub + name), "");
                }
            }
        }
        EXPECT_EQ(ListLanguages(FakeProgramLocation(folder / "program/chronel", folder / "user/", false)), c.listed);
    }
    EXPECT_TRUE(ListLanguages(FakeProgramLocation("chronel")).empty()) << "never the working folder";
}

const struct {
    const char* why;
    Names listed;
    const char* stored;
    Names shown;
    std::size_t selected;
} kChoices[] = {
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
    for (const auto& c : kChoices) {
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
        EXPECT_EQ(TemplateFolderStatus(c.typed, FakeProgramLocation(folder / "program/chronel"), FakeMessages()),
                  c.warns ? "A Folder by this name cannot be found" : "")
            << c.why;
    }
}

}  // namespace
