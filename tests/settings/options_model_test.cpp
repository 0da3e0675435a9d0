#include "settings/options_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"

namespace {

using Names = std::vector<std::string>;

// Files in the user's folder and beside the program; a name ending in '/' is a folder. A folder without
// files is not made at all.
const std::tuple<const char*, Names, Names, Names> kListCases[] = {
    {"only .lng files, no case", {}, {"ru.lng", "En.lng", "de.lng", "b.LNG", "c.lng.x", "d.lng/"}, {"de", "En", "ru"}},
    {"both folders, sorted together", {"german.lng"}, {"russian.lng", "english.lng"}, {"english", "german", "russian"}},
    {"a name in both folders is listed once", {"russian.lng", "english.lng"}, {"russian.lng"}, {"english", "russian"}},
    {"the user's spelling wins", {"Russian.lng"}, {"russian.lng"}, {"Russian"}},
    {"names differing in case within one folder", {}, {"russian.lng", "Russian.lng"}, {"Russian"}},
    {"no folders at all", {}, {}, {}},
};

TEST(Options, LanguagesOfTheUserAndTheProgramAreListedOnce)
{
    for (const auto& [why, user, program, listed] : kListCases) {
        SCOPED_TRACE(why);
        TempFolder folder;
        for (const auto& [sub, names] : {std::pair{"user/", user}, {"program/", program}}) {
            for (const std::string& name : names) {
                std::filesystem::create_directories(folder / sub);
                if (name.ends_with('/')) {
                    std::filesystem::create_directory(folder / (sub + name));
                } else {
                    WriteFileBytes(folder / (sub + name), "");
                }
            }
        }
        EXPECT_EQ(ListLanguages(FakeProgramLocation(folder / "program/chronel", folder / "user/", false)), listed);
    }
    EXPECT_TRUE(ListLanguages(FakeProgramLocation("chronel")).empty()) << "never the working folder";
}

const std::tuple<const char*, Names, const char*, Names, std::size_t> kChoices[] = {
    {"stored language", {"english", "russian"}, "russian", {"english", "russian"}, 1},
    {"letter case does not matter", {"english", "russian"}, "RUSSIAN", {"english", "russian"}, 1},
    {"first of two that differ in case", {"Russian", "russian"}, "russian", {"Russian", "russian"}, 0},
    {"no files at all", {}, "english", {"english"}, 0},
    {"file removed since", {"russian"}, "klingon", {"english", "russian"}, 0},
    {"nothing stored", {"deutsch", "russian"}, "", {"deutsch", "english", "russian"}, 1},
    {"english inserted in order, case-blind", {"Afrikaans", "Zulu"}, "", {"Afrikaans", "english", "Zulu"}, 1},
};

TEST(Options, StoredLanguageIsSelectedElseEnglish)
{
    for (const auto& [why, listed, stored, shown, selected] : kChoices) {
        const LanguageChoice choice = ChooseLanguage(listed, stored);
        EXPECT_EQ(choice.names, shown) << why;
        EXPECT_EQ(choice.selected, selected) << why;
    }
}

}   // namespace
