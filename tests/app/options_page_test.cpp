#include "app/options_page.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <utility>

#include "fakes/temp_folder.h"
#include "fakes/ui_environment.h"

namespace {

// The page on its own, with the main window's services counted; its messages are in `language`.
struct LoneOptionsPage {
    UiEnvironment env;
    ScopedEnv config{"XDG_CONFIG_HOME", UiEnvironment::Path(env.folder, "xdg")};
    LanguageTable language{env.location};
    std::unique_ptr<OptionsPage> page;
    WorkingDaysSource* workingDays = &env.workingDays;

    void Start()
    {
        language.Load("english");
        const PageServices services{env.clock, env.formatter, env.settings, language, env.zones, {}, workingDays};
        page = std::make_unique<OptionsPage>(services, OptionsServices{language, env.location, [] {}, [] {}});
        page->LoadSettings();
    }
    QLineEdit& Folder() { return ControlOf<QLineEdit>(*page, 1040); }
    QString Status() { return ControlOf<QLabel>(*page, 1114).text(); }
    std::string Stored()
    {
        std::string text;
        env.settings.ReadString(SettingId::TemplateFolder, text);
        return text;
    }
};
struct OptionsPageTest : LoneOptionsPage, ::testing::Test {};

TEST(OptionsPage, AutoloadBoxSettingAndEntryGoTogether)
{
    const struct {
        const char* why;
        int stored;
        bool blocked;   // a file where the autostart folder should be: no entry can be made, even by root
        bool busy;      // another copy holds the settings lock
        int clicks;
        bool checked;
        bool entry;
    } cases[] = {
        {"a click adds the entry", 0, false, false, 1, true, true},
        {"a second click removes it", 0, false, false, 2, false, false},
        {"saving renews the entry from the box", 1, false, false, 0, true, true},
        {"an unwritable folder is silent; the box is kept", 0, true, false, 1, true, false},
        {"a busy lock changes nothing, and says so", 0, false, true, 1, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        LoneOptionsPage t;
        const std::string entry = UiEnvironment::Path(t.env.folder, "autostart/Chronel.desktop");
        t.env.settings.WriteInt(SettingId::Autoload, c.stored);
        if (c.blocked) {
            WriteFileBytes(UiEnvironment::Path(t.env.folder, "autostart"), "not a folder");
        }
        const int other = open(t.env.backend.Lock()->Path().c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(flock(other, c.busy ? LOCK_EX : LOCK_UN), 0);
        t.env.backend.Lock()->SetWaitLimit(std::chrono::milliseconds(0));
        t.Start();
        for (int i = 0; i < c.clicks; ++i) {
            ControlOf<QCheckBox>(*t.page, 1048).click();
            const bool on = i % 2 == 0 && !c.busy;
            EXPECT_EQ(t.env.settings.ReadInt(SettingId::Autoload), on ? 1 : 0);
            EXPECT_EQ(QFile::exists(QString::fromStdString(entry)), on && !c.blocked);
        }
        const QList<QMessageBox*> boxes = t.page->findChildren<QMessageBox*>();
        EXPECT_EQ(std::any_of(boxes.begin(), boxes.end(),
                              [](QMessageBox* box) {
                                  return box->text().toStdString() == DefaultMessage(kSettingsBusyMessage);
                              }),
                  c.busy);
        t.page->SaveSettings();
        close(other);
        EXPECT_EQ(ControlOf<QCheckBox>(*t.page, 1048).isChecked(), c.checked);
        EXPECT_EQ(t.env.settings.ReadInt(SettingId::Autoload), c.checked ? 1 : 0);
        EXPECT_EQ(ReadFileBytes(entry).find("Exec=" + t.env.location.ExecutablePath()) != std::string::npos, c.entry);
    }
}

TEST_F(OptionsPageTest, FolderCheckFollowsTypingAndBrowsing)
{
    const QString missing = QStringLiteral("A Folder by this name cannot be found");
    QDir(env.folder.filePath("program")).mkdir(QStringLiteral("Temp"));
    Start();
    EXPECT_EQ(Folder().text().toStdString(), env.settings.DefaultTemplateFolder());
    EXPECT_EQ(Status(), missing) << "the default folder does not exist yet";
    Folder().clear();
    EXPECT_EQ(Status(), "") << "an empty folder is the program's folder";
    QTest::keyClicks(&Folder(), QStringLiteral("Tem"));
    EXPECT_EQ(Status(), missing);
    EXPECT_EQ(Stored(), "Tem") << "stored as typed, found or not";
    QTest::keyClicks(&Folder(), QStringLiteral("p\\"));
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(Stored(), "Temp\\");
    std::string start;
    page->SetFolderBrowser([&](QWidget*, std::string& folder) {
        start = std::exchange(folder, env.folder.path().toStdString());
        return true;
    });
    ControlOf<QPushButton>(*page, 1088).click();
    EXPECT_EQ(start, env.folder.filePath("program/Temp/").toStdString()) << "browsing starts at the normalised folder";
    EXPECT_EQ(Stored(), env.folder.path().toStdString());
}

TEST_F(OptionsPageTest, FolderCheckFollowsTheFolderWhenShownAgainOrEdited)
{
    const QString missing = QStringLiteral("A Folder by this name cannot be found");
    const std::string folder = env.settings.DefaultTemplateFolder();
    Start();
    page->show();
    EXPECT_EQ(Status(), missing);
    page->hide();
    std::filesystem::create_directories(folder);
    page->show();
    EXPECT_EQ(Status(), "") << "made while the page was away";
    page->hide();
    std::filesystem::remove(folder);
    page->show();
    EXPECT_EQ(Status(), missing) << "removed while the page was away";
    std::filesystem::create_directories(folder);
    QEvent activated(QEvent::WindowActivate);
    QApplication::sendEvent(page->window(), &activated);
    EXPECT_EQ(Status(), "") << "made while the window was in the background";
    std::filesystem::remove(folder);
    QTest::keyClick(&Folder(), Qt::Key_Backspace);
    std::filesystem::create_directories(folder);
    QTest::keyClicks(&Folder(), QString::fromStdString(folder.substr(folder.size() - 1)));
    EXPECT_EQ(Status(), "") << "made, then the field edited";
}

TEST_F(OptionsPageTest, WeekdayBoxesRefuseToLeaveNoWorkingDay)
{
    Start();
    const auto box = [this](int day) -> QCheckBox& { return ControlOf<QCheckBox>(*page, kFirstWeekdayBoxId + day); };
    EXPECT_EQ(box(0).text(), "Mon");
    EXPECT_FALSE(box(5).isChecked());
    for (int day = 0; day < 4; ++day) {
        box(day).click();
    }
    EXPECT_EQ(env.settings.ReadInt(SettingId::WorkingWeekdays), 0x10);
    EXPECT_EQ(env.workingDays.Calendar().WorkingWeekdays(), 0x10u) << "the pages count with the new week at once";
    box(4).click();
    EXPECT_TRUE(box(4).isChecked()) << "the last working day stays";
    EXPECT_EQ(env.settings.ReadInt(SettingId::WorkingWeekdays), 0x10);
    const QList<QMessageBox*> boxes = page->findChildren<QMessageBox*>();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0]->text().toStdString(), DefaultMessage(kNoWorkingDayMessage));
}

TEST_F(OptionsPageTest, HolidayFilesAreListedWithWhyTheyCannotBeReadInTheLanguageAndKeepTheirBytes)
{
    WorkingDaysSource source{
        env.settings,
        [](const std::vector<std::string>& paths) {
            std::vector<HolidayCalendarFile> files;
            for (const std::string& path : paths) {
                files.push_back({path, path.ends_with("good.ics") ? -1 : kHolidayFileNotCalendarMessage, {}});
            }
            return files;
        },
        kMondayToFriday};
    workingDays = &source;
    Start();
    const std::vector<std::string> chosen = {"/cal/good.ics", "/cal/bad\n\xff=\"\\.ics"};
    page->SetCalendarChooser([&](QWidget*) { return chosen; });
    ControlOf<QPushButton>(*page, 1089).click();
    ControlOf<QPushButton>(*page, 1089).click();
    QListWidget& list = ControlOf<QListWidget>(*page, 1041);
    ASSERT_TRUE(QTest::qWaitFor([&] { return source.Files().size() == 2; }));
    ASSERT_EQ(list.count(), 2) << "a file chosen again is listed once";
    EXPECT_EQ(list.item(0)->text(), "/cal/good.ics");
    EXPECT_TRUE(list.item(1)->text().endsWith(QStringLiteral(".ics \u2014 is not an iCalendar file")))
        << list.item(1)->text().toStdString();
    std::filesystem::copy_file(CHRONEL_TEST_DATA_DIR "/../../res/lang/russian.lng",
                               UiEnvironment::Path(env.folder, "program/russian.lng"));
    language.Load("russian");
    page->LoadSettings();
    EXPECT_TRUE(list.item(1)->text().endsWith(QStringLiteral(".ics \u2014 это не файл iCalendar")));

    RegFileSettingsBackend reopened{UiEnvironment::Path(env.folder, "config"), "Orvane", "Chronel"};
    const SettingsStore stored{reopened, env.autostart, env.clock, env.location};
    EXPECT_EQ(stored.ReadList(SettingId::HolidayCalendars), chosen);

    list.setCurrentRow(0);
    ControlOf<QPushButton>(*page, 1090).click();
    EXPECT_EQ(env.settings.ReadList(SettingId::HolidayCalendars), std::vector<std::string>{chosen[1]});
    ASSERT_EQ(list.count(), 1);
}

}   // namespace
