#include "pages/info/time_info_page.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <tuple>

#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/main_window.h"
#include "cli/computed_value_source.h"
#include "fakes/date_at.h"
#include "fakes/ui_environment.h"
#include "info/calendar_facts.h"
#include "info/horoscope.h"
#include "info/moon_phase.h"
#include "info/posix_tz.h"
#include "info/time_zone.h"
#include "pages/info/moon_picture_widget.h"
#include "pages/info/time_info_tab_widget.h"
#include "pages/test_places.h"
#include "pages/zone_chooser.h"
#include "platform/system_clock.h"
#include "platform/system_zone_source.h"
#include "widgets/control_id.h"
#include "widgets/pickers.h"

namespace {

SystemTime Record(int y, int mo, int d, int h, int mi, int s)
{
    return *At(y, mo, d, h, mi, s).GetAsSystemTime();
}

struct TimeInfoPageTest : ::testing::Test {
    UiEnvironment env;
    std::unique_ptr<TimeInfoPage> page;

    void SetUp() override { env.zones.Set(*ZoneFromTzString("CET-1CEST,M3.5.0,M10.5.0/3")); }
    TimeInfoPage& Page() { return page ? *page : *(page = std::make_unique<TimeInfoPage>(env.Services())); }
    // Ends this run of the page: the next Page() is a new start.
    void Restart() { page.reset(); }

    QCheckBox& Current() { return *Page().findChild<QCheckBox*>("current"); }
    QDateEdit& DatePicker() { return *Page().findChild<QDateEdit*>("date"); }
    QTimeEdit& TimePicker() { return *Page().findChild<QTimeEdit*>("time"); }
    DateTime Shown() { return ReadPickerDateTime(&DatePicker(), &TimePicker()); }
    QPushButton& Now() { return *Page().findChild<QPushButton*>("now"); }
    bool InputsEnabled() { return DatePicker().isEnabled() && TimePicker().isEnabled() && Now().isEnabled(); }
    int ActiveSubPage() { return Page().Sheet().currentIndex(); }
    QString Field(InfoSubPageIndex sub, int id) { return ControlOf<QLineEdit>(Page().SubPage(sub), id).text(); }
};

TEST_F(TimeInfoPageTest, FirstStartPickersNowCurrentAndARestart)
{
    Page().LoadSettings();
    EXPECT_EQ(Shown(), At(2004, 3, 1, 13, 5, 9));
    EXPECT_FALSE(Current().isChecked());
    EXPECT_TRUE(InputsEnabled());
    EXPECT_EQ(ActiveSubPage(), kGeneralInfoPage);
    EXPECT_EQ(Field(kGeneralInfoPage, kDayNumberFieldId), "61");
    EXPECT_EQ(Field(kGeneralInfoPage, kIsoWeekFieldId), "10 (2004)");
    EXPECT_EQ(Field(kTimeZoneInfoPage, kNextBeginFieldId), "Sunday, March 28, 2004");
    EXPECT_EQ(Field(kHoroscopeInfoPage, kSignFieldId), "Pisces");

    DatePicker().setDate(QDate(2000, 2, 29));
    EXPECT_EQ(Field(kGeneralInfoPage, kDayNumberFieldId), "60");
    TimePicker().setTime(QTime(23, 0, 0));
    const QString moonBefore = Field(kMoonInfoPage, kMoonPhaseFieldId);
    EXPECT_EQ(moonBefore, "30.8%");
    Now().click();
    EXPECT_EQ(Shown(), At(2004, 3, 1, 13, 5, 9));

    Current().click();
    EXPECT_FALSE(InputsEnabled());
    EXPECT_EQ(Shown(), At(2004, 3, 1, 13, 5, 9)) << "ticking Current waits for the clock";
    env.clock.Set(Record(2005, 1, 1, 0, 0, 0));
    Page().OnClockTick();
    EXPECT_EQ(Shown(), At(2005, 1, 1));
    EXPECT_EQ(Field(kGeneralInfoPage, kDayNumberFieldId), "1");
    EXPECT_EQ(Field(kTimeZoneInfoPage, kNextBeginFieldId), "Sunday, March 27, 2005");
    EXPECT_NE(Field(kMoonInfoPage, kMoonPhaseFieldId), moonBefore);
    EXPECT_EQ(Field(kHoroscopeInfoPage, kYearAnimalFieldId), "Rooster");

    Current().click();
    EXPECT_TRUE(InputsEnabled());
    env.clock.Set(Record(2006, 6, 6, 6, 6, 6));
    Page().OnClockTick();
    EXPECT_EQ(Shown(), At(2005, 1, 1)) << "without Current a tick changes nothing";

    // The input, the sub-page and Current survive a restart.
    Page().ShowDateInfo(At(2010, 7, 15, 8, 30, 45));
    Page().Sheet().setCurrentIndex(kHoroscopeInfoPage);
    Page().SaveSettings();
    Restart();
    env.clock.Set(Record(2020, 1, 1, 0, 0, 0));
    Page().LoadSettings();
    EXPECT_EQ(Shown(), At(2010, 7, 15, 8, 30, 45));
    EXPECT_EQ(ActiveSubPage(), kHoroscopeInfoPage);
    EXPECT_FALSE(Current().isChecked());
    EXPECT_EQ(Field(kHoroscopeInfoPage, kSignFieldId), "Cancer");
    Current().click();
    Page().SaveSettings();
    Restart();
    Page().LoadSettings();
    EXPECT_TRUE(Current().isChecked());
    EXPECT_FALSE(InputsEnabled());
    Page().OnClockTick();
    EXPECT_EQ(Shown(), At(2020, 1, 1));

    // A stored sub-page out of range activates General.
    for (const auto& [stored, active] : {std::pair{3, kHoroscopeInfoPage},
                                         {4, kSunInfoPage},
                                         {5, kGeneralInfoPage},
                                         {-1, kGeneralInfoPage},
                                         {1000, kGeneralInfoPage}}) {
        env.settings.WriteInt(SettingId::ActiveInfoPageNo, stored);
        Restart();
        Page().LoadSettings();
        EXPECT_EQ(ActiveSubPage(), active) << stored;
    }
}

// Each button shows its moment and ends following the clock; new moons fall half a second later.
TEST_F(TimeInfoPageTest, ButtonsMoveThePageToTheirMoment)
{
    const std::tuple<InfoSubPageIndex, int, DateTime> cases[] = {
        {kMoonInfoPage, 1110, At(2004, 11, 27, 0, 56, 50)},
        {kMoonInfoPage, 1111, At(2004, 12, 26, 13, 40, 51)},
        {kMoonInfoPage, 1048, At(2004, 11, 12, 6, 34, 50)},
        {kMoonInfoPage, 1049, At(2004, 12, 11, 19, 18, 51)},
        {kTimeZoneInfoPage, kBeginButtonId, At(2005, 3, 27, 2, 0, 0)},
        {kTimeZoneInfoPage, kEndButtonId, At(2005, 10, 30, 3, 0, 0)},
    };
    Page().LoadSettings();
    for (const auto& [sub, id, moment] : cases) {
        SCOPED_TRACE(id);
        Page().Sheet().setCurrentIndex(sub);
        Page().ShowDateInfo(At(2004, 12, 4));
        EXPECT_EQ(Page().SubPage(kMoonInfoPage).findChild<MoonPictureWidget*>()->Picture(), 4);
        Current().click();
        ControlOf<QPushButton>(Page().SubPage(sub), id).click();
        EXPECT_EQ(Shown(), moment);
        EXPECT_FALSE(Current().isChecked());
        EXPECT_TRUE(InputsEnabled());
        EXPECT_EQ(ActiveSubPage(), sub);
    }
}

// The computer's own zone through the real zone source, with zones made by zic from the tree. Berlin has
// rules and next changes; UTC and an unknown zone have neither, and leave none of Berlin's behind.
TEST_F(TimeInfoPageTest, ZoneFieldsFollowTheComputersZone)
{
    ASSERT_TRUE(TestZoneFolder().Ok());
    // 2010-01-15 12:00:00 UTC: winter in Berlin. No long names, so the abbreviations show.
    SystemZoneSource source{[](const std::string&) { return std::optional<ZoneNames>(); },
                            [] { return std::int64_t{1263556800}; }};
    const PageServices services = env.Services();
    page = std::make_unique<TimeInfoPage>(PageServices{services.clock, services.formatter, services.settings,
                                                       services.messages, source, services.showOnTimeInfo});
    Page().LoadSettings();
    // The pickers take the value before the zone changes: the zone is only what the sub-page reports.
    Page().ShowDateInfo(At(2004, 12, 4));
    const std::string berlin = ":" + TestZoneFolder().Path("Europe/Berlin");
    const std::vector<QString> rules = {"(GMT+01:00) CET", "02:00, Last Sunday, March", "Sunday, March 27, 2005",
                                        "03:00, Last Sunday, October", "Sunday, October 30, 2005"};
    const std::vector<QString> none = {"(GMT 00:00) UTC", "", "", "", ""};
    for (const auto& [zone, fields] : {std::pair{berlin, rules}, {"", none}, {berlin, rules}, {"Foo/Bar", none}}) {
        SCOPED_TRACE(zone);
        const ScopedZoneEnv tz("TZ", zone.c_str());
        Page().Refresh();
        std::vector<QString> shown;
        for (int id : {kZoneFieldId, kBeginRuleFieldId, kNextBeginFieldId, kEndRuleFieldId, kNextEndFieldId}) {
            shown.push_back(Field(kTimeZoneInfoPage, id));
        }
        EXPECT_EQ(shown, fields);
        EXPECT_EQ(ControlOf<QPushButton>(Page().SubPage(kTimeZoneInfoPage), kBeginButtonId).isEnabled(),
                  fields == rules);
        EXPECT_EQ(ControlOf<QPushButton>(Page().SubPage(kTimeZoneInfoPage), kEndButtonId).isEnabled(), fields == rules);
    }
}

// Another place: following the clock shows its present, the Time Zone sub-page its rules; "This computer"
// brings back the computer's clock and zone. The choice is stored; one that cannot be read is this computer.
TEST_F(TimeInfoPageTest, AnswersForTheChosenZone)
{
    ASSERT_TRUE(TestZoneFolder().Ok());
    env.clock.Set(At(2010, 3, 1, 13, 5, 9));
    env.settings.WriteString(SettingId::InfoZone, "Australia/Sydney");
    env.settings.WriteInt(SettingId::Current, 1);
    page = std::make_unique<TimeInfoPage>(WithTestPlaces(env.Services()));
    Page().LoadSettings();
    ZoneChooser& chooser = *Page().findChild<ZoneChooser*>("zone");
    Page().OnClockTick();
    EXPECT_EQ(Shown(), At(2010, 3, 2, 0, 5, 9)) << "13:05:09 UTC is 00:05:09 AEDT";
    EXPECT_EQ(Field(kTimeZoneInfoPage, kZoneFieldId), "(GMT+10:00) AEDT");
    chooser.setCurrentIndex(0);
    emit chooser.zoneChosen();
    EXPECT_EQ(Shown(), At(2010, 3, 1, 13, 5, 9));
    EXPECT_EQ(Field(kTimeZoneInfoPage, kZoneFieldId), "(GMT+01:00) CET");
    chooser.SetZone("America/New_York");
    Page().SaveSettings();
    std::string stored;
    env.settings.ReadString(SettingId::InfoZone, stored);
    EXPECT_EQ(stored, "America/New_York");
    env.settings.WriteString(SettingId::InfoZone, "Mars/Olympus");
    Page().LoadSettings();
    EXPECT_EQ(chooser.Zone(), "");
}

// Astronomical times, off by default, shows the real moon in the computer's zone through the C library (a
// zone made by zic): the lunation crosses the end of summer time, so the next new moon is an hour further
// from UT than the others. Toggling recomputes, and the choice survives a restart.
TEST_F(TimeInfoPageTest, AstronomicalTimesInTheComputersZone)
{
    ASSERT_TRUE(TestZoneFolder().Ok());
    const ScopedZoneEnv tz("TZ", (":" + TestZoneFolder().Path("Europe/Berlin")).c_str());
    const SystemClock clock;
    const PageServices services = env.Services();
    const auto start = [&] {
        page = std::make_unique<TimeInfoPage>(PageServices{clock, services.formatter, services.settings,
                                                           services.messages, services.zones, services.showOnTimeInfo});
        Page().LoadSettings();
        Page().ShowDateInfo(At(2010, 10, 20, 12));
    };
    const auto shown = [this] {
        std::vector<std::string> fields;
        for (int id :
             {kMoonPhaseFieldId, kPreviousFullFieldId, kNextFullFieldId, kPreviousNewFieldId, kNextNewFieldId}) {
            fields.push_back(Field(kMoonInfoPage, id).toStdString());
        }
        fields.push_back(std::to_string(Page().SubPage(kMoonInfoPage).findChild<MoonPictureWidget*>()->Picture()));
        return fields;
    };
    // Within a minute of PyEphem: 09:17:13, 01:36:32, 18:44:29 and 04:51:47 UT, 93.4 %.
    const std::vector<std::string> real = {"93.5%",
                                           "Thursday, September 23, 2010 11:17:13 AM",
                                           "Saturday, October 23, 2010 3:36:28 AM",
                                           "Thursday, October 07, 2010 8:44:26 PM",
                                           "Saturday, November 06, 2010 5:51:44 AM",
                                           "15"};
    start();
    const std::vector<std::string> mean = shown();
    QCheckBox& astronomical = ControlOf<QCheckBox>(Page().SubPage(kMoonInfoPage), 1068);
    EXPECT_FALSE(astronomical.isChecked());
    EXPECT_EQ(mean[1], "Thursday, September 23, 2010 5:46:02 AM") << "the mean lunation";
    astronomical.click();
    EXPECT_EQ(shown(), real);
    Page().SaveSettings();
    Restart();
    start();
    EXPECT_EQ(shown(), real);
    ControlOf<QCheckBox>(Page().SubPage(kMoonInfoPage), 1068).click();
    EXPECT_EQ(shown(), mean);
}

// Inode and modification time: an atomic rewrite changes the first, an in-place one the second.
std::optional<std::tuple<ino_t, time_t, long>> Stamp(const QString& path)
{
    struct stat status {};
    if (::stat(path.toLocal8Bit().constData(), &status) != 0) {
        return std::nullopt;
    }
    return std::tuple{status.st_ino, status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
}

// Inside the main window, with the real language table writing english.lng: following the clock writes no
// file; a Calculation page Time Info button ends it and shows its date here; the Russian access keys of
// each sub-page do not clash with the page's (the accessibility walk checks the English ones).
TEST_F(TimeInfoPageTest, InsideTheMainWindow)
{
    env.settings.WriteInt(SettingId::Current, 1);
    MainWindow window(
        AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter, env.timeChanges});
    TimeInfoPage& info = *static_cast<TimeInfoPage*>(window.Page(kTimeInfoPage));
    const auto shown = [&info] {
        return ReadPickerDateTime(info.findChild<QDateEdit*>("date"), info.findChild<QTimeEdit*>("time"));
    };
    QCheckBox& current = *info.findChild<QCheckBox*>("current");
    ASSERT_TRUE(current.isChecked());
    const QString programFolder = QFileInfo(QString::fromStdString(env.location.ExecutablePath())).path();
    const QString files[] = {QString::fromStdString(env.backend.FilePath()), programFolder + "/english.lng"};
    const auto before = std::pair(Stamp(files[0]), Stamp(files[1]));
    ASSERT_TRUE(before.first && before.second);
    for (int second = 0; second < 5; ++second) {
        env.clock.Set(Record(2004, 12, 31, 23, 59, 57 + second % 3));
        info.OnClockTick();
    }
    EXPECT_EQ(shown(), At(2004, 12, 31, 23, 59, 58));
    EXPECT_EQ(std::pair(Stamp(files[0]), Stamp(files[1])), before);

    info.Sheet().setCurrentIndex(kMoonInfoPage);
    const PageWidget& calculation = *window.Page(kCalculationPage);
    ControlOf<QDateEdit>(calculation, kCalculationStartDateId).setDate(QDate(2010, 7, 15));
    ControlOf<QTimeEdit>(calculation, kCalculationStartTimeId).setTime(QTime(8, 30, 45));
    ControlOf<QPushButton>(calculation, 1054).click();
    EXPECT_EQ(window.ActivePageIndex(), kTimeInfoPage);
    EXPECT_EQ(shown(), At(2010, 7, 15, 8, 30, 45));
    EXPECT_FALSE(current.isChecked());
    EXPECT_EQ(info.Sheet().currentIndex(), kMoonInfoPage);
    EXPECT_EQ(ControlOf<QLineEdit>(info.SubPage(kHoroscopeInfoPage), kSignFieldId).text(), "Cancer");

    const QString english = current.text();
    ASSERT_TRUE(QFile::copy(QStringLiteral(CHRONEL_TEST_DATA_DIR "/../../res/lang/russian.lng"),
                            programFolder + "/russian.lng"));
    env.settings.WriteString(SettingId::Lang, "russian");
    window.ApplyLanguage(false);
    const QStringList pageTexts = {info.findChild<QLabel*>("dateLabel")->text(),
                                   info.findChild<QLabel*>("timeLabel")->text(), current.text(),
                                   info.findChild<QAbstractButton*>("now")->text()};
    ASSERT_NE(current.text(), english) << "the Russian texts are in place";
    for (int sub = 0; sub < kInfoSubPageCount; ++sub) {
        QStringList keys;
        for (const QAbstractButton* button : info.SubPage(InfoSubPageIndex(sub)).findChildren<QAbstractButton*>()) {
            keys.append(QKeySequence::mnemonic(button->text()).toString());
        }
        for (const QString& text : pageTexts) {
            keys.append(QKeySequence::mnemonic(text).toString());
        }
        for (const QString& key : keys) {
            EXPECT_FALSE(key.isEmpty());
            EXPECT_EQ(keys.count(key), 1) << "sub-page " << sub << " key " << key.toStdString();
        }
    }
}

}   // namespace
