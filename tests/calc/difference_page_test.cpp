#include "calc/difference_page.h"

#include <gtest/gtest.h>

#include <QTest>

#include "calc/difference.h"
#include "fakes/date_at.h"
#include "fakes/ui_environment.h"
#include "widgets/control_id.h"
#include "widgets/pickers.h"

namespace {

struct DifferencePageTest : ::testing::Test {
    UiEnvironment env;
    DifferencePage page{env.Services()};

    template <typename T>
    T& Control(int id)
    {
        return ControlOf<T>(page, id);
    }
    // The start (1001, 1120) or the final (1002, 1122) end.
    DateTime End(int dateId, int timeId) { return ReadPickerDateTime(&Control<QDateEdit>(dateId), &Control<QTimeEdit>(timeId)); }
    void SetEnd(int dateId, int timeId, const DateTime& value)
    {
        Control<QDateEdit>(dateId).setDate(QDate(value.GetYear(), value.GetMonth(), value.GetDay()));
        Control<QTimeEdit>(timeId).setTime(QTime(value.GetHour(), value.GetMinute(), value.GetSecond()));
    }
    QString Field(int id) { return Control<QLineEdit>(id).text(); }
};

TEST_F(DifferencePageTest, FirstStartShowsBothEndsAtNowAndEditsRecomputeEveryField)
{
    page.LoadSettings();
    EXPECT_EQ(End(1001, 1120), At(2004, 3, 1, 13, 5, 9));
    EXPECT_EQ(End(1002, 1122), At(2004, 3, 1, 13, 5, 9));
    EXPECT_EQ(Field(1129), "0");
    SetEnd(1001, 1120, At(2003, 6, 15, 10));
    SetEnd(1002, 1122, At(2005, 6, 20, 12, 30, 15));
    for (const FieldText& field : ComputeDifference(At(2003, 6, 15, 10), At(2005, 6, 20, 12, 30, 15))) {
        EXPECT_EQ(Field(field.controlId).toStdString(), field.text) << field.controlId;
    }
}

TEST_F(DifferencePageTest, CurrentEndFollowsTheClockAndLocksItsInputs)
{
    page.LoadSettings();
    Control<QCheckBox>(1012).click();
    EXPECT_FALSE(Control<QDateEdit>(1002).isEnabled());
    EXPECT_FALSE(Control<QCheckBox>(1009).isEnabled()) << "only one end can follow the clock";
    env.clock.Set(SystemTime{2004, 3, 1, 1, 14, 5, 9, 0});
    page.OnClockTick();
    EXPECT_EQ(End(1002, 1122), At(2004, 3, 1, 14, 5, 9));
    EXPECT_EQ(End(1001, 1120), At(2004, 3, 1, 13, 5, 9));
    EXPECT_EQ(Field(1127), "1");
    Control<QCheckBox>(1012).click();
    EXPECT_TRUE(Control<QCheckBox>(1009).isEnabled());
    EXPECT_TRUE(Control<QDateEdit>(1002).isEnabled());
}

TEST_F(DifferencePageTest, BothCurrentFromSettingsMovesOnlyTheFinal)
{
    env.settings.WriteInt(SettingId::CurFrom, 1);
    env.settings.WriteInt(SettingId::CurTo, 1);
    page.LoadSettings();
    EXPECT_FALSE(Control<QCheckBox>(1009).isEnabled());
    EXPECT_FALSE(Control<QCheckBox>(1012).isEnabled());
    env.clock.Set(SystemTime{2004, 3, 2, 2, 13, 5, 9, 0});
    page.OnClockTick();
    EXPECT_EQ(Field(1126), "1");
}

TEST_F(DifferencePageTest, NowAndTimeInfoButtons)
{
    page.LoadSettings();
    SetEnd(1001, 1120, At(2000, 1, 1));
    QTest::mouseClick(&Control<QPushButton>(1046), Qt::LeftButton);
    QTest::mouseClick(&Control<QPushButton>(1047), Qt::LeftButton);
    EXPECT_EQ(env.shownOnTimeInfo, (std::vector{At(2000, 1, 1), At(2004, 3, 1, 13, 5, 9)}));
    QTest::mouseClick(&Control<QPushButton>(1003), Qt::LeftButton);
    EXPECT_EQ(Field(1129), "0");
}

TEST_F(DifferencePageTest, SettingsSurviveARestart)
{
    page.LoadSettings();
    SetEnd(1001, 1120, At(1999, 12, 31, 23, 59, 58));
    SetEnd(1002, 1122, At(2038, 1, 19, 3, 14, 8));
    Control<QCheckBox>(1009).click();
    page.SaveSettings();

    DifferencePage again(env.Services());
    again.LoadSettings();
    EXPECT_EQ(ReadPickerDateTime(FindControlAs<QDateEdit>(again, 1002), FindControlAs<QTimeEdit>(again, 1122)),
              At(2038, 1, 19, 3, 14, 8));
    EXPECT_TRUE(FindControlAs<QCheckBox>(again, 1009)->isChecked());
    EXPECT_FALSE(FindControlAs<QCheckBox>(again, 1012)->isChecked());
    EXPECT_EQ(FindControlAs<QLineEdit>(again, 1129)->text(), Field(1129));
}

}  // namespace
