#include "shell/main_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>

#include "shell/ini_file.h"
#include "shell/page_frame_widget.h"
#include "shell/ui_environment.h"
#include "templates/template_name_dialog.h"
#include "templates/templates_dialog.h"
#include "widgets/control_id_widget.h"
#include "widgets/picker_widget.h"

namespace {

struct MainDialogTest : ::testing::Test {
    UiEnvironment env;

    AppServices Services()
    {
        return AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter,
                           env.timeChanges};
    }
    static QListWidget& PageList(const CDialogEvalMain& window) { return *window.findChild<QListWidget*>("pageList"); }
    static QPushButton& Button(const CDialogEvalMain& window, const char* name)
    {
        return *window.findChild<QPushButton*>(name);
    }
};

TEST_F(MainDialogTest, FirstStartShowsTheDifferencePageAtNow)
{
    CDialogEvalMain window(Services());
    EXPECT_EQ(window.ActivePageIndex(), kDifferencePage);
    EXPECT_EQ(PageList(window).currentRow(), kDifferencePage);
    EXPECT_EQ(PageList(window).count(), 6);
    EXPECT_EQ(window.windowTitle(), "Chronel 2.1");
    const PageWidget& difference = *window.Page(kDifferencePage);
    EXPECT_EQ(ReadPickerDateTime(FindControlAs<QDateEdit>(difference, 1001), FindControlAs<QTimeEdit>(difference, 1120)),
              DateTime::FromParts(2004, 3, 1, 13, 5, 9));
    EXPECT_TRUE(Button(window, "saveOutput").isEnabled());
    EXPECT_EQ(window.TrayIcon(), nullptr) << "no tray icon unless HideToTray is on";
}

TEST_F(MainDialogTest, StoredPageIsActivatedWithItsRow)
{
    const struct {
        int stored;
        int active;
        bool outputs;
    } cases[] = {{1, kCalculationPage, true}, {3, kRollbackPage, false}, {5, kAboutPage, false},
                 {99, kDifferencePage, true}, {-5, kDifferencePage, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        env.settings.WriteInt(SettingId::ActivePageNo, c.stored);
        CDialogEvalMain window(Services());
        EXPECT_EQ(window.ActivePageIndex(), c.active);
        EXPECT_EQ(PageList(window).currentRow(), c.active);
        EXPECT_EQ(Button(window, "saveOutput").isEnabled(), c.outputs);
        EXPECT_EQ(Button(window, "copyOutput").isEnabled(), c.outputs);
    }
}

TEST_F(MainDialogTest, OnlyTheValuePagesOfferOutput)
{
    CDialogEvalMain window(Services());
    const bool expected[6] = {true, true, true, false, false, false};
    for (int row = 0; row < 6; ++row) {
        PageList(window).setCurrentRow(row);
        EXPECT_EQ(window.ActivePageIndex(), row);
        EXPECT_EQ(Button(window, "saveOutput").isEnabled(), expected[row]) << row;
    }
}

TEST_F(MainDialogTest, ExitStoresThePageAndVisibilityForTheNextStart)
{
    {
        CDialogEvalMain window(Services());
        PageList(window).setCurrentRow(kCalculationPage);
        auto* years = FindControlAs<QLineEdit>(*window.Page(kCalculationPage), 1058);
        years->setText("5");
        QSignalSpy exits(&window, &CDialogEvalMain::exitRequested);
        Button(window, "exitButton").click();
        EXPECT_EQ(exits.count(), 1);
    }
    EXPECT_EQ(env.settings.ReadInt(SettingId::ActivePageNo), kCalculationPage);
    EXPECT_EQ(env.settings.ReadInt(SettingId::Visibled), 0) << "the window was never shown";
    EXPECT_EQ(env.settings.ReadInt(SettingId::YearsPlus), 5);

    CDialogEvalMain again(Services());
    EXPECT_EQ(again.ActivePageIndex(), kCalculationPage);
    EXPECT_EQ(FindControlAs<QLineEdit>(*again.Page(kCalculationPage), 1058)->text(), "5");
}

TEST_F(MainDialogTest, TimeInfoButtonsActivateTheTimeInfoPage)
{
    CDialogEvalMain window(Services());
    PageList(window).setCurrentRow(kCalculationPage);
    FindControlAs<QPushButton>(*window.Page(kCalculationPage), 1054)->click();
    EXPECT_EQ(window.ActivePageIndex(), kTimeInfoPage);
    EXPECT_EQ(PageList(window).currentRow(), kTimeInfoPage);
}

TEST_F(MainDialogTest, TrayIconFollowsTheSetting)
{
    env.settings.WriteInt(SettingId::HideToTray, 1);
    CDialogEvalMain window(Services());
    ASSERT_NE(window.TrayIcon(), nullptr);
    ASSERT_NE(window.TrayMenu(), nullptr);
    EXPECT_EQ(window.TrayMenu()->defaultAction()->text(), "Open...");
    env.settings.WriteInt(SettingId::HideToTray, 0);
    window.UpdateTrayIcon();
    EXPECT_EQ(window.TrayIcon(), nullptr);
}

TEST_F(MainDialogTest, TrayMenuPageCommandsShowThatPage)
{
    env.settings.WriteInt(SettingId::HideToTray, 1);
    CDialogEvalMain window(Services());
    PageList(window).setCurrentRow(kRollbackPage);
    ASSERT_FALSE(Button(window, "saveOutput").isEnabled());
    for (QAction* action : window.TrayMenu()->actions()) {
        if (ControlId(*action) == 32774) {
            action->trigger();
        }
    }
    EXPECT_EQ(window.ActivePageIndex(), kTimeInfoPage);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(Button(window, "saveOutput").isEnabled()) << "the outputs follow the page shown";
    EXPECT_TRUE(Button(window, "copyOutput").isEnabled());
}

}  // namespace

namespace {

const QString kRussianFile = QStringLiteral(CHRONEL_TEST_DATA_DIR "/../../res/lang/russian.lng");

QString ProgramFolderFile(const UiEnvironment& env, const char* name)
{
    return QFileInfo(QString::fromStdString(env.location.ExecutablePath())).dir().filePath(QString::fromLatin1(name));
}

TEST_F(MainDialogTest, LanguageSwitchesEveryPageAndBack)
{
    ASSERT_TRUE(QFile::copy(kRussianFile, ProgramFolderFile(env, "russian.lng")));
    CDialogEvalMain window(Services());
    const PageWidget& difference = *window.Page(kDifferencePage);
    const PageWidget& calculation = *window.Page(kCalculationPage);
    EXPECT_EQ(FindControlAs<QPushButton>(difference, 1003)->text(), "&Now");

    env.settings.WriteString(SettingId::Lang, "russian");
    window.ApplyLanguage(false);
    EXPECT_EQ(FindControlAs<QPushButton>(difference, 1003)->text(), QString::fromUtf8("&Сейчас"));
    EXPECT_NE(FindControlAs<QLabel>(calculation, 1147)->text(), "Start date/time for calculation:");
    EXPECT_NE(PageList(window).item(kOptionsPage)->text(), "Options");
    EXPECT_NE(Button(window, "exitButton").text(), "E&xit");
    EXPECT_EQ(FindControlAs<QLabel>(*window.Page(kAboutPage), 1501)->text(), "Chronel 2.1")
        << "the product line is never translated";
    EXPECT_NE(window.TrayMenu()->actions().first()->text(), "Open...");

    env.settings.WriteString(SettingId::Lang, "english");
    window.ApplyLanguage(false);
    EXPECT_EQ(FindControlAs<QPushButton>(difference, 1003)->text(), "&Now");
    EXPECT_EQ(FindControlAs<QLabel>(calculation, 1147)->text(), "Start date/time for calculation:");
    EXPECT_EQ(PageList(window).item(kOptionsPage)->text(), "Options");
}

TEST_F(MainDialogTest, EnglishFileHoldsEveryTranslatableControlText)
{
    CDialogEvalMain window(Services());
    QFile english(ProgramFolderFile(env, "english.lng"));
    ASSERT_TRUE(english.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(english.readAll());
    for (const char* entry : {"[DialogID_144]", "ID_1003=&Save >>", "[DialogID_144 - ListBoxID_1047]", "ID_3=Rollback",
                              "[DialogID_144 - PageNo_0]", "ID_0=Difference", "ID_1069=Input data for time period calculation:",
                              "ID_1521=Seconds:", "[DialogID_144 - PageNo_1]", "ID_1042=Mont&hs:", "ID_1056=Time Inf&o",
                              "[DialogID_144 - PageNo_5]", "ID_1203=&Acknowledgments", "[MenuID_135]", "ID_32887=Open...",
                              "ID_32777=Exit"}) {
        EXPECT_TRUE(text.contains(QString::fromLatin1(entry))) << entry;
    }
    EXPECT_FALSE(text.contains("Chronel 2.1")) << "excluded texts are not offered to translators";
    EXPECT_FALSE(text.contains("ID_1113=")) << "a button reading only \"0\" is not translatable";
}

}  // namespace

namespace {

TEST_F(MainDialogTest, GarbageInEverySettingStartsWithTheDefaults)
{
    const std::string path = env.backend.FilePath();
    {
        // Every value of the wrong type or unreadable.
        std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Chronel]\n";
        for (const char* name : {"ActivePageNo", "Visibled", "CurFrom", "CurTo", "YearsPlus", "IsMonthsPlus",
                                 "IsWeeksPlus", "HideToTray"}) {
            text += std::string("\"") + name + "\"=\"garbage\"\n";
        }
        for (const char* name : {"DateFrom", "TimeFrom", "DateTo", "TimeTo", "DateStart", "TimeStart"}) {
            text += std::string("\"") + name + "\"=dword:0000002a\n";
        }
        text += "\"Lang\"=hex:ff,fe,00\n\x01\x02 junk line\n";
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
    }
    CDialogEvalMain window(Services());
    EXPECT_EQ(window.ActivePageIndex(), kDifferencePage);
    const PageWidget& difference = *window.Page(kDifferencePage);
    EXPECT_FALSE(FindControlAs<QCheckBox>(difference, 1009)->isChecked());
    EXPECT_EQ(ReadPickerDateTime(FindControlAs<QDateEdit>(difference, 1002), FindControlAs<QTimeEdit>(difference, 1122)),
              DateTime::FromParts(2004, 3, 1, 13, 5, 9));
    EXPECT_EQ(FindControlAs<QPushButton>(difference, 1003)->text(), "&Now");
}

}  // namespace


namespace {

std::string FileText(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll().toStdString();
}

// Every text the program offers translators in english.lng, from every window, menu and toolbar it shows,
// has its Russian counterpart.
TEST_F(MainDialogTest, RussianCoversEveryTextOfEveryWindow)
{
    std::filesystem::create_directories(env.folder.filePath("templates").toStdString());
    env.settings.WriteString(SettingId::TemplateFolder, env.folder.filePath("templates").toStdString());
    CDialogEvalMain window(Services());
    window.Output().ShowOutputMenu(OutputMode::Copy, 0, nullptr);
    CDialogEvalTemplates editor(CDialogEvalTemplates::Services{window.PageValues(), env.clock, env.formatter,
                                                               env.settings, env.location, window.GetLanguageTable()});
    ASSERT_TRUE(editor.Open());
    CDialogEvalTemplateName name(window.GetLanguageTable(), [](const std::string& n) { return n; });

    const std::string english = FileText(ProgramFolderFile(env, "english.lng"));
    const std::string russian = FileText(kRussianFile);
    int checked = 0;
    for (const IniEntry& entry : ListIniEntries(english)) {
        if (entry.section == "Translator") {
            continue;
        }
        ++checked;
        const auto translated = FindIniValue(russian, entry.section, entry.key);
        EXPECT_TRUE(translated && !translated->empty()) << entry.section << " / " << entry.key << " = " << entry.value;
    }
    EXPECT_GT(checked, 300);
}

}  // namespace
