#include "info/time_info_page.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <tuple>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "fakes/date_at.h"
#include "info/time_info_tab_widget.h"
#include "info/posix_tz.h"
#include "platform/system_zone_source.h"
#include "app/main_window.h"
#include "fakes/ui_environment.h"
#include "widgets/control_id.h"
#include "info/moon_picture_widget.h"
#include "widgets/pickers.h"

namespace {

SystemTime Record(int y, int mo, int d, int h, int mi, int s)
{
    return *At(y, mo, d, h, mi, s).GetAsSystemTime();
}

// Central European rules, as a zone source reports them in winter.
TimeZoneInformation CentralEurope()
{
    TimeZoneInformation zone = *ZoneFromTzString("CET-1CEST,M3.5.0,M10.5.0/3");
    zone.state = ZoneState::Standard;
    return zone;
}

struct TimeInfoPageTest : ::testing::Test {
    UiEnvironment env;
    std::unique_ptr<TimeInfoPage> page;

    void SetUp() override { env.zones.Set(CentralEurope()); }

    TimeInfoPage& Page()
    {
        if (!page) {
            page = std::make_unique<TimeInfoPage>(env.Services());
        }
        return *page;
    }
    // Ends this run of the page: the next Page() is a new start.
    void Restart() { page.reset(); }

    QCheckBox& Current() { return *Page().findChild<QCheckBox*>("current"); }
    QPushButton& Now() { return *Page().findChild<QPushButton*>("now"); }
    QDateEdit& DatePicker() { return *Page().findChild<QDateEdit*>("date"); }
    QTimeEdit& TimePicker() { return *Page().findChild<QTimeEdit*>("time"); }
    DateTime Shown() { return ReadPickerDateTime(&DatePicker(), &TimePicker()); }
    bool InputsEnabled() { return DatePicker().isEnabled() && TimePicker().isEnabled() && Now().isEnabled(); }
    int ActiveSubPage() { return Page().Sheet().currentIndex(); }

    QString Field(InfoSubPageIndex sub, int id)
    {
        const auto* field = FindControlAs<QLineEdit>(Page().SubPage(sub), id);
        EXPECT_NE(field, nullptr) << id;
        return field != nullptr ? field->text() : QString();
    }
    QPushButton& Button(InfoSubPageIndex sub, int id) { return *FindControlAs<QPushButton>(Page().SubPage(sub), id); }
    int MoonPicture() { return Page().SubPage(kMoonInfoPage).findChild<MoonPictureWidget*>()->Picture(); }
};

TEST_F(TimeInfoPageTest, FirstStartShowsNowOnTheGeneralSubPage)
{
    Page().LoadSettings();
    EXPECT_EQ(Shown(), At(2004, 3, 1, 13, 5, 9));
    EXPECT_FALSE(Current().isChecked());
    EXPECT_TRUE(InputsEnabled());
    EXPECT_EQ(ActiveSubPage(), kGeneralInfoPage);
    EXPECT_EQ(Field(kGeneralInfoPage, 1065), "61");
    EXPECT_EQ(Field(kTimeZoneInfoPage, 1108), "Sunday, March 28, 2004");
    EXPECT_EQ(Field(kHoroscopeInfoPage, 1108), "Pisces");
}

TEST_F(TimeInfoPageTest, CurrentFollowsTheClockOnEverySubPage)
{
    Page().LoadSettings();
    Page().ShowDateInfo(At(2004, 12, 4));
    const QString moonBefore = Field(kMoonInfoPage, 1066);
    Current().click();
    EXPECT_FALSE(InputsEnabled());
    EXPECT_EQ(Shown(), At(2004, 12, 4)) << "ticking Current waits for the clock";

    env.clock.Set(Record(2005, 1, 1, 0, 0, 0));
    Page().OnClockTick();
    EXPECT_EQ(Shown(), At(2005, 1, 1));
    EXPECT_EQ(Field(kGeneralInfoPage, 1065), "1");
    EXPECT_EQ(Field(kTimeZoneInfoPage, 1108), "Sunday, March 27, 2005");
    EXPECT_NE(Field(kMoonInfoPage, 1066), moonBefore);
    EXPECT_EQ(Field(kHoroscopeInfoPage, 1109), "Rooster");

    Current().click();
    EXPECT_TRUE(InputsEnabled());
    env.clock.Set(Record(2006, 6, 6, 6, 6, 6));
    Page().OnClockTick();
    EXPECT_EQ(Shown(), At(2005, 1, 1)) << "without Current a tick changes nothing";
}

TEST_F(TimeInfoPageTest, NowAndThePickersRefreshAtOnce)
{
    Page().LoadSettings();
    DatePicker().setDate(QDate(2000, 2, 29));
    EXPECT_EQ(Field(kGeneralInfoPage, 1065), "60");
    TimePicker().setTime(QTime(23, 0, 0));
    EXPECT_EQ(Field(kMoonInfoPage, 1066), "30.8%");
    Now().click();
    EXPECT_EQ(Shown(), At(2004, 3, 1, 13, 5, 9));
    EXPECT_EQ(Field(kGeneralInfoPage, 1065), "61");
}

TEST_F(TimeInfoPageTest, MoonButtonsMoveThePageToTheirMoment)
{
    const struct {
        const char* why;
        int buttonId;
        DateTime moment;
    } cases[] = {
        {"previous full moon", 1110, At(2004, 11, 27, 0, 56, 50)},
        {"next full moon", 1111, At(2004, 12, 26, 13, 40, 51)},
        {"previous new moon, half a second later", 1048, At(2004, 11, 12, 6, 34, 50)},
        {"next new moon, half a second later", 1049, At(2004, 12, 11, 19, 18, 51)},
    };
    Page().LoadSettings();
    Page().Sheet().setCurrentIndex(kMoonInfoPage);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Page().ShowDateInfo(At(2004, 12, 4));
        EXPECT_EQ(MoonPicture(), 4);
        Current().click();
        Button(kMoonInfoPage, c.buttonId).click();
        EXPECT_EQ(Shown(), c.moment);
        EXPECT_FALSE(Current().isChecked());
        EXPECT_TRUE(InputsEnabled());
        EXPECT_EQ(ActiveSubPage(), kMoonInfoPage);
    }
}

TEST_F(TimeInfoPageTest, TimeZoneButtonsMoveThePageToTheNextChanges)
{
    Page().LoadSettings();
    Page().Sheet().setCurrentIndex(kTimeZoneInfoPage);
    Page().ShowDateInfo(At(2004, 12, 4));
    Button(kTimeZoneInfoPage, 1112).click();
    EXPECT_EQ(Shown(), At(2005, 3, 27, 2, 0, 0));
    EXPECT_EQ(Field(kTimeZoneInfoPage, 1108), "Sunday, March 26, 2006") << "on the change day the next is a year on";
    Button(kTimeZoneInfoPage, 1047).click();
    EXPECT_EQ(Shown(), At(2005, 10, 30, 3, 0, 0));
    EXPECT_EQ(ActiveSubPage(), kTimeZoneInfoPage);
}

TEST_F(TimeInfoPageTest, InputAndSubPageSurviveARestart)
{
    Page().LoadSettings();
    Page().ShowDateInfo(At(2010, 7, 15, 8, 30, 45));
    Page().Sheet().setCurrentIndex(kHoroscopeInfoPage);
    Page().SaveSettings();
    Restart();
    env.clock.Set(Record(2020, 1, 1, 0, 0, 0));
    Page().LoadSettings();
    EXPECT_EQ(Shown(), At(2010, 7, 15, 8, 30, 45));
    EXPECT_EQ(ActiveSubPage(), kHoroscopeInfoPage);
    EXPECT_FALSE(Current().isChecked());
    EXPECT_EQ(Field(kHoroscopeInfoPage, 1108), "Cancer");

    Current().click();
    Page().SaveSettings();
    Restart();
    Page().LoadSettings();
    EXPECT_TRUE(Current().isChecked());
    EXPECT_FALSE(InputsEnabled());
    Page().OnClockTick();
    EXPECT_EQ(Shown(), At(2020, 1, 1));
}

TEST_F(TimeInfoPageTest, AStoredSubPageOutOfRangeActivatesGeneral)
{
    for (const auto& [stored, active] : {std::pair{3, kHoroscopeInfoPage}, {4, kGeneralInfoPage},
                                         {-1, kGeneralInfoPage}, {1000, kGeneralInfoPage}}) {
        env.settings.WriteInt(SettingId::ActiveInfoPageNo, stored);
        Restart();
        Page().LoadSettings();
        EXPECT_EQ(ActiveSubPage(), active) << stored;
    }
}

// The computer's own zone through the real zone source, with zones made by zic from the tree.
class InfoPageSystemZoneTest : public TimeInfoPageTest {
protected:
    // The pickers take the value before the zone changes: the zone is only what the sub-page reports.
    void SetUp() override
    {
        ASSERT_TRUE(TestZoneFolder().Ok());
        const PageServices services = env.Services();
        page = std::make_unique<TimeInfoPage>(PageServices{services.clock, services.formatter, services.settings,
                                                              services.messages, source, services.showOnTimeInfo});
        Page().LoadSettings();
        Page().ShowDateInfo(At(2004, 12, 4));
    }

    // 2010-01-15 12:00:00 UTC: winter in Berlin. No long names, so the abbreviations show.
    SystemZoneSource source{[](const std::string&) { return std::optional<ZoneNames>(); },
                            [] { return std::int64_t{1263556800}; }};
};

// Berlin has rules and next changes; UTC and an unknown zone have neither, and leave none of Berlin's behind.
TEST_F(InfoPageSystemZoneTest, ZoneFieldsFollowTheComputersZone)
{
    const std::string berlin = ":" + TestZoneFolder().Path("Europe/Berlin");
    const std::vector<QString> rules = {"(GMT+01:00) CET", "02:00, Last Sunday, March", "Sunday, March 27, 2005",
                                        "03:00, Last Sunday, October", "Sunday, October 30, 2005"};
    const std::vector<QString> none = {"(GMT 00:00) UTC", "", "", "", ""};
    for (const auto& [zone, fields] : {std::pair{berlin, rules}, {"", none}, {berlin, rules}, {"Foo/Bar", none}}) {
        SCOPED_TRACE(zone);
        const ScopedZoneEnv tz("TZ", zone.c_str());
        Page().Refresh();
        std::vector<QString> shown;
        for (int id : {1107, 1105, 1108, 1106, 1103}) {
            shown.push_back(Field(kTimeZoneInfoPage, id));
        }
        EXPECT_EQ(shown, fields);
        EXPECT_EQ(Button(kTimeZoneInfoPage, 1112).isEnabled(), fields == rules);
        EXPECT_EQ(Button(kTimeZoneInfoPage, 1047).isEnabled(), fields == rules);
    }
}

// The Time Info page inside the main window, with the real language table writing english.lng.
struct InfoInMainWindowTest : ::testing::Test {
    UiEnvironment env;

    AppServices Services()
    {
        return AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter, env.timeChanges};
    }
    static TimeInfoPage& TimeInfo(const MainWindow& window)
    {
        return *static_cast<TimeInfoPage*>(window.Page(kTimeInfoPage));
    }
    static DateTime Shown(const TimeInfoPage& page)
    {
        return ReadPickerDateTime(page.findChild<QDateEdit*>("date"), page.findChild<QTimeEdit*>("time"));
    }
};

TEST_F(InfoInMainWindowTest, ACalculationTimeInfoButtonShowsItsDateHere)
{
    MainWindow window(Services());
    TimeInfoPage& info = TimeInfo(window);
    info.findChild<QCheckBox*>("current")->click();
    info.Sheet().setCurrentIndex(kMoonInfoPage);
    const PageWidget& calculation = *window.Page(kCalculationPage);
    FindControlAs<QDateEdit>(calculation, 1070)->setDate(QDate(2010, 7, 15));
    FindControlAs<QTimeEdit>(calculation, 1071)->setTime(QTime(8, 30, 45));
    FindControlAs<QPushButton>(calculation, 1054)->click();
    EXPECT_EQ(window.ActivePageIndex(), kTimeInfoPage);
    EXPECT_EQ(Shown(info), At(2010, 7, 15, 8, 30, 45));
    EXPECT_FALSE(info.findChild<QCheckBox*>("current")->isChecked());
    EXPECT_EQ(info.Sheet().currentIndex(), kMoonInfoPage);
    EXPECT_EQ(FindControlAs<QLineEdit>(info.SubPage(kHoroscopeInfoPage), 1108)->text(), "Cancer");
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

TEST_F(InfoInMainWindowTest, FollowingTheClockWritesNoFile)
{
    env.settings.WriteInt(SettingId::Current, 1);
    MainWindow window(Services());
    TimeInfoPage& info = TimeInfo(window);
    ASSERT_TRUE(info.findChild<QCheckBox*>("current")->isChecked());
    const QString settingsFile = QString::fromStdString(env.backend.FilePath());
    const QString languageFile =
        QFileInfo(QString::fromStdString(env.location.ExecutablePath())).dir().filePath("english.lng");
    const auto settingsBefore = Stamp(settingsFile);
    const auto languageBefore = Stamp(languageFile);
    ASSERT_TRUE(settingsBefore && languageBefore);

    for (int second = 0; second < 5; ++second) {
        env.clock.Set(Record(2004, 12, 31, 23, 59, 57 + second % 3));
        info.OnClockTick();
    }
    EXPECT_EQ(Shown(info), At(2004, 12, 31, 23, 59, 58));
    EXPECT_EQ(Stamp(settingsFile), settingsBefore);
    EXPECT_EQ(Stamp(languageFile), languageBefore);
}

// The access key of a control text: the letter after a single '&'.
QChar AccessKey(const QString& text)
{
    const qsizetype at = text.indexOf('&');
    return at >= 0 && at + 1 < text.size() && text[at + 1] != '&' ? text[at + 1].toLower() : QChar();
}

// The accessibility walk checks the English texts; the Russian ones must not clash either.
TEST_F(InfoInMainWindowTest, RussianAccessKeysOfEachSubPageDoNotClashWithThePage)
{
    const QString programFolder = QFileInfo(QString::fromStdString(env.location.ExecutablePath())).path();
    ASSERT_TRUE(QFile::copy(QStringLiteral(CHRONEL_TEST_DATA_DIR "/../../res/lang/russian.lng"),
                            programFolder + "/russian.lng"));
    env.settings.WriteString(SettingId::Lang, "russian");
    MainWindow window(Services());
    const TimeInfoPage& info = TimeInfo(window);
    const QList<QChar> pageKeys = {AccessKey(info.findChild<QLabel*>("dateLabel")->text()),
                                   AccessKey(info.findChild<QLabel*>("timeLabel")->text()),
                                   AccessKey(info.findChild<QAbstractButton*>("current")->text()),
                                   AccessKey(info.findChild<QAbstractButton*>("now")->text())};
    for (int sub = 0; sub < kInfoSubPageCount; ++sub) {
        QList<QChar> keys = pageKeys;
        for (const QAbstractButton* button : info.SubPage(InfoSubPageIndex(sub)).findChildren<QAbstractButton*>()) {
            keys.append(AccessKey(button->text()));
        }
        for (const QChar key : keys) {
            EXPECT_FALSE(key.isNull());
            EXPECT_EQ(keys.count(key), 1) << "sub-page " << sub << " key " << QString(key).toStdString();
        }
    }
}

}  // namespace
