#include "templates/templates_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QApplication>
#include <QMenu>

#include <filesystem>
#include <QListWidget>
#include <QPlainTextEdit>

#include "shell/main_dialog.h"
#include "shell/ui_environment.h"
#include "templates/output_actions_widget.h"
#include "templates/template_name_dialog.h"
#include "templates/text_file.h"
#include "fakes/temp_folder.h"
#include "widgets/control_id_widget.h"

namespace {

struct TemplatesDialogTest : ::testing::Test {
    UiEnvironment env;
    CDialogEvalMain window{AppServices{env.clock, env.formatter, env.settings, env.location, env.zones,
                                       env.clockSetter, env.timeChanges}};
    std::string folder = env.folder.filePath("templates").toStdString();
    std::vector<QString> messages;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    std::vector<std::string> names;   // what the name dialog will answer, in turn

    TemplatesDialogTest()
    {
        std::filesystem::create_directories(folder);
        env.settings.WriteString(SettingId::TemplateFolder, folder);
    }
    void Put(const char* name, const char* text) { WriteTextFile(folder + "/" + name + ".trt", text, true); }
    std::string Read(const char* name)
    {
        std::string text;
        EXPECT_TRUE(ReadTextFile(folder + "/" + name + ".trt", text)) << name;
        return text;
    }
    std::unique_ptr<CDialogEvalTemplates> Editor()
    {
        auto editor = std::make_unique<CDialogEvalTemplates>(
            CDialogEvalTemplates::Services{window.PageValues(), env.clock, env.formatter, env.settings, env.location,
                                           window.GetLanguageTable()});
        editor->ask = [this](QMessageBox::Icon, const QString& text, QMessageBox::StandardButtons) {
            messages.push_back(text);
            return answer;
        };
        editor->askName = [this](std::string& name) {
            if (names.empty()) {
                return false;
            }
            name = names.front();
            names.erase(names.begin());
            return true;
        };
        return editor;
    }
    static QListWidget& List(CDialogEvalTemplates& e) { return *FindControlAs<QListWidget>(e, 1027); }
    static QPlainTextEdit& Field(CDialogEvalTemplates& e) { return *FindControlAs<QPlainTextEdit>(e, 1028); }
    static QStringList Names(CDialogEvalTemplates& e)
    {
        QStringList list;
        for (int i = 0; i < List(e).count(); ++i) {
            list << List(e).item(i)->text();
        }
        return list;
    }
    // As typing does: replaces the whole text and marks it edited.
    static void Type(CDialogEvalTemplates& e, const QString& text)
    {
        Field(e).selectAll();
        Field(e).insertPlainText(text);
    }
    static bool Enabled(CDialogEvalTemplates& e, int command) { return FindCommand(*e.Menus().bar, command)->isEnabled(); }
};

TEST_F(TemplatesDialogTest, EmptyFolderOffersOnlyNew)
{
    auto editor = Editor();
    ASSERT_TRUE(editor->Open());
    EXPECT_FALSE(Field(*editor).isEnabled());
    EXPECT_TRUE(Field(*editor).placeholderText().contains("Template -> New"));
    EXPECT_TRUE(Enabled(*editor, 32814));
    for (int command : {32815, 32892, 32816, 32818, 57643, 57635, 57634, 57632, 57642}) {
        EXPECT_FALSE(Enabled(*editor, command)) << command;
    }
    EXPECT_FALSE(editor->Menus().substitution->menuAction()->isEnabled());

    names = {"First"};
    editor->RunCommand(32814);
    editor->UpdateCommandStates();   // as the 50 ms timer does
    EXPECT_EQ(Names(*editor), QStringList{"First"});
    EXPECT_TRUE(Field(*editor).isEnabled());
    EXPECT_EQ(Field(*editor).placeholderText(), "") << "the hint is for when nothing is selected";
    EXPECT_EQ(Read("First"), "");
}

TEST_F(TemplatesDialogTest, MissingFolderIsReportedAndTheEditorDoesNotOpen)
{
    env.settings.WriteString(SettingId::TemplateFolder, folder + "/gone");
    auto editor = Editor();
    EXPECT_FALSE(editor->Open());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("Template folder cannot be found"));
}

TEST_F(TemplatesDialogTest, AMessageBeforeTheEditorShowsIsCentredOnTheMainWindow)
{
    env.settings.WriteString(SettingId::TemplateFolder, folder + "/gone");
    window.resize(800, 400);
    window.move(200, 300);
    window.show();
    CDialogEvalTemplates editor(CDialogEvalTemplates::Services{window.PageValues(), env.clock, env.formatter,
                                                               env.settings, env.location, window.GetLanguageTable()},
                                &window);
    const QWidget* owner = nullptr;
    QPoint centre;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        owner = box->parentWidget();
        centre = box->frameGeometry().center();
        box->done(QMessageBox::Ok);
    });
    EXPECT_FALSE(editor.Open());
    EXPECT_EQ(owner, &window);
    EXPECT_LE((centre - window.frameGeometry().center()).manhattanLength(), 4);
}

TEST_F(TemplatesDialogTest, StoredIndexBeyondTheListSelectsTheLast)
{
    Put("b", "text of b");
    Put("A", "text of A");
    Put("c", "text of c");
    env.settings.WriteInt(SettingId::ActiveTemplateNo, 7);
    auto editor = Editor();
    ASSERT_TRUE(editor->Open());
    EXPECT_EQ(Names(*editor), (QStringList{"A", "b", "c"})) << "sorted without regard to case";
    EXPECT_EQ(List(*editor).currentRow(), 2);
    EXPECT_EQ(Field(*editor).toPlainText(), "text of c");
}

TEST_F(TemplatesDialogTest, MacrosAndValuesAreTypedAtTheCaret)
{
    Put("t", "ab");
    auto editor = Editor();
    ASSERT_TRUE(editor->Open());
    QTextCursor cursor = Field(*editor).textCursor();
    cursor.setPosition(1);
    Field(*editor).setTextCursor(cursor);
    editor->RunCommand(32874);
    EXPECT_EQ(Field(*editor).toPlainText(), "a%DSD% b");
    Field(*editor).selectAll();
    editor->RunCommand(32895);
    EXPECT_EQ(Field(*editor).toPlainText(), "Monday, March 01, 2004 ") << "a Value item types the value itself";
    EXPECT_EQ(FindCommand(*editor->Menus().value, 32895)->text(), "Start &Date\tMonday, March 01, 2004");
}

TEST_F(TemplatesDialogTest, EveryToolbarDropDownInsertsItsItemAtTheCaret)
{
    Put("t", "");
    auto editor = Editor();
    ASSERT_TRUE(editor->Open());
    editor->UpdateCommandStates();
    QToolBar& toolBar = *editor->findChild<QToolBar*>();
    for (int command = 32947; command <= 32952; ++command) {
        SCOPED_TRACE(command);
        Type(*editor, "<>");
        QTextCursor cursor = Field(*editor).textCursor();
        cursor.setPosition(1);
        Field(*editor).setTextCursor(cursor);
        QTest::mouseClick(toolBar.widgetForAction(FindCommand(toolBar, command)), Qt::LeftButton);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QAction* item = nullptr;
        for (QAction* action : menu->actions()) {
            if (item == nullptr && action->menu() == nullptr && !action->isSeparator()) {
                item = action;
            }
        }
        ASSERT_NE(item, nullptr);
        menu->setActiveAction(item);
        QTest::keyClick(menu, Qt::Key_Return);
        const QString inserted = item->text().mid(item->text().indexOf(u'\t') + 1) + u' ';
        EXPECT_EQ(Field(*editor).toPlainText(), u'<' + inserted + u'>');
    }
}

TEST_F(TemplatesDialogTest, NewGoesInNameOrderAndEditsSurviveSwitching)
{
    Put("alpha", "one");
    Put("omega", "two");
    env.settings.WriteInt(SettingId::ActiveTemplateNo, 1);
    auto editor = Editor();
    ASSERT_TRUE(editor->Open());
    Type(*editor, "two, edited");
    names = {"zeta"};
    editor->RunCommand(32814);
    EXPECT_EQ(Names(*editor), (QStringList{"alpha", "omega", "zeta"})) << "so a stored number keeps its template";
    EXPECT_EQ(Read("omega"), "two, edited") << "the text typed before New is saved";
    Type(*editor, "new text");
    List(*editor).setCurrentRow(0);
    EXPECT_EQ(Field(*editor).toPlainText(), "one");
    List(*editor).setCurrentRow(2);
    EXPECT_EQ(Field(*editor).toPlainText(), "new text");

    // A New that cannot be saved leaves the list and the field as they were.
    names = {"bad:name"};
    editor->RunCommand(32814);
    EXPECT_EQ(Names(*editor), (QStringList{"alpha", "omega", "zeta"}));
    EXPECT_EQ(List(*editor).currentRow(), 2);
    EXPECT_EQ(Field(*editor).toPlainText(), "new text");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("Error saving template"));
}

TEST_F(TemplatesDialogTest, DeleteAsksAndSelectsTheNeighbour)
{
    Put("a", "A");
    Put("b", "B");
    env.settings.WriteInt(SettingId::ActiveTemplateNo, 1);
    auto editor = Editor();
    ASSERT_TRUE(editor->Open());
    answer = QMessageBox::Cancel;
    editor->RunCommand(32815);
    EXPECT_EQ(Names(*editor).size(), 2);
    EXPECT_EQ(messages.back(), "Are you sure you want to delete template \"b\"?");
    answer = QMessageBox::Ok;
    editor->RunCommand(32815);
    EXPECT_EQ(Names(*editor), QStringList{"a"});
    EXPECT_EQ(List(*editor).currentRow(), 0);
    EXPECT_EQ(Field(*editor).toPlainText(), "A");
    EXPECT_FALSE(std::filesystem::exists(folder + "/b.trt"));
    editor->RunCommand(32815);
    EXPECT_TRUE(Names(*editor).isEmpty());
    EXPECT_TRUE(Field(*editor).toPlainText().isEmpty());
}

TEST_F(TemplatesDialogTest, CopyExpandsWhileTheFileKeepsTheMacros)
{
    Put("t", "");
    auto editor = Editor();
    ASSERT_TRUE(editor->Open());
    Type(*editor, "From %DSD% it is %DTD% days.");
    editor->UpdateCommandStates();
    FindControlAs<QPushButton>(*editor, 1033)->click();
    std::string clipboard;
    GetClipboardText(clipboard);
    EXPECT_EQ(clipboard, "From Monday, March 01, 2004 it is 0 days.");
    EXPECT_EQ(Read("t"), "From %DSD% it is %DTD% days.");
    EXPECT_EQ(editor->result(), QDialog::Accepted);
}

TEST_F(TemplatesDialogTest, CancelKeepsTheEditsAndTheSelection)
{
    Put("a", "A");
    Put("b", "B");
    auto editor = Editor();
    ASSERT_TRUE(editor->Open());
    List(*editor).setCurrentRow(1);
    Type(*editor, "B, edited");
    editor->reject();
    EXPECT_EQ(Read("b"), "B, edited");
    EXPECT_EQ(env.settings.ReadInt(SettingId::ActiveTemplateNo), 1);
}

struct UntouchedCase {
    const char* why;
    std::string bytes;
    bool editable;   // the field shows them exactly, so an edit may be saved
};

const UntouchedCase kUntouchedCases[] = {
    {"CR LF line ends", "one\r\ntwo\r\n", true},
    {"LF line ends", "one\ntwo\n", true},
    {"Latin-1 accents", "caf\xE9 na\xEFve\n", false},
    {"a zero byte survives the field", std::string("before\0after, 50 bytes in all, not cut at the zero", 50), true},
    {"mixed line ends", "one\r\ntwo\nthree\r", false},
};

TEST_F(TemplatesDialogTest, LookingSwitchingAndCancellingNeverRewrite)
{
    for (const UntouchedCase& c : kUntouchedCases) {
        SCOPED_TRACE(c.why);
        WriteFileBytes(folder + "/a.trt", c.bytes);
        WriteFileBytes(folder + "/b.trt", "B");
        const auto written = std::filesystem::last_write_time(folder + "/a.trt");
        auto editor = Editor();
        ASSERT_TRUE(editor->Open());
        List(*editor).setCurrentRow(0);
        EXPECT_EQ(Field(*editor).isReadOnly(), !c.editable);
        List(*editor).setCurrentRow(1);
        List(*editor).setCurrentRow(0);
        editor->reject();
        EXPECT_EQ(ReadFileBytes(folder + "/a.trt"), c.bytes);
        EXPECT_EQ(std::filesystem::last_write_time(folder + "/a.trt"), written) << "not even rewritten alike";
        EXPECT_TRUE(messages.empty());
    }
    // An edit of a CR LF template is saved with CR LF.
    WriteFileBytes(folder + "/a.trt", "one\r\n");
    auto editor = Editor();
    ASSERT_TRUE(editor->Open());
    List(*editor).setCurrentRow(0);
    Field(*editor).appendPlainText("two");
    editor->reject();
    EXPECT_EQ(ReadFileBytes(folder + "/a.trt"), "one\r\n\r\ntwo");
}

TEST_F(TemplatesDialogTest, ALinkOutOfTheFolderOpensReadOnly)
{
    const std::string outside = env.folder.filePath("private.txt").toStdString();
    WriteFileBytes(outside, "secret");
    std::filesystem::create_symlink(outside, folder + "/linked.trt");
    auto editor = Editor();
    ASSERT_TRUE(editor->Open());
    EXPECT_EQ(Field(*editor).toPlainText(), "secret");
    EXPECT_TRUE(Field(*editor).isReadOnly());
    editor->UpdateCommandStates();
    EXPECT_FALSE(Enabled(*editor, 32816)) << "no inserting a file into it";
    editor->RunCommand(32874);
    EXPECT_EQ(Field(*editor).toPlainText(), "secret") << "menus insert nothing";
    editor->reject();
    EXPECT_EQ(ReadFileBytes(outside), "secret");
    EXPECT_TRUE(std::filesystem::is_symlink(folder + "/linked.trt"));
}

TEST_F(TemplatesDialogTest, ReadOnlyFolderOpensAndCancelsWithoutAWord)
{
    Put("a", "A");
    std::filesystem::permissions(folder, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    auto editor = Editor();
    ASSERT_TRUE(editor->Open());
    editor->reject();
    std::filesystem::permissions(folder, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    EXPECT_TRUE(messages.empty());
}

TEST_F(TemplatesDialogTest, FolderIsFixedWhenTheEditorOpens)
{
    Put("a", "A");
    auto editor = Editor();
    ASSERT_TRUE(editor->Open());
    // Another running copy points the setting elsewhere, where a template of the same name waits.
    const std::string other = env.folder.filePath("other").toStdString();
    std::filesystem::create_directories(other);
    WriteFileBytes(other + "/a.trt", "theirs");
    env.settings.WriteString(SettingId::TemplateFolder, other);
    Type(*editor, "mine");
    editor->reject();
    EXPECT_EQ(Read("a"), "mine");
    EXPECT_EQ(ReadFileBytes(other + "/a.trt"), "theirs");
}

TEST_F(TemplatesDialogTest, PreviewIsPrivateAndNeverFollowsAPlantedLink)
{
    Put("t", "From %DSD%");
    const std::string runtime = env.folder.filePath("run").toStdString();
    std::filesystem::create_directories(runtime + "/chronel");
    std::filesystem::permissions(runtime + "/chronel", std::filesystem::perms::owner_all);
    const std::string victim = env.folder.filePath("victim").toStdString();
    WriteFileBytes(victim, "private");
    std::filesystem::create_symlink(victim, runtime + "/chronel/$$qv$$.txt");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));
    auto editor = Editor();
    std::vector<std::string> opened;
    bool viewerStarts = true;
    editor->openFile = [&](const std::string& path) {
        opened.push_back(path);
        return viewerStarts;
    };
    ASSERT_TRUE(editor->Open());
    editor->RunCommand(32892);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], runtime + "/chronel/$$qv$$.txt");
    EXPECT_EQ(ReadFileBytes(opened[0]), "From Monday, March 01, 2004");
    EXPECT_EQ(std::filesystem::status(opened[0]).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(ReadFileBytes(victim), "private");
    EXPECT_TRUE(messages.empty());
    viewerStarts = false;
    editor->RunCommand(32892);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("No program could be started")) << messages[0].toStdString();
    qunsetenv("XDG_RUNTIME_DIR");
}

TEST_F(TemplatesDialogTest, NameDialogRejectsForbiddenAndExistingNames)
{
    Put("taken", "");
    CDialogEvalTemplateName dialog(window.GetLanguageTable(),
                                   [this](const std::string& name) { return folder + "/" + name + ".trt"; });
    std::vector<std::pair<bool, QString>> shown;
    dialog.showMessage = [&](bool error, const QString& text) { shown.emplace_back(error, text); };
    auto& edit = *FindControlAs<QLineEdit>(dialog, 1032);
    auto& ok = *FindControlAs<QPushButton>(dialog, 1);
    EXPECT_FALSE(ok.isEnabled());
    edit.setText("a:b");
    ok.click();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].first);
    EXPECT_TRUE(shown[0].second.contains("/\\:*?\"<>|"));
    edit.setText("taken");
    ok.click();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_FALSE(shown[1].first);
    EXPECT_EQ(edit.selectedText(), "taken");
    edit.setText("new one");
    ok.click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Name(), "new one");
}

}  // namespace
