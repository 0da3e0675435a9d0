#include "pages/calc/difference_page.h"

#include <gtest/gtest.h>

#include <QTest>

#include <tuple>

#include "calc/difference.h"
#include "calc/working_days_line.h"
#include "cli/computed_value_source.h"
#include "fakes/date_at.h"
#include "fakes/ui_environment.h"
#include "pages/templates/page_value_source.h"
#include "pages/test_places.h"
#include "pages/zone_chooser.h"
#include "platform/system_zone_source.h"
#include "templates/macros.h"
#include "widgets/control_id.h"
#include "widgets/pickers.h"

namespace {

const DateTime kNow = At(2004, 3, 1, 13, 5, 9);

// The start end is the pickers 1001 and 1120, the final end 1002 and 1122.
DateTime End(const QWidget& page, int dateId, int timeId)
{
    return ReadPickerDateTime(&ControlOf<QDateEdit>(page, dateId), &ControlOf<QTimeEdit>(page, timeId));
}

struct DifferencePageTest : ::testing::Test {
    UiEnvironment env;
    // The computer's zone through the real zone source and the C library, with zones made by zic from the tree.
    ScopedZoneEnv tz{"TZ", ":" + TestZoneFolder().Path("Europe/Berlin")};
    SystemZoneSource zones{{}, [] { return std::int64_t{0}; }};
    PageServices services = env.Services();
    DifferencePage page{PageServices{services.clock, services.formatter, services.settings, services.messages, zones,
                                     services.showOnTimeInfo}};

    void SetUp() override { page.LoadSettings(); }
    template <typename T>
    T& Control(int id)
    {
        return ControlOf<T>(page, id);
    }
    void SetEnd(int dateId, int timeId, const DateTime& v)
    {
        Control<QDateEdit>(dateId).setDate(QDate(v.GetYear(), v.GetMonth(), v.GetDay()));
        Control<QTimeEdit>(timeId).setTime(QTime(v.GetHour(), v.GetMinute(), v.GetSecond()));
    }
    QString Field(int id) { return Control<QLineEdit>(id).text(); }
};

TEST_F(DifferencePageTest, EditsRecomputeEveryFieldAndACurrentEndFollowsTheClock)
{
    EXPECT_EQ(End(page, kDifferenceStartDateId, kDifferenceStartTimeId), kNow);
    EXPECT_EQ(End(page, kDifferenceFinalDateId, kDifferenceFinalTimeId), kNow);
    EXPECT_EQ(Field(kDifferenceFieldIds.back()), "0");
    SetEnd(kDifferenceStartDateId, kDifferenceStartTimeId, At(2003, 6, 15, 10));
    SetEnd(kDifferenceFinalDateId, kDifferenceFinalTimeId, At(2005, 6, 20, 12, 30, 15));
    for (const FigureField& field : ComputeDifference(At(2003, 6, 15, 10), At(2005, 6, 20, 12, 30, 15))) {
        EXPECT_EQ(Field(field.controlId).toStdString(), field.text) << field.controlId;
    }
    // Time Info of both ends, then Now for the start.
    QTest::mouseClick(&Control<QPushButton>(1046), Qt::LeftButton);
    QTest::mouseClick(&Control<QPushButton>(1047), Qt::LeftButton);
    EXPECT_EQ(env.shownOnTimeInfo, (std::vector{At(2003, 6, 15, 10), At(2005, 6, 20, 12, 30, 15)}));
    QTest::mouseClick(&Control<QPushButton>(1003), Qt::LeftButton);
    EXPECT_EQ(End(page, kDifferenceStartDateId, kDifferenceStartTimeId), kNow);

    // The final follows the clock, its inputs and the other end's box locked.
    Control<QCheckBox>(1012).click();
    EXPECT_FALSE(Control<QDateEdit>(kDifferenceFinalDateId).isEnabled());
    EXPECT_FALSE(Control<QCheckBox>(1009).isEnabled()) << "only one end can follow the clock";
    env.clock.Set(SystemTime{2004, 3, 1, 1, 14, 5, 9, 0});
    page.OnClockTick();
    EXPECT_EQ(End(page, kDifferenceFinalDateId, kDifferenceFinalTimeId), At(2004, 3, 1, 14, 5, 9));
    EXPECT_EQ(End(page, kDifferenceStartDateId, kDifferenceStartTimeId), kNow);
    EXPECT_EQ(Field(kDifferenceFieldIds[12]), "1");
    Control<QCheckBox>(1012).click();
    EXPECT_TRUE(Control<QCheckBox>(1009).isEnabled());
    EXPECT_TRUE(Control<QDateEdit>(kDifferenceFinalDateId).isEnabled());
}

TEST_F(DifferencePageTest, SettingsSurviveARestart)
{
    SetEnd(kDifferenceStartDateId, kDifferenceStartTimeId, At(1999, 12, 31, 23, 59, 58));
    SetEnd(kDifferenceFinalDateId, kDifferenceFinalTimeId, At(2038, 1, 19, 3, 14, 8));
    Control<QCheckBox>(1009).click();
    page.SaveSettings();
    DifferencePage again(env.Services());
    again.LoadSettings();
    EXPECT_EQ(End(again, kDifferenceFinalDateId, kDifferenceFinalTimeId), At(2038, 1, 19, 3, 14, 8));
    EXPECT_TRUE(ControlOf<QCheckBox>(again, 1009).isChecked());
    EXPECT_EQ(ControlOf<QLineEdit>(again, kDifferenceFieldIds.back()).text(), Field(kDifferenceFieldIds.back()));
}

TEST_F(DifferencePageTest, ElapsedLineOnlyAcrossAnOffsetChangeNamingDaylightSavingOnlyForIt)
{
    // Zone, start, final, the line and the tooltip's seconds; none: the line is hidden and empty.
    const std::string dst = " (a daylight-saving change lies between)";
    const std::tuple<const char*, DateTime, DateTime, std::string, std::string> cases[] = {
        {"Europe/Berlin", At(2026, 3, 28, 2), At(2026, 3, 30, 2), "47 h" + dst, "169200"},
        {"Australia/Lord_Howe", At(2026, 4, 6), At(2026, 4, 4, 23, 59, 45), "-24 h -30 min -15 s" + dst, "-88215"},
        {"Europe/Berlin", At(2026, 3, 28, 2), At(2026, 3, 28, 3), "", ""},
        {"Europe/Berlin", At(1890, 1, 1), At(1900, 1, 1), "87647 h 53 min 28 s (the zone's UTC offset changed between)",
         "315532408"},
    };
    QLineEdit& line = Control<QLineEdit>(kElapsedLineId);
    for (const auto& [zone, start, final, shown, seconds] : cases) {
        const ScopedZoneEnv zoneTz("TZ", ":" + TestZoneFolder().Path(zone));
        SetEnd(kDifferenceStartDateId, kDifferenceStartTimeId, start);
        SetEnd(kDifferenceFinalDateId, kDifferenceFinalTimeId, final);
        EXPECT_EQ(line.isHidden(), shown.empty()) << zone << shown;
        EXPECT_EQ(line.text().toStdString(), shown.empty() ? "" : "Elapsed: " + shown);
        EXPECT_EQ(line.toolTip().toStdString(), seconds.empty() ? "" : "Total seconds: " + seconds);
    }
}

TEST(DifferencePageWorkingDays, LineCountsTheSharedCalendarsDaysAndItsTipNamesTheWeekend)
{
    UiEnvironment env;
    env.settings.WriteInt(SettingId::WorkingWeekdays, 0x4F);   // Sunday to Thursday
    env.settings.WriteList(SettingId::HolidayCalendars, {"/holidays.ics"});
    // A Sunday holiday, and a Friday one that the weekend already takes.
    WorkingDaysSource source{env.settings,
                             [](const std::vector<std::string>& paths) {
                                 return std::vector<HolidayCalendarFile>{
                                     {paths[0], -1, {DayNumber(At(2004, 3, 7)), DayNumber(At(2004, 3, 12))}}};
                             },
                             kMondayToFriday};
    PageServices services = env.Services();
    services.workingDays = &source;
    DifferencePage page{services};
    page.LoadSettings();
    source.Reload();
    ASSERT_TRUE(QTest::qWaitFor([&] { return source.Files().size() == 1; }));

    const std::string tip = "Weekend: Fri, Sat. Holidays in the span: ";
    const std::tuple<const char*, DateTime, DateTime, std::string, std::string> cases[] = {
        {"a week from the holiday", At(2004, 3, 7), At(2004, 3, 14), "4", tip + "1"},
        {"reversed; times of day play no part", At(2004, 3, 14, 23), At(2004, 3, 7, 1), "-4", tip + "1"},
        {"across a year end", At(2003, 12, 25), At(2004, 1, 8), "10", tip + "0"},
    };
    QLineEdit& line = ControlOf<QLineEdit>(page, kWorkingDaysId);
    for (const auto& [why, start, final, count, toolTip] : cases) {
        SCOPED_TRACE(why);
        for (const auto& [dateId, timeId, value] :
             {std::tuple{kDifferenceStartDateId, kDifferenceStartTimeId, start},
              std::tuple{kDifferenceFinalDateId, kDifferenceFinalTimeId, final}}) {
            ControlOf<QDateEdit>(page, dateId).setDate(QDate(value.GetYear(), value.GetMonth(), value.GetDay()));
            ControlOf<QTimeEdit>(page, timeId).setTime(QTime(value.GetHour(), value.GetMinute(), value.GetSecond()));
        }
        EXPECT_EQ(line.text().toStdString(), count);
        EXPECT_EQ(line.toolTip().toStdString(), toolTip);
    }
}

// %DSZ% and %DEZ% as a template gives them.
std::string ZoneMacros(const DifferencePage& page)
{
    const FakeMessages messages;
    const PageValueSource values(&page, nullptr, nullptr, messages);
    std::string text;
    for (const Macro& macro : kMacros) {
        if (macro.code == "%DSZ%" || macro.code == "%DEZ%") {
            text += (text.empty() ? "" : " ") + values.FieldText(macro.source, macro.controlId).value_or("?");
        }
    }
    return text;
}

// The flight leaves Berlin at 10:05 and lands in New York at 13:30: 9 h 25 min in the air, while the
// figures stay the wall-clock reading. The zones are stored, and %DSZ% and %DEZ% name them.
TEST_F(DifferencePageTest, EndsInTwoZonesShowTheRealTimeBetween)
{
    env.settings.WriteString(SettingId::DifferenceStartZone, "Europe/Berlin");
    env.settings.WriteString(SettingId::DifferenceFinalZone, "America/New_York");
    DifferencePage flight{WithTestPlaces(services, "UTC+01:00")};
    flight.LoadSettings();
    for (const auto& [dateId, timeId, value] :
         {std::tuple{kDifferenceStartDateId, kDifferenceStartTimeId, At(2010, 7, 1, 10, 5)},
          {kDifferenceFinalDateId, kDifferenceFinalTimeId, At(2010, 7, 1, 13, 30)}}) {
        ControlOf<QDateEdit>(flight, dateId).setDate(QDate(value.GetYear(), value.GetMonth(), value.GetDay()));
        ControlOf<QTimeEdit>(flight, timeId).setTime(QTime(value.GetHour(), value.GetMinute()));
    }
    EXPECT_EQ(ControlOf<QLineEdit>(flight, kElapsedLineId).text(), "Elapsed: 9 h 25 min");
    EXPECT_EQ(ControlOf<QLineEdit>(flight, kDifferenceFieldIds[3]).text(), "3");
    EXPECT_EQ(ZoneMacros(flight), "Europe/Berlin America/New_York");

    flight.findChild<ZoneChooser*>("startZone")->SetZone({});
    flight.SaveSettings();
    std::string stored = "unchanged";
    env.settings.ReadString(SettingId::DifferenceStartZone, stored);
    EXPECT_EQ(stored, "");
    DifferencePage again{WithTestPlaces(services, "UTC+01:00")};
    again.LoadSettings();
    EXPECT_EQ(ZoneMacros(again), "UTC+01:00 America/New_York");
}

}   // namespace
