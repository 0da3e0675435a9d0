#include "pages/calc/rollback_page.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/main_window.h"
#include "calc/rollback.h"
#include "fakes/date_at.h"
#include "fakes/ui_environment.h"
#include "widgets/control_id.h"
#include "widgets/pickers.h"

namespace {

// The page with its error boxes captured. What it computes is checked with the rollback itself; here
// what the page adds: texts, enabled controls, the stored state.
struct RollbackPageTest : ::testing::Test {
    UiEnvironment env;
    std::vector<QString> boxes;
    std::unique_ptr<RollbackPage> page;

    void SetUp() override
    {
        env.clock.Set(At(2004, 11, 20, 14));
        Start();
    }
    // A new run of the program: a fresh page that loads the stored settings.
    void Start()
    {
        page = std::make_unique<RollbackPage>(env.Services(), env.clockSetter);
        page->SetErrorBox([this](QWidget*, const QString& text) { boxes.push_back(text); });
        page->LoadSettings();
    }
    void Click(int id) { ControlOf<QPushButton>(*page, id).click(); }
    void SetTarget(const DateTime& v)
    {
        ControlOf<QDateEdit>(*page, kRollbackDate).setDate(QDate(v.GetYear(), v.GetMonth(), v.GetDay()));
        ControlOf<QTimeEdit>(*page, kRollbackTime).setTime(QTime(v.GetHour(), v.GetMinute(), v.GetSecond()));
    }
    DateTime Target()
    {
        return ReadPickerDateTime(&ControlOf<QDateEdit>(*page, kRollbackDate),
                                  &ControlOf<QTimeEdit>(*page, kRollbackTime));
    }
    // The state text, then whether date, time, Now, Set and Restore are enabled.
    using Look = std::pair<QString, std::vector<bool>>;
    Look Shown()
    {
        std::vector<bool> enabled;
        for (int id : {kRollbackDate, kRollbackTime, kRollbackNow, kRollbackSet, kRollbackRestore}) {
            enabled.push_back(FindControl(*page, id)->isEnabled());
        }
        return {ControlOf<QLineEdit>(*page, kRollbackState).text(), enabled};
    }
    const std::vector<bool> kRestoredControls{true, true, true, true, false};
    const std::vector<bool> kChangedControls{false, false, false, false, true};
};

TEST_F(RollbackPageTest, SetAndRestoreSwitchTheControlsAndStoreTheStateAtOnce)
{
    EXPECT_EQ(Shown(), (Look{"Restored", kRestoredControls}));
    SetTarget(At(1999, 12, 31, 23, 59, 59));
    Click(kRollbackTimeInfo);
    Click(kRollbackNow);
    EXPECT_EQ(Target(), At(2004, 11, 20, 14)) << "Now";
    EXPECT_EQ(env.shownOnTimeInfo, std::vector{At(1999, 12, 31, 23, 59, 59)});
    SetTarget(At(2004, 1, 1, 12));
    Click(kRollbackSet);
    ASSERT_EQ(env.clockSetter.requests.size(), 1u);
    EXPECT_EQ(At(env.clockSetter.requests[0]), At(2004, 1, 1, 12));
    EXPECT_EQ(Shown(), (Look{"Changed...", kChangedControls}));
    EXPECT_TRUE(FindControl(*page, kRollbackTimeInfo)->isEnabled()) << "Time Info stays available";
    // No SaveSettings: what a kill right after Set leaves behind.
    EXPECT_EQ(env.settings.ReadInt(SettingId::Rollback), 1);
    std::string span;
    env.settings.ReadString(SettingId::Span, span);
    EXPECT_EQ(ParseStoredSpan(span)->GetTotalDays(), (At(2004, 11, 20, 14) - At(2004, 1, 1, 12)).GetTotalDays());
    Click(kRollbackRestore);
    EXPECT_EQ(Shown(), (Look{"Restored", kRestoredControls}));
    EXPECT_EQ(env.settings.ReadInt(SettingId::Rollback), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(RollbackPageTest, RefusalsShowTheReasonInTheCurrentLanguageAndARefusedRestoreKeepsTheWayBack)
{
    // The messages of a set (29), a restore (30) and the kept way back (114) come from the language.
    env.messages.Override(29, "Ошибка установки");
    env.messages.Override(30, "Ошибка восстановления");
    env.messages.Override(kRestoreKeptMessage, "Сохранено");
    SetTarget(At(2004, 1, 1));
    env.clockSetter.refusal = "Operation not permitted";
    Click(kRollbackSet);
    EXPECT_EQ(boxes, std::vector<QString>{"Ошибка установки\nOperation not permitted"});
    EXPECT_EQ(Shown(), (Look{"Restored", kRestoredControls}));
    EXPECT_EQ(env.settings.ReadInt(SettingId::Rollback), 0);

    env.clockSetter.refusal.reset();
    Click(kRollbackSet);
    env.clockSetter.refusal = "Operation not permitted";
    boxes.clear();
    Click(kRollbackRestore);
    EXPECT_EQ(boxes, std::vector<QString>{"Ошибка восстановления\nOperation not permitted\nСохранено"});
    EXPECT_EQ(Shown(), (Look{"Changed...", kChangedControls}));
    // Stored at once, without SaveSettings: a restart still knows the way back.
    Start();
    EXPECT_EQ(Shown(), (Look{"Changed...", kChangedControls}));
    env.clockSetter.refusal.reset();
    env.clock.Set(At(2004, 1, 1, 1));
    Click(kRollbackRestore);
    EXPECT_EQ(At(env.clockSetter.requests.back()), At(2004, 11, 20, 15));
    EXPECT_EQ(Shown(), (Look{"Restored", kRestoredControls}));
    EXPECT_EQ(env.settings.ReadInt(SettingId::Rollback), 0);
}

TEST_F(RollbackPageTest, ChangedAndDamagedStatesSurviveARestart)
{
    SetTarget(At(2004, 1, 1, 12));
    Click(kRollbackSet);
    page->TimeChanged();   // the set's own echo
    page->SaveSettings();
    env.clock.Set(At(2004, 1, 2, 12, 30));   // closed for a day, the clock running on
    Start();
    EXPECT_EQ(Shown(), (Look{"Changed...", kChangedControls}));
    EXPECT_EQ(Target(), At(2004, 1, 1, 12));

    env.settings.WriteInt(SettingId::Rollback, 1);
    env.settings.WriteString(SettingId::Span, "1e999");
    Start();
    EXPECT_EQ(Shown(), (Look{"Damaged", kRestoredControls})) << "Restore off; Set on, to store a new way back";
    page->SaveSettings();
    std::string span;
    env.settings.ReadString(SettingId::Span, span);
    EXPECT_EQ(span, "1e999") << "the damaged state is kept until the next Set";
    Click(kRollbackSet);
    EXPECT_EQ(Shown().first, "Changed...");
}

// The system's notices travel from the watcher through the main window to the page.
TEST(RollbackInMainWindow, OwnEchoIsIgnoredAndAnOutsideChangeEndsTheChange)
{
    UiEnvironment env;
    env.clock.Set(At(2004, 11, 20, 14));
    MainWindow window(
        AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter, env.timeChanges});
    PageWidget& page = *window.Page(kRollbackPage);
    ControlOf<QDateEdit>(page, kRollbackDate).setDate(QDate(2004, 1, 1));
    ControlOf<QPushButton>(page, kRollbackSet).click();
    QLineEdit& state = ControlOf<QLineEdit>(page, kRollbackState);
    env.timeChanges.Notify();
    EXPECT_EQ(state.text(), "Changed...") << "the set's own notice";
    env.timeChanges.Notify();
    EXPECT_EQ(state.text(), "Restored") << "someone else set the clock";
    EXPECT_FALSE(FindControl(page, kRollbackRestore)->isEnabled());
    EXPECT_EQ(env.clockSetter.requests.size(), 1u) << "an outside change is never undone";
}

}   // namespace
