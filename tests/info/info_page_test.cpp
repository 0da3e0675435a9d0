#include "info/info_page.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "fakes/date_at.h"
#include "info/info_sheet_widget.h"
#include "info/posix_tz.h"
#include "platform/system_zone_source.h"
#include "shell/main_dialog.h"
#include "shell/ui_environment.h"
#include "widgets/control_id_widget.h"
#include "widgets/moon_pictures_widget.h"
#include "widgets/picker_widget.h"

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

struct InfoPageTest : ::testing::Test {
    UiEnvironment env;
    std::unique_ptr<CDialogEvalInfo> page;

    void SetUp() override { env.zones.Set(CentralEurope()); }

    CDialogEvalInfo& Page()
    {
        if (!page) {
            page = std::make_unique<CDialogEvalInfo>(env.Services());
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

TEST_F(InfoPageTest, FirstStartShowsNowOnTheGeneralSubPage)
{
    Page().LoadSettings();
    EXPECT_EQ(Shown(), At(2004, 3, 1, 13, 5, 9));
    EXPECT_FALSE(Current().isChecked());
    EXPECT_TRUE(InputsEnabled());
    EXPECT_EQ(ActiveSubPage(), kGeneralInfoPage);
    ASSERT_EQ(Page().Sheet().count(), 4);
    EXPECT_EQ(Page().Sheet().tabText(kMoonInfoPage), "Moon");
    EXPECT_EQ(Field(kGeneralInfoPage, 1039), "Monday");
    EXPECT_EQ(Field(kGeneralInfoPage, 1065), "61");
    EXPECT_EQ(Field(kTimeZoneInfoPage, 1108), "Sunday, March 28, 2004");
    EXPECT_EQ(Field(kHoroscopeInfoPage, 1108), "Pisces");
}

TEST_F(InfoPageTest, CurrentFollowsTheClockOnEverySubPage)
{
    Page().LoadSettings();
    Page().ShowDateInfo(At(2004, 12, 4));
    const QString moonBefore = Field(kMoonInfoPage, 1066);
    Current().click();
    EXPECT_FALSE(InputsEnabled());
    EXPECT_EQ(Shown(), At(2004, 12, 4)) << "ticking Current waits for the clock";

    env.clock.Set(Record(2004, 12, 31, 23, 59, 59));
    Page().OnClockTick();
    EXPECT_EQ(Shown(), At(2004, 12, 31, 23, 59, 59));
    EXPECT_EQ(Field(kGeneralInfoPage, 1065), "366");
    EXPECT_EQ(Field(kTimeZoneInfoPage, 1108), "Sunday, March 27, 2005");
    EXPECT_NE(Field(kMoonInfoPage, 1066), moonBefore);
    EXPECT_EQ(Field(kHoroscopeInfoPage, 1108), "Capricorn");
    EXPECT_EQ(Field(kHoroscopeInfoPage, 1109), "Monkey");

    env.clock.Set(Record(2005, 1, 1, 0, 0, 0));
    Page().OnClockTick();
    EXPECT_EQ(Shown(), At(2005, 1, 1));
    EXPECT_EQ(Field(kGeneralInfoPage, 1065), "1");
    EXPECT_EQ(Field(kHoroscopeInfoPage, 1109), "Rooster");

    Current().click();
    EXPECT_TRUE(InputsEnabled());
    env.clock.Set(Record(2006, 6, 6, 6, 6, 6));
    Page().OnClockTick();
    EXPECT_EQ(Shown(), At(2005, 1, 1)) << "without Current a tick changes nothing";
}

TEST_F(InfoPageTest, NowAndThePickersRefreshAtOnce)
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

struct MoonButtonCase {
    const char* why;
    int buttonId;
    DateTime moment;
};

TEST_F(InfoPageTest, MoonButtonsMoveThePageToTheirMoment)
{
    const MoonButtonCase cases[] = {
        {"previous full moon", 1110, At(2004, 11, 27, 0, 56, 50)},
        {"next full moon", 1111, At(2004, 12, 26, 13, 40, 51)},
        {"previous new moon, half a second later", 1048, At(2004, 11, 12, 6, 34, 50)},
        {"next new moon, half a second later", 1049, At(2004, 12, 11, 19, 18, 51)},
    };
    Page().LoadSettings();
    Page().Sheet().setCurrentIndex(kMoonInfoPage);
    for (const MoonButtonCase& c : cases) {
        SCOPED_TRACE(c.why);
        Page().ShowDateInfo(At(2004, 12, 4));
        EXPECT_EQ(MoonPicture(), 4);
        Current().click();
        ASSERT_TRUE(Current().isChecked());
        Button(kMoonInfoPage, c.buttonId).click();
        EXPECT_EQ(Shown(), c.moment);
        EXPECT_FALSE(Current().isChecked());
        EXPECT_TRUE(InputsEnabled());
        EXPECT_EQ(ActiveSubPage(), kMoonInfoPage);
    }
}

TEST_F(InfoPageTest, TimeZoneButtonsMoveThePageToTheNextChanges)
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

TEST_F(InfoPageTest, InputAndSubPageSurviveARestart)
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

TEST_F(InfoPageTest, AStoredSubPageOutOfRangeActivatesGeneral)
{
    const struct {
        int stored;
        int active;
    } cases[] = {{3, kHoroscopeInfoPage}, {4, kGeneralInfoPage}, {-1, kGeneralInfoPage}, {1000, kGeneralInfoPage}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        env.settings.WriteInt(SettingId::ActiveInfoPageNo, c.stored);
        Restart();
        Page().LoadSettings();
        EXPECT_EQ(ActiveSubPage(), c.active);
    }
}

TEST_F(InfoPageTest, AStoredDateOutsideThePickerShowsTheNearestAllowedDate)
{
    const struct {
        const char* why;
        DateTime stored;
        DateTime shown;
    } cases[] = {
        {"before the first allowed day", At(1600, 5, 5, 10, 0, 0), At(1754, 1, 1, 10, 0, 0)},
        {"after the last allowed day", At(9999, 6, 1, 10, 0, 0), At(9998, 12, 31, 10, 0, 0)},
        {"the first allowed day itself", At(1754, 1, 1, 10, 0, 0), At(1754, 1, 1, 10, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        env.settings.WriteDateTime(SettingId::Date, c.stored);
        env.settings.WriteDateTime(SettingId::Time, c.stored);
        Restart();
        Page().LoadSettings();
        EXPECT_EQ(Shown(), c.shown);
        EXPECT_NE(Field(kGeneralInfoPage, 1065), "");
        EXPECT_NE(Field(kMoonInfoPage, 1101), "*");
    }
}

// The computer's own zone through the real zone source, with zones made by zic from the tree.
class InfoPageSystemZoneTest : public InfoPageTest {
protected:
    void SetUp() override { ASSERT_TRUE(TestZoneFolder().Ok()); }

    // 2010-01-15 12:00:00 UTC: winter in Berlin. No long names, so the abbreviations show.
    SystemZoneSource source{[](const std::string&) { return std::optional<ZoneNames>(); },
                            [] { return std::int64_t{1263556800}; }};

    PageServices Services()
    {
        PageServices services = env.Services();
        return PageServices{services.clock,    services.formatter, services.settings,
                            services.messages, source,             services.showOnTimeInfo};
    }
};

TEST_F(InfoPageSystemZoneTest, BerlinShowsItsRulesAndNextChanges)
{
    page = std::make_unique<CDialogEvalInfo>(Services());
    Page().LoadSettings();
    // The pickers take the value before the zone changes: the zone is only what the sub-page reports.
    Page().ShowDateInfo(At(2004, 12, 4));
    const ScopedZoneEnv tz("TZ", (":" + TestZoneFolder().Path("Europe/Berlin")).c_str());
    Page().Refresh();
    EXPECT_EQ(Field(kTimeZoneInfoPage, 1107), "(GMT+01:00) CET");
    EXPECT_EQ(Field(kTimeZoneInfoPage, 1105), "02:00, Last Sunday, March");
    EXPECT_EQ(Field(kTimeZoneInfoPage, 1108), "Sunday, March 27, 2005");
    EXPECT_EQ(Field(kTimeZoneInfoPage, 1106), "03:00, Last Sunday, October");
    EXPECT_EQ(Field(kTimeZoneInfoPage, 1103), "Sunday, October 30, 2005");
    EXPECT_TRUE(Button(kTimeZoneInfoPage, 1112).isEnabled());
    EXPECT_TRUE(Button(kTimeZoneInfoPage, 1047).isEnabled());
}

TEST_F(InfoPageSystemZoneTest, UtcAndUnknownZonesShowEmptyDaylightFieldsAndDisabledButtons)
{
    page = std::make_unique<CDialogEvalInfo>(Services());
    Page().LoadSettings();
    Page().ShowDateInfo(At(2004, 12, 4));
    for (const char* name : {"", "Foo/Bar"}) {
        SCOPED_TRACE(name);
        {
            const ScopedZoneEnv tz("TZ", (":" + TestZoneFolder().Path("Europe/Berlin")).c_str());
            Page().Refresh();
        }
        const ScopedZoneEnv tz("TZ", name);
        Page().Refresh();
        EXPECT_EQ(Field(kTimeZoneInfoPage, 1107), "(GMT 00:00) UTC");
        for (int id : {1105, 1106, 1108, 1103}) {
            EXPECT_EQ(Field(kTimeZoneInfoPage, id), "") << id;
        }
        EXPECT_FALSE(Button(kTimeZoneInfoPage, 1112).isEnabled());
        EXPECT_FALSE(Button(kTimeZoneInfoPage, 1047).isEnabled());
    }
}

}  // namespace

namespace {

// The Time Info page inside the main window, with the real language table writing english.lng.
struct InfoInMainWindowTest : ::testing::Test {
    UiEnvironment env;

    AppServices Services()
    {
        return AppServices{env.clock,          env.formatter,  env.settings, env.location, env.zones,
                           env.clockSetter,    env.timeChanges};
    }
    static CDialogEvalInfo& TimeInfo(const CDialogEvalMain& window)
    {
        return *static_cast<CDialogEvalInfo*>(window.Page(kTimeInfoPage));
    }
    static DateTime Shown(const CDialogEvalInfo& page)
    {
        return ReadPickerDateTime(page.findChild<QDateEdit*>("date"), page.findChild<QTimeEdit*>("time"));
    }
};

TEST_F(InfoInMainWindowTest, ACalculationTimeInfoButtonShowsItsDateHere)
{
    CDialogEvalMain window(Services());
    CDialogEvalInfo& info = TimeInfo(window);
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
struct FileStamp {
    ino_t inode = 0;
    timespec modified{};
    bool operator==(const FileStamp& other) const
    {
        return inode == other.inode && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

std::optional<FileStamp> Stamp(const QString& path)
{
    struct stat status {};
    if (::stat(path.toLocal8Bit().constData(), &status) != 0) {
        return std::nullopt;
    }
    return FileStamp{status.st_ino, status.st_mtim};
}

TEST_F(InfoInMainWindowTest, FollowingTheClockWritesNoFile)
{
    env.settings.WriteInt(SettingId::Current, 1);
    CDialogEvalMain window(Services());
    CDialogEvalInfo& info = TimeInfo(window);
    ASSERT_TRUE(info.findChild<QCheckBox*>("current")->isChecked());
    const QString settingsFile = QString::fromStdString(env.backend.FilePath());
    const QString languageFile =
        QFileInfo(QString::fromStdString(env.location.ExecutablePath())).dir().filePath("english.lng");
    const auto settingsBefore = Stamp(settingsFile);
    const auto languageBefore = Stamp(languageFile);
    ASSERT_TRUE(settingsBefore.has_value());
    ASSERT_TRUE(languageBefore.has_value());

    for (int second = 0; second < 5; ++second) {
        env.clock.Set(Record(2004, 12, 31, 23, 59, 57 + second % 3));
        info.OnClockTick();
    }
    EXPECT_EQ(Shown(info), At(2004, 12, 31, 23, 59, 58));
    EXPECT_TRUE(Stamp(settingsFile) == settingsBefore);
    EXPECT_TRUE(Stamp(languageFile) == languageBefore);
}

// The access key of a control text: the letter after a single '&'.
QChar AccessKey(const QString& text)
{
    const qsizetype at = text.indexOf('&');
    return at >= 0 && at + 1 < text.size() && text[at + 1] != '&' ? text[at + 1].toLower() : QChar();
}

TEST_F(InfoInMainWindowTest, AccessKeysOfEachSubPageDoNotClashWithThePage)
{
    const QString programFolder = QFileInfo(QString::fromStdString(env.location.ExecutablePath())).path();
    ASSERT_TRUE(QFile::copy(QStringLiteral(CHRONEL_TEST_DATA_DIR "/../../res/lang/russian.lng"),
                            programFolder + "/russian.lng"));
    for (const char* language : {"english", "russian"}) {
        SCOPED_TRACE(language);
        env.settings.WriteString(SettingId::Lang, language);
        CDialogEvalMain window(Services());
        const CDialogEvalInfo& info = TimeInfo(window);
        QList<QChar> pageKeys;
        for (const char* name : {"dateLabel", "timeLabel"}) {
            pageKeys.append(AccessKey(info.findChild<QLabel*>(name)->text()));
        }
        for (const char* name : {"current", "now"}) {
            pageKeys.append(AccessKey(info.findChild<QAbstractButton*>(name)->text()));
        }
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
}

}  // namespace
