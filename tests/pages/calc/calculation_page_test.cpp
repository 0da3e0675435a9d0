#include "pages/calc/calculation_page.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "calc/calculation.h"
#include "cli/computed_value_source.h"
#include "fakes/date_at.h"
#include "fakes/ui_environment.h"
#include "widgets/control_id.h"
#include "widgets/pickers.h"
#include "widgets/spin_buttons_widget.h"

namespace {

struct CalculationPageTest : ::testing::Test {
    UiEnvironment env;
    CalculationPage page{env.Services()};

    void SetUp() override { page.LoadSettings(); }
    template <typename T>
    T& Control(int id)
    {
        return ControlOf<T>(page, id);
    }
    QLineEdit& Count(int field) { return Control<QLineEdit>(kCountEditIds[static_cast<std::size_t>(field)]); }
    QString Field(int id) { return Control<QLineEdit>(id).text(); }
};

TEST_F(CalculationPageTest, TypedCountsGiveBothResultsAFailedOneShowsStarsAndCurrentFollowsTheClock)
{
    Control<QDateEdit>(kCalculationStartDateId).setDate(QDate(2004, 3, 15));
    Control<QRadioButton>(1044).click();
    Count(kWeeks).setText("2");
    Count(kDays).setText("3");
    EXPECT_EQ(Field(1095), "Friday, February 27, 2004");
    EXPECT_EQ(Field(1097), "Thursday, April 01, 2004");
    EXPECT_FALSE(Control<QLineEdit>(kCountEditIds[kMonths]).isEnabled())
        << "the months edit rests while weeks are chosen";
    EXPECT_FALSE(Control<QPushButton>(kZeroButtonIds[kMonths]).isEnabled());
    EXPECT_TRUE(Control<QPushButton>(kZeroButtonIds[kWeeks]).isEnabled());

    Control<QDateEdit>(kCalculationStartDateId).setDate(QDate(2004, 1, 31));
    Control<QTimeEdit>(kCalculationStartTimeId).setTime(QTime(10, 0));
    Control<QRadioButton>(1042).click();
    Count(kDays).setText("0");
    Count(kMonths).setText("1");
    EXPECT_EQ(Field(1095), "Wednesday, December 31, 2003");
    EXPECT_EQ(Field(1097) + Field(1098), "**");
    // A "*" says why; a shown result says nothing.
    const auto reasons = [this] {
        QStringList texts;
        for (const int id : {1095, 1096, 1097, 1098}) {
            texts << Control<QLineEdit>(id).toolTip() << Control<QLineEdit>(id).accessibleDescription();
        }
        return texts.join('|');
    };
    EXPECT_EQ(reasons(), "||||" + QString("This date does not exist.|").repeated(4).chopped(1));
    Count(kYears).setText("8000");
    EXPECT_EQ(reasons(), QString("The result lies outside Monday, January 01, 1601 to Friday, December 31, 9999.|")
                             .repeated(8)
                             .chopped(1));
    Count(kYears).setText("0");
    EXPECT_FALSE(Control<QPushButton>(1056).isEnabled());
    Control<QPushButton>(1055).click();
    EXPECT_EQ(env.shownOnTimeInfo, std::vector{At(2003, 12, 31, 10)});

    Count(kMonths).setText("0");
    Count(kHours).setText("1");
    Control<QCheckBox>(1072).click();
    EXPECT_FALSE(Control<QDateEdit>(kCalculationStartDateId).isEnabled());
    env.clock.Set(SystemTime{2004, 3, 1, 1, 23, 30, 0, 0});
    page.OnClockTick();
    EXPECT_EQ(Field(1097), "Tuesday, March 02, 2004");
    EXPECT_EQ(Field(1098), "12:30:00 AM");
}

TEST_F(CalculationPageTest, WorkingDaysStepWeeksThenWorkingDaysThenTheTimeAndTheBoxIsKept)
{
    Control<QDateEdit>(kCalculationStartDateId).setDate(QDate(2004, 3, 5));   // a Friday
    Control<QTimeEdit>(kCalculationStartTimeId).setTime(QTime(10, 0));
    Control<QRadioButton>(1044).click();
    Count(kWeeks).setText("1");
    Count(kDays).setText("1");
    Count(kHours).setText("15");
    EXPECT_EQ((Field(1097) + Field(1098)).toStdString(), "Sunday, March 14, 20041:00:00 AM") << "unticked: 8 days";
    Control<QCheckBox>(1134).click();
    EXPECT_EQ((Field(1095) + Field(1096)).toStdString(), "Wednesday, February 25, 20047:00:00 PM");
    EXPECT_EQ((Field(1097) + Field(1098)).toStdString(), "Tuesday, March 16, 20041:00:00 AM");
    Control<QPushButton>(1056).click();
    EXPECT_EQ(env.shownOnTimeInfo, std::vector{At(2004, 3, 16, 1)});

    page.SaveSettings();
    CalculationPage again{env.Services()};
    again.LoadSettings();
    EXPECT_TRUE(ControlOf<QCheckBox>(again, 1134).isChecked());
}

TEST_F(CalculationPageTest, TypingTakesDigitsAndClampsKeepingTheCaretButAPasteStays)
{
    QLineEdit& years = Count(kYears);
    years.setText("999999999");
    years.setCursorPosition(4);
    QTest::keyClick(&years, Qt::Key_9);
    EXPECT_EQ(years.text(), "2147483647");
    EXPECT_EQ(years.cursorPosition(), 5);
    EXPECT_EQ(Field(1095), "*");
    years.setText("0");
    QLineEdit& days = Count(kDays);
    days.clear();
    QTest::keyClicks(&days, "1a-2");
    EXPECT_EQ(days.text(), "12");
    days.setText("-3x");   // as a paste leaves it
    EXPECT_EQ(days.text(), "-3x");
    EXPECT_EQ(Field(1097), "Friday, February 27, 2004");
}

TEST_F(CalculationPageTest, ZeroButtonsSpinArrowsAndArrowKeys)
{
    page.show();
    QApplication::setActiveWindow(&page);
    SpinButtonsWidget& hoursSpin = Control<SpinButtonsWidget>(1051);
    QPushButton& zero = Control<QPushButton>(kZeroButtonIds[kHours]);
    EXPECT_FALSE(zero.isEnabled());
    hoursSpin.Step(+1);
    EXPECT_EQ(Count(kHours).text(), "1");
    EXPECT_TRUE(zero.isEnabled());
    QTest::keyClick(&Count(kHours), Qt::Key_Up);
    EXPECT_EQ(Count(kHours).text(), "2");
    zero.setFocus();
    QTest::keyClick(&zero, Qt::Key_Space);
    EXPECT_EQ(Count(kHours).text(), "0");
    EXPECT_FALSE(zero.isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), &Count(kHours)) << "not into the next count, where a digit would land";
    QTest::keyClick(&Count(kHours), Qt::Key_7);
    EXPECT_EQ(Count(kHours).text(), "7") << "the 0 is selected, so the digit replaces it";
    Count(kHours).setText("0");
    hoursSpin.Step(-1);
    EXPECT_EQ(Count(kHours).text(), "0") << "the arrows stop at 0";
    Count(kHours).setText("2147483647");
    hoursSpin.Step(+1);
    EXPECT_EQ(Count(kHours).text(), "2147483647");

    auto& months = Control<QRadioButton>(1042);
    auto& weeks = Control<QRadioButton>(1044);
    months.click();
    months.setFocus();
    for (const auto& [key, onWeeks] : {std::pair{Qt::Key_Down, true}, {Qt::Key_Up, false}, {Qt::Key_Right, true}}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(std::pair(weeks.isChecked(), months.isChecked()), std::pair(onWeeks, !onWeeks));
        EXPECT_EQ(QApplication::focusWidget(), onWeeks ? &weeks : &months);
    }
    // A choice's access key chooses it and puts the caret in its count, as the labels' keys do.
    for (const auto& [key, field, onWeeks] : {std::tuple{Qt::Key_H, kMonths, false}, {Qt::Key_K, kWeeks, true}}) {
        QTest::keyClick(&page, key, Qt::AltModifier);
        QTest::keyClicks(QApplication::focusWidget(), "35");
        EXPECT_EQ(Count(field).text(), "35");
        EXPECT_EQ(std::pair(weeks.isChecked(), months.isChecked()), std::pair(onWeeks, !onWeeks));
    }
}

TEST_F(CalculationPageTest, StoredChoicesAreShownAsTheyAre)
{
    // Months and weeks chosen as stored; months and weeks edits enabled; the sum of one month or week.
    const DateTime kMonth = At(2004, 4, 1, 13, 5, 9), kWeek = At(2004, 3, 8, 13, 5, 9);
    env.settings.WriteInt(SettingId::MonthsPlus, 1);
    env.settings.WriteInt(SettingId::WeeksPlus, 1);
    for (const auto& [isMonths, isWeeks, monthsEdit, weeksEdit, sum] : {std::tuple{1, 0, true, false, kMonth},
                                                                        {0, 1, false, true, kWeek},
                                                                        {0, 0, false, false, kWeek},
                                                                        {1, 1, true, true, kMonth}}) {
        env.settings.WriteInt(SettingId::IsMonthsPlus, isMonths);
        env.settings.WriteInt(SettingId::IsWeeksPlus, isWeeks);
        CalculationPage fresh(env.Services());
        fresh.LoadSettings();
        EXPECT_EQ(ControlOf<QLineEdit>(fresh, kCountEditIds[kMonths]).isEnabled(), monthsEdit) << isMonths << isWeeks;
        EXPECT_EQ(ControlOf<QLineEdit>(fresh, kCountEditIds[kWeeks]).isEnabled(), weeksEdit) << isMonths << isWeeks;
        ControlOf<QPushButton>(fresh, 1056).click();
        EXPECT_EQ(env.shownOnTimeInfo.back(), sum) << isMonths << isWeeks;
        if (isMonths && isWeeks) {   // clicking one of two selected choices leaves only that one
            ControlOf<QRadioButton>(fresh, 1044).click();
            EXPECT_FALSE(ControlOf<QRadioButton>(fresh, 1042).isChecked());
            fresh.SaveSettings();
            EXPECT_EQ(env.settings.ReadInt(SettingId::IsMonthsPlus), 0) << "and so it is stored";
        }
    }
}

}   // namespace
