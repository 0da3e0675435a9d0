#include "pages/templates/output_actions.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <cstring>

#include "app/main_window.h"
#include "calc/calculation.h"
#include "fakes/temp_folder.h"
#include "fakes/ui_environment.h"
#include "pages/page_widget.h"
#include "templates/macros.h"
#include "widgets/control_id.h"

namespace {

// The Copy >> or Save >> item of the macro `code`.
int MacroCommand(std::string_view code)
{
    return std::find_if(kMacros.begin(), kMacros.end(), [&](const Macro& m) { return m.code == code; })->substitutionId;
}

struct OutputActionsTest : ::testing::Test {
    UiEnvironment env;
    MainWindow window{
        AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter, env.timeChanges}};
    OutputActions& output = window.Output();
    std::vector<QString> errors;

    OutputActionsTest()
    {
        output.showError = [this](const QString& text) { errors.push_back(text); };
        SetClipboardText("");
    }
    void Show(OutputMode mode) { output.ShowOutputMenu(mode, window.ActivePageIndex(), nullptr); }
    std::string Clipboard()
    {
        std::string text;
        GetClipboardText(text);
        return text;
    }
};

TEST_F(OutputActionsTest, CopyPutsTheActivePagesLabelledValueOnTheClipboardAsTheTogglesSay)
{
    Show(OutputMode::Copy);
    ASSERT_NE(output.PopupMenu(), nullptr);
    EXPECT_EQ(output.PopupMenu()->title(), "Diff&erence");
    output.RunOutputCommand(kDataOnlyCommand);   // a toggle item is no value
    EXPECT_EQ(Clipboard(), "");
    output.RunOutputCommand(MacroCommand("%DSD%"));
    EXPECT_EQ(Clipboard(), "Start Date: Monday, March 01, 2004 ");

    // The active page chooses the list; Options, which has none, falls back to Difference.
    auto& pageList = *window.findChild<QListWidget*>("pageList");
    pageList.setCurrentRow(kCalculationPage);
    FindControlAs<QLineEdit>(*window.Page(kCalculationPage), kCountEditIds[kDays])->setText("3");
    Show(OutputMode::Copy);
    EXPECT_EQ(output.PopupMenu()->title(), "&Calculation");
    output.RunOutputCommand(MacroCommand("%ED%"));
    EXPECT_EQ(Clipboard(), "Days Plus: 3 ");
    EXPECT_EQ(FindCommand(*output.PopupMenu(), MacroCommand("%ED%"))->text(), "D&ays Plus\t3")
        << "items show their values";

    pageList.setCurrentRow(kOptionsPage);
    Show(OutputMode::Copy);
    EXPECT_EQ(output.PopupMenu()->title(), "Diff&erence");

    for (const SettingId toggle : {SettingId::DataOnly, SettingId::AddCr, SettingId::AddToTarget}) {
        output.ToggleOutputOption(toggle);
    }
    SetClipboardText("before|");
    Show(OutputMode::Copy);
    EXPECT_TRUE(FindCommand(*output.PopupMenu(), kDataOnlyCommand)->isChecked());
    output.RunOutputCommand(MacroCommand("%DY%"));
    EXPECT_EQ(Clipboard(), "before|0 \r\n");
    EXPECT_EQ(env.settings.ReadInt(SettingId::DataOnly), 1);
}

TEST_F(OutputActionsTest, SaveReplacesOrAppendsAndReportsFailure)
{
    std::string target = env.folder.filePath("out.txt").toStdString();
    output.chooseSaveFile = [&](std::string& chosen) { return !(chosen = target).empty(); };
    Show(OutputMode::Save);
    output.RunOutputCommand(MacroCommand("%DY%"));
    output.RunOutputCommand(MacroCommand("%DM%"));
    EXPECT_EQ(ReadFileBytes(target), "Months Overall: 0 ") << "without Add to Target the file is replaced";
    env.settings.WriteInt(SettingId::AddToTarget, 1);
    output.RunOutputCommand(MacroCommand("%DY%"));
    EXPECT_EQ(ReadFileBytes(target), "Months Overall: 0 Years Overall: 0 ");

    // A file where a folder should be stops root too; the message says why.
    target += "/out.txt";
    output.RunOutputCommand(MacroCommand("%DY%"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].toStdString(), "Error saving file \"" + target + "\": " + std::strerror(ENOTDIR));
}

// The Difference page's elapsed line starts with a label of its own ("Elapsed: "); Copy >> and %DEL% give
// only what follows it, in the current language.
TEST_F(OutputActionsTest, ElapsedTimeLeavesOutTheLinesOwnLabel)
{
    env.zones.elapsed = LocalElapsed{169200, true, false};
    ASSERT_TRUE(QFile::copy(QStringLiteral(CHRONEL_TEST_DATA_DIR "/../../res/lang/russian.lng"),
                            env.folder.filePath("program/russian.lng")));
    const std::pair<const char*, std::string> cases[] = {
        {"english", "Elapsed Time: 47 h (the zone's UTC offset changed between) "},
        {"russian", "Прошло фактически: 47 ч (между ними сменилось смещение пояса от UTC) "},
    };
    for (const auto& [language, line] : cases) {
        env.settings.WriteString(SettingId::Lang, language);
        window.ApplyLanguage(false);
        Show(OutputMode::Copy);
        output.RunOutputCommand(MacroCommand("%DEL%"));
        EXPECT_EQ(Clipboard(), line);
        std::string macro = "%DEL% ";
        Expand(macro, window.PageValues(), env.clock, env.formatter);
        EXPECT_EQ(macro, line.substr(line.find(": ") + 2));
    }
}

}   // namespace
