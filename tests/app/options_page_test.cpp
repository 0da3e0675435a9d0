#include "app/options_page.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include <memory>

#include "fakes/temp_folder.h"
#include "fakes/ui_environment.h"

namespace {

const QString kRussianFile = QStringLiteral(CHRONEL_TEST_DATA_DIR "/../../res/lang/russian.lng");
const QString kMissingFolder = QStringLiteral("A Folder by this name cannot be found");

QString ProgramFolder(const UiEnvironment& env)
{
    return QFileInfo(QString::fromStdString(env.location.ExecutablePath())).path();
}

QStringList Items(const QComboBox& list)
{
    QStringList items;
    for (int i = 0; i < list.count(); ++i) {
        items << list.itemText(i);
    }
    return items;
}

std::string Stored(const UiEnvironment& env, SettingId id)
{
    std::string text;
    env.settings.ReadString(id, text);
    return text;
}

// The page on its own, with the main window's services counted.
struct LoneOptionsPage {
    UiEnvironment env;
    ScopedEnv config{"XDG_CONFIG_HOME", UiEnvironment::Path(env.folder, "xdg")};
    LanguageTable language{env.location};
    int languageApplied = 0;
    std::unique_ptr<OptionsPage> page;

    void Start()
    {
        language.Load("english");
        page = std::make_unique<OptionsPage>(
            env.Services(), OptionsServices{language, env.location, [this] { ++languageApplied; }, [] {}});
        page->LoadSettings();
    }
    QLineEdit& Folder() { return ControlOf<QLineEdit>(*page, 1040); }
    QString Status() { return ControlOf<QLabel>(*page, 1114).text(); }
    QComboBox& Languages() { return ControlOf<QComboBox>(*page, 1043); }
};
struct OptionsPageTest : LoneOptionsPage, ::testing::Test {};

TEST(OptionsPage, AutoloadBoxSettingAndEntryGoTogether)
{
    const struct {
        const char* why;
        int stored;
        bool blocked;   // a file where the autostart folder should be: no entry can be made, even by root
        int clicks;
        bool checked;
        bool entry;
    } cases[] = {
        {"a click adds the entry", 0, false, 1, true, true},
        {"a second click removes it", 0, false, 2, false, false},
        {"saving renews the entry from the box", 1, false, 0, true, true},
        {"an unwritable folder is silent; the box is kept", 0, true, 1, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        LoneOptionsPage t;
        const std::string entry = UiEnvironment::Path(t.env.folder, "autostart/Chronel.desktop");
        t.env.settings.WriteInt(SettingId::Autoload, c.stored);
        if (c.blocked) {
            WriteFileBytes(UiEnvironment::Path(t.env.folder, "autostart"), "not a folder");
        }
        t.Start();
        for (int i = 0; i < c.clicks; ++i) {
            ControlOf<QCheckBox>(*t.page, 1048).click();
            EXPECT_EQ(t.env.settings.ReadInt(SettingId::Autoload), i % 2 == 0 ? 1 : 0);
            EXPECT_EQ(QFile::exists(QString::fromStdString(entry)), i % 2 == 0 && !c.blocked);
        }
        t.page->SaveSettings();
        EXPECT_EQ(ControlOf<QCheckBox>(*t.page, 1048).isChecked(), c.checked);
        EXPECT_EQ(t.env.settings.ReadInt(SettingId::Autoload), c.checked ? 1 : 0);
        EXPECT_EQ(ReadFileBytes(entry).find("Exec=" + t.env.location.ExecutablePath()) != std::string::npos, c.entry);
    }
}

TEST_F(OptionsPageTest, FolderCheckFollowsTypingAndBrowsing)
{
    QDir(ProgramFolder(env)).mkdir(QStringLiteral("Temp"));
    Start();
    EXPECT_EQ(Folder().text().toStdString(), env.settings.DefaultTemplateFolder());
    EXPECT_EQ(Status(), kMissingFolder) << "the default folder does not exist yet";
    Folder().clear();
    EXPECT_EQ(Status(), "") << "an empty folder is the program's folder";
    QTest::keyClicks(&Folder(), QStringLiteral("Tem"));
    EXPECT_EQ(Status(), kMissingFolder);
    EXPECT_EQ(Stored(env, SettingId::TemplateFolder), "Tem") << "stored as typed, found or not";
    QTest::keyClicks(&Folder(), QStringLiteral("p\\"));
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(Stored(env, SettingId::TemplateFolder), "Temp\\");
    // Browsing starts at the normalised folder; cancel keeps the text, a choice replaces it.
    std::vector<std::string> starts;
    std::string answer;
    page->SetFolderBrowser([&](QWidget*, std::string& folder) {
        starts.push_back(folder);
        folder = answer;
        return !answer.empty();
    });
    ControlOf<QPushButton>(*page, 1088).click();
    EXPECT_EQ(starts, std::vector{ProgramFolder(env).toStdString() + "/Temp/"});
    EXPECT_EQ(Folder().text(), "Temp\\");
    answer = env.folder.path().toStdString();
    ControlOf<QPushButton>(*page, 1088).click();
    EXPECT_EQ(Folder().text().toStdString(), answer);
    EXPECT_EQ(Stored(env, SettingId::TemplateFolder), answer);
}

TEST_F(OptionsPageTest, LanguageListAndItsFallback)
{
    Start();
    EXPECT_EQ(Items(Languages()), QStringList{"english"}) << "no language files, english offered anyway";
    EXPECT_EQ(ControlOf<QLineEdit>(*page, 1036).text(), "Orvane");
    QFile::copy(kRussianFile, ProgramFolder(env) + "/russian.lng");
    WriteFileBytes((ProgramFolder(env) + "/Deutsch.lng").toStdString(), "");
    env.settings.WriteString(SettingId::Lang, "klingon");
    Start();
    EXPECT_EQ(Items(Languages()), (QStringList{"Deutsch", "english", "russian"}));
    EXPECT_EQ(Languages().currentText(), "english") << "the stored language's file is gone";
    page->SaveSettings();
    EXPECT_EQ(Stored(env, SettingId::Lang), "english");
    EXPECT_EQ(languageApplied, 0) << "loading is no choice of the user";
    Languages().setCurrentIndex(2);
    EXPECT_EQ(Stored(env, SettingId::Lang), "russian");
    EXPECT_EQ(languageApplied, 1);
}

}   // namespace
