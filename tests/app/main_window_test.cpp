#include "app/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

#include <QSignalSpy>
#include <QTest>
#include <QtWidgets>

#include "calc/calculation.h"
#include "calc/rollback.h"
#include "cli/computed_value_source.h"
#include "fakes/temp_folder.h"
#include "fakes/ui_environment.h"
#include "pages/page_widget.h"
#include "pages/templates/template_editor.h"
#include "pages/templates/template_name_dialog.h"
#include "settings/ini_file.h"
#include "settings/language_table.h"
#include "widgets/pickers.h"

namespace {

const QString kRussianFile = QStringLiteral(CHRONEL_TEST_DATA_DIR "/../../res/lang/russian.lng");
const DateTime kNow = DateTime::FromParts(2004, 3, 1, 13, 5, 9);

struct MainWindowTest : ::testing::Test {
    UiEnvironment env;
    ScopedEnv config{"XDG_CONFIG_HOME", UiEnvironment::Path(env.folder, "xdg")};

    AppServices Services()
    {
        return {env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter, env.timeChanges};
    }
    QString ProgramFolderFile(const QString& name) const { return env.folder.filePath("program/" + name); }
    static QListWidget& List(const MainWindow& w) { return *w.findChild<QListWidget*>("pageList"); }
    static QPushButton& Button(const MainWindow& w, const char* name) { return *w.findChild<QPushButton*>(name); }
    static QString Text(const MainWindow& w, int page, int id)
    {
        return FindControl(*w.Page(page), id)->property("text").toString();
    }
    static void ExpectOutputs(const MainWindow& w, bool offered)
    {
        EXPECT_EQ(Button(w, "saveOutput").isEnabled(), offered);
        EXPECT_EQ(Button(w, "copyOutput").isEnabled(), offered);
    }
};

TEST_F(MainWindowTest, StartsOnTheStoredPageAndOnlyValuePagesOfferOutput)
{
    {
        // Garbage in every setting starts as a first start: Difference at now, no tray icon, English.
        const std::string names[] = {"ActivePageNo", "Visibled",    "CurFrom",    "CurTo",    "YearsPlus",
                                     "IsMonthsPlus", "IsWeeksPlus", "HideToTray", "DateFrom", "TimeFrom",
                                     "DateTo",       "TimeTo",      "DateStart",  "TimeStart"};
        std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Orvane\\Chronel]\n";
        for (std::size_t i = 0; i < std::size(names); ++i) {
            text += "\"" + names[i] + (i < 8 ? "\"=\"garbage\"\n" : "\"=dword:0000002a\n");
        }
        std::filesystem::create_directories(std::filesystem::path(env.backend.FilePath()).parent_path());
        WriteFileBytes(env.backend.FilePath(), text + "\"Lang\"=hex:ff,fe,00\n\x01\x02 junk line\n");
        MainWindow window(Services());
        const PageWidget& difference = *window.Page(kDifferencePage);
        for (const auto& [date, time] : {std::pair{kDifferenceStartDateId, kDifferenceStartTimeId},
                                         {kDifferenceFinalDateId, kDifferenceFinalTimeId}}) {
            EXPECT_EQ(ReadPickerDateTime(FindControlAs<QDateEdit>(difference, date),
                                         FindControlAs<QTimeEdit>(difference, time)),
                      kNow);
        }
        EXPECT_FALSE(ControlOf<QCheckBox>(difference, 1009).isChecked());
        EXPECT_EQ(Text(window, kDifferencePage, 1003), "&Now");
        EXPECT_EQ(window.TrayIcon(), nullptr);
    }
    const std::pair<int, int> cases[] = {
        {1, kCalculationPage}, {3, kRollbackPage}, {5, kAboutPage}, {99, kDifferencePage}, {-5, kDifferencePage}};
    for (const auto& [stored, active] : cases) {
        SCOPED_TRACE(stored);
        env.settings.WriteInt(SettingId::ActivePageNo, stored);
        MainWindow window(Services());
        EXPECT_EQ(window.ActivePageIndex(), active);
        EXPECT_EQ(List(window).currentRow(), active);
        ExpectOutputs(window, active < kRollbackPage);
    }
}

// Choosing a language on the Options page translates every window at once; it, the page and the values
// are kept for the next start.
TEST_F(MainWindowTest, LanguagePageAndValuesSurviveExitAndTheLanguageSwitchesBack)
{
    ASSERT_TRUE(QFile::copy(kRussianFile, ProgramFolderFile("russian.lng")));
    WriteFileBytes(ProgramFolderFile("Deutsch.lng").toStdString(), "");
    env.settings.WriteString(SettingId::Lang, "klingon");
    auto window = std::make_unique<MainWindow>(Services());
    QComboBox& list = ControlOf<QComboBox>(*window->Page(kOptionsPage), 1043);
    EXPECT_EQ(list.currentText(), "english") << "the stored language's file is gone";
    EXPECT_EQ(list.itemText(0), "Deutsch") << "listed without regard to case";
    list.setCurrentIndex(2);
    EXPECT_EQ(window->focusWidget(), &list);
    // Shown texts and the translator's entries are taken anew on every page, and the window's own follow.
    EXPECT_EQ(Text(*window, kDifferencePage, 1003), "&Сейчас");
    EXPECT_EQ(Text(*window, kRollbackPage, kRollbackState), "Восстановлено");
    EXPECT_EQ(Text(*window, kOptionsPage, 1038), "06.12.2026");
    EXPECT_EQ(Text(*window, kAboutPage, 1501), "Chronel " CHRONEL_VERSION) << "the product line is never translated";
    EXPECT_NE(List(*window).item(kOptionsPage)->text(), "Options");
    EXPECT_NE(Button(*window, "exitButton").text(), "E&xit");
    EXPECT_NE(window->TrayMenu()->actions().first()->text(), "Open...");
    List(*window).setCurrentRow(kCalculationPage);
    ControlOf<QLineEdit>(*window->Page(kCalculationPage), kCountEditIds[kYears]).setText("5");
    QSignalSpy exits(window.get(), &MainWindow::exitRequested);
    Button(*window, "exitButton").click();
    EXPECT_EQ(exits.count(), 1);
    window.reset();
    EXPECT_EQ(env.settings.ReadInt(SettingId::Visibled), 0) << "the window was never shown";

    window = std::make_unique<MainWindow>(Services());
    EXPECT_EQ(window->ActivePageIndex(), kCalculationPage);
    EXPECT_EQ(Text(*window, kCalculationPage, kCountEditIds[kYears]), "5");
    EXPECT_EQ(Text(*window, kDifferencePage, 1003), "&Сейчас");
    QComboBox& again = ControlOf<QComboBox>(*window->Page(kOptionsPage), 1043);
    EXPECT_EQ(again.currentText(), "russian");
    again.setCurrentIndex(1);
    EXPECT_EQ(Text(*window, kDifferencePage, 1003), "&Now");
    EXPECT_EQ(List(*window).item(kOptionsPage)->text(), "Options");
    EXPECT_EQ(Button(*window, "exitButton").text(), "E&xit");
}

TEST_F(MainWindowTest, PageCommandsShowTheirPageAndTheTrayBoxNeverStrandsTheWindow)
{
    env.settings.WriteInt(SettingId::HideToTray, 1);
    MainWindow window(Services());
    ASSERT_NE(window.TrayIcon(), nullptr);
    List(window).setCurrentRow(kRollbackPage);
    ExpectOutputs(window, false);
    for (QAction* action : window.TrayMenu()->actions()) {
        if (ControlId(*action) == kPages[kTimeInfoPage].trayCommand) {
            action->trigger();
        }
    }
    EXPECT_EQ(window.ActivePageIndex(), kTimeInfoPage);
    EXPECT_TRUE(window.isVisible());
    ExpectOutputs(window, true);
    List(window).setCurrentRow(kCalculationPage);
    ControlOf<QPushButton>(*window.Page(kCalculationPage), 1054).click();
    EXPECT_EQ(List(window).currentRow(), kTimeInfoPage);

    List(window).setCurrentRow(kOptionsPage);
    QCheckBox& tray = ControlOf<QCheckBox>(*window.Page(kOptionsPage), 1049);
    tray.click();
    EXPECT_EQ(window.TrayIcon(), nullptr);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(env.settings.ReadInt(SettingId::HideToTray), 0);
    tray.click();
    EXPECT_NE(window.TrayIcon(), nullptr);
    EXPECT_EQ(window.ActivePageIndex(), kOptionsPage) << "the page stays open";
    // Where no tray can show the icon (as here), minimising must not hide the window for good.
    window.showMinimized();
    QTest::qWait(20);
    EXPECT_TRUE(window.isVisible() || QSystemTrayIcon::isSystemTrayAvailable());
}

TEST_F(MainWindowTest, TitleAboutAndTheCommandLineShowTheBuildsVersion)
{
    MainWindow window(Services());
    EXPECT_EQ(window.windowTitle(), "Chronel " CHRONEL_VERSION);
    EXPECT_EQ(Text(window, kAboutPage, 1501), "Chronel " CHRONEL_VERSION);
    QProcess cli;
    cli.start(CHRONEL_CLI_PROGRAM, {"--version"});
    ASSERT_TRUE(cli.waitForFinished(10'000));
    EXPECT_EQ(cli.readAllStandardOutput().toStdString(), "chronel-cli " CHRONEL_VERSION "\n");
}

// Every window, menu and toolbar the program shows writes its texts into english.lng, all of them from the
// first start on; the Russian file must translate each of them, keep their placeholders and mnemonics, and
// hold no key the program never writes.
TEST_F(MainWindowTest, RussianCoversEveryTextOfEveryWindow)
{
    std::filesystem::create_directories(env.folder.filePath("templates").toStdString());
    env.settings.WriteString(SettingId::TemplateFolder, env.folder.filePath("templates").toStdString());
    MainWindow window(Services());
    const auto keys = [this] {
        std::set<std::pair<std::string, std::string>> found;
        for (const IniEntry& entry : ListIniEntries(ReadFileBytes(ProgramFolderFile("english.lng").toStdString()))) {
            found.emplace(entry.section, entry.key);
        }
        return found;
    };
    const auto firstStart = keys();
    window.Output().ShowOutputMenu(OutputMode::Save, 0, nullptr);
    window.Output().ShowOutputMenu(OutputMode::Copy, 0, nullptr);
    TemplateEditor editor(TemplateEditor::Services{window.PageValues(), env.clock, env.formatter, env.settings,
                                                   env.location, window.GetLanguageTable()});
    ASSERT_TRUE(editor.Open());
    TemplateNameDialog name(window.GetLanguageTable(), [](const std::string& n) { return n; });
    EXPECT_EQ(firstStart, keys()) << "opening a window wrote keys a first start did not";

    const std::vector<IniEntry> english = ListIniEntries(ReadFileBytes(ProgramFolderFile("english.lng").toStdString()));
    const std::string russian = ReadFileBytes(kRussianFile.toStdString());
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
        if (entry.section != "Translator" &&
            QString::fromStdString(entry.value).contains(QRegularExpression("[A-Za-z]"))) {
            EXPECT_NE(ru, entry.value);
        }
        EXPECT_EQ(count(ru, "%s"), count(entry.value, "%s"));
        EXPECT_EQ(count(ru, "|"), count(entry.value, "|"));
        EXPECT_EQ(count(ru, "&"), std::min(count(entry.value, "&"), qsizetype{1})) << "keyboard mnemonic";
        EXPECT_LE(ru.size(), LanguageTable::kMaxValueBytes);
    }
}

}   // namespace
