#include "shell/options_page.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include <memory>

#include "fakes/temp_folder.h"
#include "shell/main_dialog.h"
#include "shell/ui_environment.h"
#include "widgets/control_id_widget.h"

namespace {

const QString kRussianFile = QStringLiteral(CHRONEL_TEST_DATA_DIR "/../../res/lang/russian.lng");
const QString kMissingFolder = QStringLiteral("A Folder by this name cannot be found");

QString ProgramFolder(const UiEnvironment& env)
{
    return QFileInfo(QString::fromStdString(env.location.ExecutablePath())).path();
}

template <typename T>
T& Control(const QWidget& page, int id)
{
    T* control = FindControlAs<T>(page, id);
    EXPECT_NE(control, nullptr) << id;
    return *control;
}

QStringList Items(const QComboBox& list)
{
    QStringList items;
    for (int i = 0; i < list.count(); ++i) {
        items << list.itemText(i);
    }
    return items;
}

// The page on its own, with the main window's services counted.
struct OptionsPageTest : ::testing::Test {
    UiEnvironment env;
    ScopedEnv config{"XDG_CONFIG_HOME", UiEnvironment::Path(env.folder, "xdg")};
    LanguageTable language{env.location};
    int languageApplied = 0;
    std::unique_ptr<CDialogEvalOptions> page;

    void Start()
    {
        language.Load("english");
        page = std::make_unique<CDialogEvalOptions>(
            env.Services(), OptionsServices{language, env.location, [this] { ++languageApplied; }, [] {}});
        page->LoadSettings();
    }
    QString AutostartEntry() const { return env.folder.filePath(QStringLiteral("autostart/Chronel.desktop")); }
    QLineEdit& Folder() { return Control<QLineEdit>(*page, 1040); }
    QString Status() { return Control<QLabel>(*page, 1114).text(); }
    QComboBox& Languages() { return Control<QComboBox>(*page, 1043); }
};

TEST_F(OptionsPageTest, AutoloadWritesAValidDesktopEntryAndRemovesIt)
{
    Start();
    QCheckBox& autoload = Control<QCheckBox>(*page, 1048);
    EXPECT_FALSE(autoload.isChecked());
    autoload.click();
    EXPECT_EQ(env.settings.ReadInt(SettingId::Autoload), 1);
    ASSERT_TRUE(QFile::exists(AutostartEntry()));
    QFile entry(AutostartEntry());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("Exec=" + QByteArray::fromStdString(env.location.ExecutablePath())));
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!validator.isEmpty()) {
        QProcess check;
        check.start(validator, {AutostartEntry()});
        ASSERT_TRUE(check.waitForFinished(30000));
        EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();
    }

    autoload.click();
    EXPECT_EQ(env.settings.ReadInt(SettingId::Autoload), 0);
    EXPECT_FALSE(QFile::exists(AutostartEntry()));
}

TEST_F(OptionsPageTest, AutostartFolderThatCannotBeWrittenIsSilent)
{
    // A file where the folder should be: no entry can be made, whoever runs the test.
    WriteFileBytes(UiEnvironment::Path(env.folder, "autostart"), "not a folder");
    Start();
    Control<QCheckBox>(*page, 1048).click();
    EXPECT_TRUE(Control<QCheckBox>(*page, 1048).isChecked());
    EXPECT_EQ(env.settings.ReadInt(SettingId::Autoload), 1) << "the box's state is kept all the same";
    page->SaveSettings();
    EXPECT_EQ(env.settings.ReadInt(SettingId::Autoload), 1);
}

TEST_F(OptionsPageTest, SavingRenewsTheEntryFromTheBox)
{
    env.settings.WriteInt(SettingId::Autoload, 1);
    Start();
    EXPECT_TRUE(Control<QCheckBox>(*page, 1048).isChecked());
    EXPECT_FALSE(QFile::exists(AutostartEntry()));
    page->SaveSettings();
    EXPECT_TRUE(QFile::exists(AutostartEntry()));
}

TEST_F(OptionsPageTest, FolderCheckFollowsTyping)
{
    QDir(ProgramFolder(env)).mkdir(QStringLiteral("Temp"));
    Start();
    EXPECT_EQ(Folder().text().toStdString(), env.settings.DefaultTemplateFolder());
    EXPECT_EQ(Status(), kMissingFolder) << "the default folder does not exist yet";

    Folder().clear();
    EXPECT_EQ(Status(), "") << "an empty folder is the program's folder";
    QTest::keyClicks(&Folder(), QStringLiteral("Tem"));
    EXPECT_EQ(Status(), kMissingFolder);
    std::string stored;
    env.settings.ReadString(SettingId::TemplateFolder, stored);
    EXPECT_EQ(stored, "Tem") << "stored as typed, found or not";
    QTest::keyClicks(&Folder(), QStringLiteral("p"));
    EXPECT_EQ(Status(), "");
    env.settings.ReadString(SettingId::TemplateFolder, stored);
    EXPECT_EQ(stored, "Temp");

    // Far too long for the system and for the settings store: a warning, the default on the next read.
    Folder().setText(QString(5000, QLatin1Char('a')));
    EXPECT_EQ(Status(), kMissingFolder);
    page->SaveSettings();
    Start();
    EXPECT_EQ(Folder().text().toStdString(), env.settings.DefaultTemplateFolder());
}

TEST_F(OptionsPageTest, BrowseStartsAtTheNormalisedFolderAndTakesTheChoice)
{
    Start();
    std::vector<std::string> starts;
    std::string answer;
    page->SetFolderBrowser([&](QWidget*, std::string& folder) {
        starts.push_back(folder);
        folder = answer;
        return !answer.empty();
    });
    Folder().setText(QStringLiteral("Temp\\"));
    Control<QPushButton>(*page, 1088).click();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], ProgramFolder(env).toStdString() + "/Temp/");
    EXPECT_EQ(Folder().text(), "Temp\\") << "cancel keeps the text";

    answer = env.folder.path().toStdString();
    Control<QPushButton>(*page, 1088).click();
    EXPECT_EQ(Folder().text().toStdString(), answer);
    EXPECT_EQ(Status(), "");
    std::string stored;
    env.settings.ReadString(SettingId::TemplateFolder, stored);
    EXPECT_EQ(stored, answer);
}

TEST_F(OptionsPageTest, LanguageListAndItsFallback)
{
    Start();
    EXPECT_EQ(Items(Languages()), QStringList{"english"}) << "no language files, english offered anyway";
    EXPECT_EQ(Languages().currentText(), "english");
    EXPECT_EQ(Control<QLineEdit>(*page, 1036).text(), "Orvane");

    QFile::copy(kRussianFile, ProgramFolder(env) + "/russian.lng");
    WriteFileBytes((ProgramFolder(env) + "/Deutsch.lng").toStdString(), "");
    env.settings.WriteString(SettingId::Lang, "klingon");
    Start();
    EXPECT_EQ(Items(Languages()), (QStringList{"Deutsch", "english", "russian"}));
    EXPECT_EQ(Languages().currentText(), "english") << "the stored language's file is gone";
    page->SaveSettings();
    std::string stored;
    env.settings.ReadString(SettingId::Lang, stored);
    EXPECT_EQ(stored, "english");
    EXPECT_EQ(languageApplied, 0) << "loading is no choice of the user";

    Languages().setCurrentIndex(2);
    env.settings.ReadString(SettingId::Lang, stored);
    EXPECT_EQ(stored, "russian");
    EXPECT_EQ(languageApplied, 1);
}

// The page inside the main window: language and tray reach every window at once.
struct OptionsInMainWindowTest : ::testing::Test {
    UiEnvironment env;
    ScopedEnv config{"XDG_CONFIG_HOME", UiEnvironment::Path(env.folder, "xdg")};

    AppServices Services()
    {
        return AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter,
                           env.timeChanges};
    }
};

TEST_F(OptionsInMainWindowTest, ChoosingALanguageTranslatesEveryPageAtOnceAndPersists)
{
    ASSERT_TRUE(QFile::copy(kRussianFile, ProgramFolder(env) + "/russian.lng"));
    auto window = std::make_unique<CDialogEvalMain>(Services());
    const PageWidget& options = *window->Page(kOptionsPage);
    QComboBox& list = Control<QComboBox>(options, 1043);
    ASSERT_EQ(Items(list), (QStringList{"english", "russian"}));
    list.setCurrentIndex(1);

    const struct {
        int page;
        int control;
        const char* text;
    } translated[] = {
        {kDifferencePage, 1003, "&Сейчас"},
        {kRollbackPage, 1088, "&Установить"},
        {kRollbackPage, 1501, "Состояние:"},
        {kOptionsPage, 1048, "&Запускать при входе в систему"},
        {kAboutPage, 1203, "&Благодарности"},
    };
    for (const auto& t : translated) {
        EXPECT_EQ(FindControl(*window->Page(t.page), t.control)->property("text").toString(), QString::fromUtf8(t.text))
            << t.page << " " << t.control;
    }
    EXPECT_EQ(Control<QLineEdit>(*window->Page(kRollbackPage), 1092).text(), "Восстановлено") << "reloaded";
    EXPECT_EQ(Control<QLineEdit>(options, 1038).text(), "06.12.2026") << "the new translator's entries";
    EXPECT_EQ(list.currentText(), "russian");
    EXPECT_EQ(window->focusWidget(), &list);
    std::string stored;
    env.settings.ReadString(SettingId::Lang, stored);
    EXPECT_EQ(stored, "russian");

    window->ExitSequence();
    window = std::make_unique<CDialogEvalMain>(Services());
    EXPECT_EQ(FindControl(*window->Page(kDifferencePage), 1003)->property("text").toString(), "&Сейчас");
    EXPECT_EQ(Control<QComboBox>(*window->Page(kOptionsPage), 1043).currentText(), "russian");
}

TEST_F(OptionsInMainWindowTest, VanishedLanguageFileFallsBackToTheBuiltInTexts)
{
    ASSERT_TRUE(QFile::copy(kRussianFile, ProgramFolder(env) + "/russian.lng"));
    CDialogEvalMain window(Services());
    QFile::remove(ProgramFolder(env) + "/russian.lng");
    Control<QComboBox>(*window.Page(kOptionsPage), 1043).setCurrentIndex(1);
    EXPECT_EQ(FindControl(*window.Page(kDifferencePage), 1003)->property("text").toString(), "&Now");
    EXPECT_EQ(Control<QLineEdit>(*window.Page(kRollbackPage), 1092).text(), "Restored");
}

TEST_F(OptionsInMainWindowTest, TrayBoxAddsAndRemovesTheIconWithoutStrandingTheWindow)
{
    CDialogEvalMain window(Services());
    window.ShowMainWindow();
    window.findChild<QListWidget*>("pageList")->setCurrentRow(kOptionsPage);
    QCheckBox& tray = Control<QCheckBox>(*window.Page(kOptionsPage), 1049);
    ASSERT_EQ(window.TrayIcon(), nullptr);

    tray.click();
    EXPECT_NE(window.TrayIcon(), nullptr);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.ActivePageIndex(), kOptionsPage) << "the page stays open";

    // Where no tray can show the icon (as here), minimising must not hide the window for good.
    window.showMinimized();
    QTest::qWait(20);
    EXPECT_TRUE(window.isVisible() || QSystemTrayIcon::isSystemTrayAvailable());

    window.ShowMainWindow();
    tray.click();
    EXPECT_EQ(window.TrayIcon(), nullptr);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(env.settings.ReadInt(SettingId::HideToTray), 0);
}

}  // namespace
