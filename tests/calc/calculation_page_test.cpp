#include "calc/calculation_page.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QRadioButton>
#include <QTest>

#include "fakes/date_at.h"
#include "fakes/ui_environment.h"
#include "widgets/control_id.h"
#include "widgets/pickers.h"
#include "widgets/spin_buttons_widget.h"

namespace {

struct CalculationPageTest : ::testing::Test {
    UiEnvironment env;
    CalculationPage page{env.Services()};

    template <typename T>
    T& Control(int id)
    {
        return ControlOf<T>(page, id);
    }
    QLineEdit& Count(int field) { return Control<QLineEdit>(kCountEditIds[static_cast<std::size_t>(field)]); }
    void SetStart(const DateTime& value)
    {
        Control<QDateEdit>(1070).setDate(QDate(value.GetYear(), value.GetMonth(), value.GetDay()));
        Control<QTimeEdit>(1071).setTime(QTime(value.GetHour(), value.GetMinute(), value.GetSecond()));
    }
    QString Field(int id) { return Control<QLineEdit>(id).text(); }
};

TEST_F(CalculationPageTest, TypedCountsGiveBothResults)
{
    page.LoadSettings();
    SetStart(At(2004, 3, 15));
    Control<QRadioButton>(1044).click();
    Count(kWeeks).setText("2");
    Count(kDays).setText("3");
    EXPECT_EQ(Field(1095), "Friday, February 27, 2004");
    EXPECT_EQ(Field(1097), "Thursday, April 01, 2004");
    EXPECT_FALSE(Control<QLineEdit>(1059).isEnabled()) << "the months edit rests while weeks are chosen";
    EXPECT_FALSE(Control<QPushButton>(1114).isEnabled());
    EXPECT_TRUE(Control<QPushButton>(1115).isEnabled());
}

TEST_F(CalculationPageTest, AFailedResultShowsStarsAndDisablesItsTimeInfo)
{
    page.LoadSettings();
    SetStart(At(2004, 1, 31, 10));
    Count(kMonths).setText("1");
    EXPECT_EQ(Field(1095), "Wednesday, December 31, 2003");
    EXPECT_EQ(Field(1097) + Field(1098), "**");
    EXPECT_FALSE(Control<QPushButton>(1056).isEnabled());
    Control<QPushButton>(1055).click();
    EXPECT_EQ(env.shownOnTimeInfo, std::vector{At(2003, 12, 31, 10)});
}

TEST_F(CalculationPageTest, ATenthDigitIsClampedKeepingTheCaret)
{
    page.LoadSettings();
    QLineEdit& years = Count(kYears);
    years.setText("999999999");
    years.setCursorPosition(4);
    QTest::keyClick(&years, Qt::Key_9);
    EXPECT_EQ(years.text(), "2147483647");
    EXPECT_EQ(years.cursorPosition(), 5);
    EXPECT_EQ(Field(1095), "*");
}

TEST_F(CalculationPageTest, TypingAcceptsDigitsOnlyButPasteIsKeptAsTyped)
{
    page.LoadSettings();
    QLineEdit& days = Count(kDays);
    days.clear();
    QTest::keyClicks(&days, "1a-2");
    EXPECT_EQ(days.text(), "12");
    days.setText("-3x");   // as a paste leaves it
    EXPECT_EQ(days.text(), "-3x");
    EXPECT_EQ(Field(1097), "Friday, February 27, 2004");
}

TEST_F(CalculationPageTest, ZeroButtonsAndSpinArrows)
{
    page.LoadSettings();
    SpinButtonsWidget& hoursSpin = Control<SpinButtonsWidget>(1051);
    EXPECT_FALSE(Control<QPushButton>(1117).isEnabled());
    hoursSpin.Step(+1);
    EXPECT_EQ(Count(kHours).text(), "1");
    EXPECT_TRUE(Control<QPushButton>(1117).isEnabled());
    QTest::keyClick(&Count(kHours), Qt::Key_Up);
    EXPECT_EQ(Count(kHours).text(), "2");
    page.show();
    QApplication::setActiveWindow(&page);
    Control<QPushButton>(1117).setFocus();
    QTest::keyClick(&Control<QPushButton>(1117), Qt::Key_Space);
    EXPECT_EQ(Count(kHours).text(), "0");
    EXPECT_FALSE(Control<QPushButton>(1117).isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), &Count(kHours)) << "not into the next count, where a digit would land";
    hoursSpin.Step(-1);
    EXPECT_EQ(Count(kHours).text(), "0") << "the arrows stop at 0";
    Count(kHours).setText("2147483647");
    hoursSpin.Step(+1);
    EXPECT_EQ(Count(kHours).text(), "2147483647");
}

TEST_F(CalculationPageTest, ArrowKeysMoveBetweenMonthsAndWeeks)
{
    page.LoadSettings();
    page.show();
    QApplication::setActiveWindow(&page);
    auto& months = Control<QRadioButton>(1042);
    auto& weeks = Control<QRadioButton>(1044);
    months.click();
    months.setFocus();
    for (const auto& [key, onWeeks] : {std::pair{Qt::Key_Down, true}, {Qt::Key_Up, false}, {Qt::Key_Right, true}}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(weeks.isChecked(), onWeeks);
        EXPECT_EQ(months.isChecked(), !onWeeks);
        EXPECT_EQ(QApplication::focusWidget(), onWeeks ? &weeks : &months);
    }
}

TEST_F(CalculationPageTest, CurrentFollowsTheClock)
{
    page.LoadSettings();
    Count(kHours).setText("1");
    Control<QCheckBox>(1072).click();
    EXPECT_FALSE(Control<QDateEdit>(1070).isEnabled());
    env.clock.Set(SystemTime{2004, 3, 1, 1, 23, 30, 0, 0});
    page.OnClockTick();
    EXPECT_EQ(Field(1097), "Tuesday, March 02, 2004");
    EXPECT_EQ(Field(1098), "12:30:00 AM");
}

TEST_F(CalculationPageTest, StoredChoicesAreShownAsTheyAre)
{
    const struct {
        const char* why;
        int isMonths, isWeeks;
        bool monthsEdit, weeksEdit;
        DateTime sum;
    } cases[] = {
        {"months only", 1, 0, true, false, At(2004, 4, 1, 13, 5, 9)},
        {"weeks only", 0, 1, false, true, At(2004, 3, 8, 13, 5, 9)},
        {"neither: the weeks count is used", 0, 0, false, false, At(2004, 3, 8, 13, 5, 9)},
        {"both: the months count is used", 1, 1, true, true, At(2004, 4, 1, 13, 5, 9)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        env.settings.WriteInt(SettingId::IsMonthsPlus, c.isMonths);
        env.settings.WriteInt(SettingId::IsWeeksPlus, c.isWeeks);
        env.settings.WriteInt(SettingId::MonthsPlus, 1);
        env.settings.WriteInt(SettingId::WeeksPlus, 1);
        CalculationPage fresh(env.Services());
        fresh.LoadSettings();
        EXPECT_EQ(FindControlAs<QLineEdit>(fresh, 1059)->isEnabled(), c.monthsEdit);
        EXPECT_EQ(FindControlAs<QLineEdit>(fresh, 1060)->isEnabled(), c.weeksEdit);
        FindControlAs<QPushButton>(fresh, 1056)->click();
        EXPECT_EQ(env.shownOnTimeInfo.back(), c.sum);
    }
    // Clicking one of two selected choices leaves only that one.
    CalculationPage fresh(env.Services());
    fresh.LoadSettings();
    FindControlAs<QRadioButton>(fresh, 1044)->click();
    EXPECT_FALSE(FindControlAs<QRadioButton>(fresh, 1042)->isChecked());
}

TEST_F(CalculationPageTest, SettingsSurviveARestart)
{
    page.LoadSettings();
    Count(kYears).setText("5");
    Count(kSeconds).setText("-3");
    Control<QRadioButton>(1044).click();
    page.SaveSettings();

    CalculationPage again(env.Services());
    again.LoadSettings();
    EXPECT_EQ(FindControlAs<QLineEdit>(again, 1058)->text(), "5");
    EXPECT_EQ(FindControlAs<QLineEdit>(again, 1075)->text(), "-3");
    EXPECT_TRUE(FindControlAs<QRadioButton>(again, 1044)->isChecked());
    EXPECT_EQ(FindControlAs<QLineEdit>(again, 1097)->text(), Field(1097));
}

}  // namespace
