#include "app/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>

#include "fakes/temp_folder.h"
#include "settings/ini_file.h"
#include "settings/language_table.h"
#include "pages/page_widget.h"
#include "fakes/ui_environment.h"
#include "templates/template_name_dialog.h"
#include "templates/template_editor.h"
#include "widgets/pickers.h"

namespace {

const QString kRussianFile = QStringLiteral(CHRONEL_TEST_DATA_DIR "/../../res/lang/russian.lng");
const DateTime kNow = DateTime::FromParts(2004, 3, 1, 13, 5, 9);

std::string FileText(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll().toStdString();
}

struct MainWindowTest : ::testing::Test {
    UiEnvironment env;

    AppServices Services()
    {
        return AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter,
                           env.timeChanges};
    }
    QString ProgramFolderFile(const char* name) const
    {
        return QFileInfo(QString::fromStdString(env.location.ExecutablePath())).dir().filePath(QString::fromLatin1(name));
    }
    static QListWidget& PageList(const MainWindow& window) { return *window.findChild<QListWidget*>("pageList"); }
    static QPushButton& Button(const MainWindow& window, const char* name)
    {
        return *window.findChild<QPushButton*>(name);
    }
    static void ExpectOutputs(const MainWindow& window, bool offered)
    {
        EXPECT_EQ(Button(window, "saveOutput").isEnabled(), offered);
        EXPECT_EQ(Button(window, "copyOutput").isEnabled(), offered);
    }
};

TEST_F(MainWindowTest, StartsOnTheStoredPageAndOnlyValuePagesOfferOutput)
{
    {
        MainWindow window(Services());   // first start: Difference at now, no tray icon
        EXPECT_EQ(PageList(window).count(), 6);
        EXPECT_EQ(window.windowTitle(), "Chronel 2.1");
        const PageWidget& difference = *window.Page(kDifferencePage);
        EXPECT_EQ(ReadPickerDateTime(FindControlAs<QDateEdit>(difference, 1001), FindControlAs<QTimeEdit>(difference, 1120)),
                  kNow);
        EXPECT_EQ(window.TrayIcon(), nullptr);
        EXPECT_EQ(window.ActivePageIndex(), kDifferencePage);
        EXPECT_EQ(PageList(window).currentRow(), kDifferencePage);
        for (int row : {5, 4, 3, 2, 1, 0}) {
            PageList(window).setCurrentRow(row);
            EXPECT_EQ(window.ActivePageIndex(), row);
            ExpectOutputs(window, row < kRollbackPage);
        }
    }
    const struct {
        int stored;
        int active;
    } cases[] = {{1, kCalculationPage}, {3, kRollbackPage}, {5, kAboutPage}, {99, kDifferencePage},
                 {-5, kDifferencePage}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        env.settings.WriteInt(SettingId::ActivePageNo, c.stored);
        MainWindow window(Services());
        EXPECT_EQ(window.ActivePageIndex(), c.active);
        EXPECT_EQ(PageList(window).currentRow(), c.active);
        ExpectOutputs(window, c.active < kRollbackPage);
    }
}

TEST_F(MainWindowTest, ExitStoresThePageAndVisibilityForTheNextStart)
{
    {
        MainWindow window(Services());
        PageList(window).setCurrentRow(kCalculationPage);
        FindControlAs<QLineEdit>(*window.Page(kCalculationPage), 1058)->setText("5");
        QSignalSpy exits(&window, &MainWindow::exitRequested);
        Button(window, "exitButton").click();
        EXPECT_EQ(exits.count(), 1);
    }
    EXPECT_EQ(env.settings.ReadInt(SettingId::ActivePageNo), kCalculationPage);
    EXPECT_EQ(env.settings.ReadInt(SettingId::Visibled), 0) << "the window was never shown";
    EXPECT_EQ(env.settings.ReadInt(SettingId::YearsPlus), 5);
    MainWindow again(Services());
    EXPECT_EQ(again.ActivePageIndex(), kCalculationPage);
    EXPECT_EQ(FindControlAs<QLineEdit>(*again.Page(kCalculationPage), 1058)->text(), "5");
}

TEST_F(MainWindowTest, TimeInfoButtonsActivateTheTimeInfoPage)
{
    MainWindow window(Services());
    PageList(window).setCurrentRow(kCalculationPage);
    FindControlAs<QPushButton>(*window.Page(kCalculationPage), 1054)->click();
    EXPECT_EQ(window.ActivePageIndex(), kTimeInfoPage);
    EXPECT_EQ(PageList(window).currentRow(), kTimeInfoPage);
}

TEST_F(MainWindowTest, TrayMenuPageCommandsShowThatPage)
{
    env.settings.WriteInt(SettingId::HideToTray, 1);
    MainWindow window(Services());
    ASSERT_NE(window.TrayIcon(), nullptr);
    ASSERT_NE(window.TrayMenu(), nullptr);
    EXPECT_EQ(window.TrayMenu()->defaultAction()->text(), "Open...");
    PageList(window).setCurrentRow(kRollbackPage);
    for (QAction* action : window.TrayMenu()->actions()) {
        if (ControlId(*action) == 32774) {
            action->trigger();
        }
    }
    EXPECT_EQ(window.ActivePageIndex(), kTimeInfoPage);
    EXPECT_TRUE(window.isVisible());
    ExpectOutputs(window, true);
}

// Choosing Russian on the Options page is checked there; here the window's own texts follow, and back.
TEST_F(MainWindowTest, LanguageSwitchesTheWindowsOwnTextsAndBack)
{
    ASSERT_TRUE(QFile::copy(kRussianFile, ProgramFolderFile("russian.lng")));
    MainWindow window(Services());
    const auto& now = *FindControlAs<QPushButton>(*window.Page(kDifferencePage), 1003);
    env.settings.WriteString(SettingId::Lang, "russian");
    window.ApplyLanguage(false);
    EXPECT_NE(PageList(window).item(kOptionsPage)->text(), "Options");
    EXPECT_NE(Button(window, "exitButton").text(), "E&xit");
    EXPECT_NE(window.TrayMenu()->actions().first()->text(), "Open...");
    EXPECT_EQ(FindControlAs<QLabel>(*window.Page(kAboutPage), 1501)->text(), "Chronel 2.1")
        << "the product line is never translated";
    env.settings.WriteString(SettingId::Lang, "english");
    window.ApplyLanguage(false);
    EXPECT_EQ(now.text(), "&Now");
    EXPECT_EQ(PageList(window).item(kOptionsPage)->text(), "Options");
    EXPECT_EQ(Button(window, "exitButton").text(), "E&xit");
}

TEST_F(MainWindowTest, GarbageInEverySettingStartsWithTheDefaults)
{
    std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Chronel]\n";
    for (const char* name :
         {"ActivePageNo", "Visibled", "CurFrom", "CurTo", "YearsPlus", "IsMonthsPlus", "IsWeeksPlus", "HideToTray"}) {
        text += std::string("\"") + name + "\"=\"garbage\"\n";
    }
    for (const char* name : {"DateFrom", "TimeFrom", "DateTo", "TimeTo", "DateStart", "TimeStart"}) {
        text += std::string("\"") + name + "\"=dword:0000002a\n";
    }
    std::filesystem::create_directories(std::filesystem::path(env.backend.FilePath()).parent_path());
    WriteFileBytes(env.backend.FilePath(), text + "\"Lang\"=hex:ff,fe,00\n\x01\x02 junk line\n");
    MainWindow window(Services());
    EXPECT_EQ(window.ActivePageIndex(), kDifferencePage);
    const PageWidget& difference = *window.Page(kDifferencePage);
    EXPECT_FALSE(FindControlAs<QCheckBox>(difference, 1009)->isChecked());
    EXPECT_EQ(ReadPickerDateTime(FindControlAs<QDateEdit>(difference, 1002), FindControlAs<QTimeEdit>(difference, 1122)),
              kNow);
    EXPECT_EQ(FindControlAs<QPushButton>(difference, 1003)->text(), "&Now");
}

// Every window, menu and toolbar the program shows writes its texts into english.lng; the Russian file must
// translate each of them, keep their placeholders and mnemonics, and hold no key the program never writes.
TEST_F(MainWindowTest, RussianCoversEveryTextOfEveryWindow)
{
    std::filesystem::create_directories(env.folder.filePath("templates").toStdString());
    env.settings.WriteString(SettingId::TemplateFolder, env.folder.filePath("templates").toStdString());
    MainWindow window(Services());
    window.Output().ShowOutputMenu(OutputMode::Copy, 0, nullptr);
    TemplateEditor editor(TemplateEditor::Services{window.PageValues(), env.clock, env.formatter,
                                                               env.settings, env.location, window.GetLanguageTable()});
    ASSERT_TRUE(editor.Open());
    TemplateNameDialog name(window.GetLanguageTable(), [](const std::string& n) { return n; });

    const std::vector<IniEntry> english = ListIniEntries(FileText(ProgramFolderFile("english.lng")));
    const std::string russian = FileText(kRussianFile);
    EXPECT_EQ(QString::fromStdString(russian).toStdString(), russian) << "not UTF-8";
    EXPECT_FALSE(russian.starts_with("\xEF\xBB\xBF"));
    EXPECT_GT(english.size(), 300u);
    EXPECT_EQ(ListIniEntries(russian).size(), english.size()) << "the Russian file holds keys never written";
    const auto count = [](const std::string& text, const char* part) {
        return QString::fromStdString(text).count(QLatin1String(part));
    };
    for (const IniEntry& entry : english) {
        SCOPED_TRACE(entry.section + " / " + entry.key + " = " + entry.value);
        const std::string ru = FindIniValue(russian, entry.section, entry.key).value_or("");
        ASSERT_FALSE(ru.empty());
        // Only the translator's address and company name may stay as they are.
        if (entry.section != "Translator" && QString::fromStdString(entry.value).contains(QRegularExpression("[A-Za-z]"))) {
            EXPECT_NE(ru, entry.value);
        }
        EXPECT_EQ(count(ru, "%s"), count(entry.value, "%s"));
        EXPECT_EQ(count(ru, "|"), count(entry.value, "|"));
        EXPECT_EQ(count(ru, "&"), std::min(count(entry.value, "&"), qsizetype{1})) << "keyboard mnemonic";
        EXPECT_LE(ru.size(), LanguageTable::kMaxValueBytes);
    }
}

}  // namespace
