#include "calc/rollback_page.h"

#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>

#include <memory>

#include "fakes/date_at.h"
#include "shell/main_dialog.h"
#include "shell/ui_environment.h"
#include "widgets/control_id_widget.h"
#include "widgets/picker_widget.h"

namespace {

SystemTime Record(const DateTime& value)
{
    return *value.GetAsSystemTime();
}

DateTime Requested(const SystemTime& time)
{
    return At(time.year, time.month, time.day, time.hour, time.minute, time.second);
}

// The page with its error boxes captured, as the user sees it between runs.
struct RollbackPageTest : ::testing::Test {
    UiEnvironment env;
    std::vector<QString> boxes;
    std::unique_ptr<CDialogEvalRollback> page;

    void SetUp() override
    {
        env.clock.Set(Record(At(2004, 11, 20, 14, 0, 0)));
        Start();
    }
    // A new run of the program: a fresh page that loads the stored settings.
    void Start()
    {
        page = std::make_unique<CDialogEvalRollback>(env.Services(), env.clockSetter);
        page->SetErrorBox([this](QWidget*, const QString& text) { boxes.push_back(text); });
        page->LoadSettings();
    }
    template <typename T>
    T& Control(int id)
    {
        return ControlOf<T>(*page, id);
    }
    void SetTarget(const DateTime& value)
    {
        Control<QDateEdit>(1045).setDate(QDate(value.GetYear(), value.GetMonth(), value.GetDay()));
        Control<QTimeEdit>(1090).setTime(QTime(value.GetHour(), value.GetMinute(), value.GetSecond()));
    }
    DateTime Target() { return ReadPickerDateTime(&Control<QDateEdit>(1045), &Control<QTimeEdit>(1090)); }
    QString State() { return Control<QLineEdit>(1092).text(); }
    // Which of date, time, Now, Set and Restore are enabled, in that order.
    std::vector<bool> Enabled()
    {
        std::vector<bool> enabled;
        for (int id : {1045, 1090, 1063, 1088, 1089}) {
            enabled.push_back(FindControl(*page, id)->isEnabled());
        }
        return enabled;
    }
    const std::vector<bool> kRestoredControls{true, true, true, true, false};
    const std::vector<bool> kChangedControls{false, false, false, false, true};
};

TEST_F(RollbackPageTest, SetAndRestoreCountTheTimeThatPassed)
{
    EXPECT_EQ(State(), "Restored");
    EXPECT_EQ(Enabled(), kRestoredControls);
    SetTarget(At(2004, 1, 1, 12, 0, 0));
    Control<QPushButton>(1088).click();
    ASSERT_EQ(env.clockSetter.requests.size(), 1u);
    EXPECT_EQ(Requested(env.clockSetter.requests[0]), At(2004, 1, 1, 12, 0, 0));
    EXPECT_EQ(State(), "Changed...");
    EXPECT_EQ(Enabled(), kChangedControls);
    EXPECT_TRUE(Control<QPushButton>(1091).isEnabled()) << "Time Info stays available";

    page->TimeChanged();   // the set's own echo
    env.clock.Set(Record(At(2004, 1, 1, 13, 30, 0)));
    Control<QPushButton>(1089).click();
    ASSERT_EQ(env.clockSetter.requests.size(), 2u);
    EXPECT_EQ(Requested(env.clockSetter.requests[1]), At(2004, 11, 20, 15, 30, 0));
    EXPECT_EQ(State(), "Restored");
    EXPECT_EQ(Enabled(), kRestoredControls);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(RollbackPageTest, RefusedSetShowsTheReasonAndStaysRestored)
{
    env.clockSetter.refusal = "Operation not permitted";
    SetTarget(At(2004, 1, 1, 12, 0, 0));
    Control<QPushButton>(1088).click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "System time error\nOperation not permitted");
    EXPECT_EQ(State(), "Restored");
    EXPECT_EQ(Enabled(), kRestoredControls);
    EXPECT_EQ(GetNow(env.clock), At(2004, 11, 20, 14, 0, 0));
}

TEST_F(RollbackPageTest, RefusedRestoreShowsTheReasonAndGoesToRestored)
{
    SetTarget(At(2004, 1, 1, 12, 0, 0));
    Control<QPushButton>(1088).click();
    env.clockSetter.refusal = "Interactive authentication required.";
    Control<QPushButton>(1089).click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Time restore failed\nInteractive authentication required.");
    EXPECT_EQ(State(), "Restored");
    EXPECT_EQ(Enabled(), kRestoredControls);
}

TEST_F(RollbackPageTest, MessagesComeFromTheCurrentLanguage)
{
    env.messages.Override(29, "Ошибка установки системного времени");
    env.messages.Override(31, "Изменено");
    env.clockSetter.refusal = "Operation not permitted";
    Control<QPushButton>(1088).click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Ошибка установки системного времени\nOperation not permitted");
    env.clockSetter.refusal.reset();
    Control<QPushButton>(1088).click();
    EXPECT_EQ(State(), "Изменено...");
}

TEST_F(RollbackPageTest, ChangedClockSurvivesARestartAndTheClosedTimeCounts)
{
    SetTarget(At(2004, 1, 1, 12, 0, 0));
    Control<QPushButton>(1088).click();
    page->TimeChanged();
    env.clock.Set(Record(At(2004, 1, 1, 12, 30, 0)));
    page->SaveSettings();
    page.reset();

    // Closed for a day; the clock ran on at the offset meanwhile.
    env.clock.Set(Record(At(2004, 1, 2, 12, 30, 0)));
    Start();
    EXPECT_EQ(State(), "Changed...");
    EXPECT_EQ(Enabled(), kChangedControls);
    EXPECT_EQ(Target(), At(2004, 1, 1, 12, 0, 0));
    Control<QPushButton>(1089).click();
    ASSERT_EQ(env.clockSetter.requests.size(), 2u);
    EXPECT_EQ(Requested(env.clockSetter.requests[1]), At(2004, 11, 21, 14, 30, 0));
    EXPECT_EQ(State(), "Restored");

    page->SaveSettings();
    Start();
    EXPECT_EQ(State(), "Restored") << "the restore is stored too";
}

TEST_F(RollbackPageTest, StateIsStoredAtOnceAndADamagedSpanDisablesRestore)
{
    SetTarget(At(2004, 1, 1, 12, 0, 0));
    Control<QPushButton>(1088).click();
    // No SaveSettings: what a kill right after Set leaves behind.
    std::string span;
    env.settings.ReadString(SettingId::Span, span);
    EXPECT_EQ(env.settings.ReadInt(SettingId::Rollback), 1);
    EXPECT_EQ(ParseStoredSpan(span)->GetTotalDays(), (At(2004, 11, 20, 14, 0, 0) - At(2004, 1, 1, 12, 0, 0)).GetTotalDays());
    Control<QPushButton>(1089).click();
    EXPECT_EQ(env.settings.ReadInt(SettingId::Rollback), 0);

    env.settings.WriteInt(SettingId::Rollback, 1);
    env.settings.WriteString(SettingId::Span, "1e999");
    Start();
    EXPECT_EQ(State(), "Damaged");
    EXPECT_EQ(Enabled(), kRestoredControls) << "Restore off; Set on, to store a new way back";
    page->SaveSettings();
    env.settings.ReadString(SettingId::Span, span);
    EXPECT_EQ(span, "1e999") << "the damaged state is kept until the next Set";
    Control<QPushButton>(1088).click();
    EXPECT_EQ(State(), "Changed...");
}

TEST_F(RollbackPageTest, PickersKeepToTheRange)
{
    const struct {
        const char* why;
        const char* stored;
        DateTime shown;
    } cases[] = {
        {"before 1971", "1960 5 5 10 0 0", At(1971, 1, 1, 10, 0, 0)},
        {"after 2036", "2040 1 1 8 0 0", At(2036, 12, 31, 8, 0, 0)},
        {"inside", "1999 12 31 23 59 59", At(1999, 12, 31, 23, 59, 59)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        env.settings.WriteString(SettingId::DateRollback, c.stored);
        env.settings.WriteString(SettingId::TimeRollback, c.stored);
        Start();
        EXPECT_EQ(Target(), c.shown);
    }
    Control<QDateEdit>(1045).setDate(QDate(1970, 12, 31));
    EXPECT_EQ(Control<QDateEdit>(1045).date(), QDate(1971, 1, 1));
    Control<QDateEdit>(1045).setDate(QDate(2037, 1, 1));
    EXPECT_EQ(Control<QDateEdit>(1045).date(), QDate(2036, 12, 31));
    EXPECT_EQ(Control<QDateEdit>(1045).displayFormat(), "MMMM dd, yyyy");
}

TEST_F(RollbackPageTest, NowAndTimeInfo)
{
    SetTarget(At(1999, 12, 31, 23, 59, 59));
    Control<QPushButton>(1091).click();
    Control<QPushButton>(1063).click();
    EXPECT_EQ(Target(), At(2004, 11, 20, 14, 0, 0));
    ASSERT_EQ(env.shownOnTimeInfo.size(), 1u);
    EXPECT_EQ(env.shownOnTimeInfo[0], At(1999, 12, 31, 23, 59, 59));
}

// The system's notices travel from the watcher through the main window to the page.
TEST(RollbackInMainWindow, OwnEchoIsIgnoredAndAnOutsideChangeEndsTheChange)
{
    UiEnvironment env;
    env.clock.Set(Record(At(2004, 11, 20, 14, 0, 0)));
    CDialogEvalMain window(AppServices{env.clock, env.formatter, env.settings, env.location, env.zones,
                                       env.clockSetter, env.timeChanges});
    PageWidget& page = *window.Page(kRollbackPage);
    FindControlAs<QDateEdit>(page, 1045)->setDate(QDate(2004, 1, 1));
    FindControlAs<QPushButton>(page, 1088)->click();
    ASSERT_EQ(env.clockSetter.requests.size(), 1u);
    QLineEdit& state = *FindControlAs<QLineEdit>(page, 1092);
    EXPECT_EQ(state.text(), "Changed...");

    env.timeChanges.Notify();
    EXPECT_EQ(state.text(), "Changed...") << "the set's own notice";
    env.timeChanges.Notify();
    EXPECT_EQ(state.text(), "Restored") << "someone else set the clock";
    EXPECT_TRUE(FindControl(page, 1088)->isEnabled());
    EXPECT_FALSE(FindControl(page, 1089)->isEnabled());
    EXPECT_EQ(env.clockSetter.requests.size(), 1u) << "an outside change is never undone";

    window.ExitSequence();
    EXPECT_EQ(env.settings.ReadInt(SettingId::Rollback), 0);
}

}  // namespace
