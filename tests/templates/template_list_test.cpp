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

// Letter case aside, as the desktop's collation orders these names.
class CaselessOrder final : public NameOrder {
public:
    void Sort(std::vector<std::string>& names) const override
    {
        std::sort(names.begin(), names.end(), [this](const auto& a, const auto& b) { return Before(a, b); });
    }
    bool Before(const std::string& a, const std::string& b) const override
    {
        const auto lower = [](unsigned char c) { return std::tolower(c); };
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [&](char x, char y) { return lower(x) < lower(y); });
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
    std::vector<std::string> m_errors;
    const std::string m_templates = m_folder / "user/Templates";
    TemplateStore m_store{m_settings, m_location, m_messages,
                          [this](const std::string& message) { m_errors.push_back(message); }};
    CaselessOrder m_order;
    TemplateList m_list{m_store, m_order};

    std::string File(const std::string& name) const { return m_templates + "/" + name + ".trt"; }
    // Fills the folder with these templates, each holding its own name, and reads it.
    void Read(std::initializer_list<const char*> names)
    {
        fs::create_directories(m_templates);
        for (const char* name : names) {
            WriteFileBytes(File(name), name);
        }
        ASSERT_TRUE(m_list.Read());
    }
};

TEST_F(TemplateListTest, ReadsTheFolderInTheUsersOrderAndStartsWithinIt)
{
    fs::remove_all(m_templates);
    EXPECT_FALSE(m_list.Read()) << "no folder";
    Read({"b", "A", "c"});
    WriteFileBytes(m_templates + "/notes.txt", "");
    EXPECT_EQ(m_list.Names(), (std::vector<std::string>{"A", "b", "c"}));
    for (const auto& [remembered, row] : {std::pair{7, 2}, {-3, 0}, {1, 1}}) {
        EXPECT_EQ(m_list.StartRow(remembered), row) << remembered;
    }
    fs::remove_all(m_templates);
    fs::create_directories(m_templates);
    ASSERT_TRUE(m_list.Read());
    EXPECT_EQ(m_list.StartRow(0), -1) << "an empty list";
}

TEST_F(TemplateListTest, AddGoesInOrderWithAnEmptyFileOrLeavesTheListAlone)
{
    Read({"alpha", "omega"});
    EXPECT_EQ(m_list.Add("Beta"), 1);
    EXPECT_EQ(m_list.Current(), 1);
    EXPECT_EQ(ReadFileBytes(File("Beta")), "");
    EXPECT_EQ(m_list.Add("zeta"), 3);

    EXPECT_EQ(m_list.Add("bad:name"), std::nullopt);
    EXPECT_EQ(m_list.Names(), (std::vector<std::string>{"alpha", "Beta", "omega", "zeta"}));
    EXPECT_EQ(m_list.Current(), -1);
    EXPECT_EQ(m_errors.size(), 1u);
}

TEST_F(TemplateListTest, DeleteNamesTheRowToSelectNext)
{
    const struct {
        const char* why;
        int row;
        std::optional<int> next;
        std::vector<std::string> left;
    } cases[] = {
        {"the one after takes its place", 1, 1, {"a", "c"}},
        {"the last: the one before", 1, 0, {"a"}},
        {"the only one: none", 0, -1, {}},
        {"outside the list", 0, std::nullopt, {}},
    };
    Read({"a", "b", "c"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(m_list.Delete(c.row), c.next);
        EXPECT_EQ(m_list.Names(), c.left);
    }
    EXPECT_FALSE(fs::exists(File("b")));

    Read({"gone"});
    fs::remove(File("gone"));
    EXPECT_EQ(m_list.Delete(0), std::nullopt) << "a file that could not be deleted stays listed";
    EXPECT_EQ(m_list.Names(), std::vector<std::string>{"gone"});
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

    std::string whyNot;
    fs::remove(File("a"));
    EXPECT_FALSE(m_list.Open(0, &whyNot));
    EXPECT_FALSE(whyNot.empty());
    EXPECT_FALSE(m_list.SaveCurrent("typed")) << "a template that failed to open is not current";
    EXPECT_FALSE(m_list.Open(1, nullptr));
    EXPECT_EQ(m_list.Current(), -1);
    EXPECT_FALSE(fs::exists(File("a")));
}

}   // namespace
