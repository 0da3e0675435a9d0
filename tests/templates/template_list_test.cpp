#include "templates/template_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "fakes/fake_autostart_list.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_messages.h"
#include "fakes/fake_program_location.h"
#include "fakes/fake_settings_backend.h"
#include "fakes/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// Letter case aside, as the desktop's collation orders these names.
class CaselessOrder final : public NameOrder {
public:
    void Sort(Names& names) const override
    {
        std::sort(names.begin(), names.end(), [this](const auto& a, const auto& b) { return Before(a, b); });
    }
    bool Before(const std::string& a, const std::string& b) const override
    {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](char x, char y) { return std::tolower(x) < std::tolower(y); });
    }
};

class TemplateListTest : public ::testing::Test {
protected:
    TempFolder m_folder;
    FakeSettingsBackend m_backend;
    FakeAutostartList m_autostart;
    FakeClock m_clock{SystemTime{2004, 11, 6, 20, 14, 5, 0, 0}};
    FakeProgramLocation m_location{m_folder / "program/chronel", m_folder / "user/", false};
    SettingsStore m_settings{m_backend, m_autostart, m_clock, m_location};
    FakeMessages m_messages;
    TemplateStore m_store{m_settings, m_location, m_messages, {}};
    const std::string m_templates = m_store.TemplateFolder();
    CaselessOrder m_order;
    TemplateList m_list{m_store, m_order};

    std::string File(const std::string& name) const { return m_templates + name + ".trt"; }
    // Fills the folder with these templates and reads it.
    void Read(std::initializer_list<const char*> names)
    {
        for (const char* name : names) {
            WriteFileBytes(File(name), name);
        }
        ASSERT_TRUE(m_list.Read());
    }
};

TEST_F(TemplateListTest, ReadsTheFolderInTheUsersOrderAndStartsWithinIt)
{
    WriteFileBytes(m_templates + "notes.txt", "");
    Read({"b", "A", "c"});
    EXPECT_EQ(m_list.Names(), (Names{"A", "b", "c"}));
    for (const auto& [remembered, row] : {std::pair{7, 2}, {-3, 0}, {1, 1}}) {
        EXPECT_EQ(m_list.StartRow(remembered), row) << remembered;
    }
}

TEST_F(TemplateListTest, AddGoesInOrderWithAnEmptyFileOrLeavesTheListAlone)
{
    Read({"alpha", "omega"});
    EXPECT_EQ(m_list.Add("Beta"), 1);
    EXPECT_EQ(ReadFileBytes(File("Beta")), "");
    EXPECT_EQ(m_list.Add("bad:name"), std::nullopt);
    EXPECT_EQ(m_list.Names(), (Names{"alpha", "Beta", "omega"}));
    EXPECT_EQ(m_list.Current(), -1);
}

TEST_F(TemplateListTest, DeleteNamesTheRowToSelectNext)
{
    Read({"a", "b", "c"});
    fs::remove(File("a"));
    EXPECT_EQ(m_list.Delete(0), std::nullopt) << "a file that could not be deleted stays listed";
    EXPECT_EQ(m_list.Delete(1), 1) << "the one after takes its place";
    EXPECT_EQ(m_list.Delete(1), 0) << "the last: the one before";
    EXPECT_EQ(m_list.Names(), Names{"a"});
    EXPECT_FALSE(fs::exists(File("b")) || fs::exists(File("c")));
    WriteFileBytes(File("a"), "");
    EXPECT_EQ(m_list.Delete(0), -1) << "the only one: none";
    EXPECT_EQ(m_list.Delete(0), std::nullopt) << "outside the list";
    EXPECT_EQ(m_list.StartRow(0), -1) << "an empty list";
}

TEST_F(TemplateListTest, SavesTheCurrentTemplateWithItsOwnLineEnds)
{
    Read({"a"});
    for (const auto& [bytes, saved] : {std::pair{"one\r\ntwo", "x\r\ny\r\n"}, {"one\ntwo", "x\ny\n"}}) {
        WriteFileBytes(File("a"), bytes);
        ASSERT_TRUE(m_list.Open(0, nullptr));
        EXPECT_TRUE(m_list.SaveCurrent("x\ny\n"));
        EXPECT_EQ(ReadFileBytes(File("a")), saved);
    }
    fs::remove(File("a"));
    EXPECT_FALSE(m_list.Open(0, nullptr));
    EXPECT_FALSE(m_list.SaveCurrent("typed") || fs::exists(File("a"))) << "none is current";
}

}   // namespace
