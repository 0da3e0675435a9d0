#include "pages/templates/template_editor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <filesystem>
#include <utility>

#include "app/main_window.h"
#include "fakes/temp_folder.h"
#include "fakes/ui_environment.h"
#include "pages/templates/template_name_dialog.h"
#include "widgets/control_id.h"

namespace {

namespace fs = std::filesystem;

const QString kRussianFile = QStringLiteral(CHRONEL_TEST_DATA_DIR "/../../res/lang/russian.lng");

struct TemplateEditorTest : ::testing::Test {
    UiEnvironment env;
    MainWindow window{
        AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter, env.timeChanges}};
    std::string folder = env.folder.filePath("templates").toStdString();
    std::vector<QString> messages;
    std::vector<QString> titles;   // of the message boxes
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    std::string nextName;   // what the name dialog will answer once; empty: it is cancelled
    std::unique_ptr<TemplateEditor> editor;

    TemplateEditorTest()
    {
        fs::create_directories(folder);
        env.settings.WriteString(SettingId::TemplateFolder, folder);
    }
    std::string File(const std::string& name) { return folder + "/" + name + ".trt"; }
    void Put(const char* name, const char* text) { WriteFileBytes(File(name), text); }
    bool Open(const LanguageTable* language = nullptr)
    {
        editor = std::make_unique<TemplateEditor>(
            TemplateEditor::Services{window.PageValues(), env.clock, env.formatter, env.settings, env.location,
                                     language != nullptr ? *language : window.GetLanguageTable()});
        editor->ask = [this](QMessageBox::Icon, const QString& text, QMessageBox::StandardButtons) {
            messages.push_back(text);
            titles.push_back(editor->windowTitle());
            return answer;
        };
        editor->askName = [this](std::string& name) { return !(name = std::exchange(nextName, {})).empty(); };
        return editor->Open();
    }
    QListWidget& List() { return *FindControlAs<QListWidget>(*editor, 1027); }
    QPlainTextEdit& Field() { return *FindControlAs<QPlainTextEdit>(*editor, 1028); }
    QString Text() { return Field().toPlainText(); }
    QStringList Names()
    {
        QStringList list;
        for (int i = 0; i < List().count(); ++i) {
            list << List().item(i)->text();
        }
        return list;
    }
    // As typing does: replaces the whole text and marks it edited.
    void Type(const QString& text)
    {
        Field().selectAll();
        Field().insertPlainText(text);
    }
    bool Enabled(int command) { return FindCommand(*editor->Menus().bar, command)->isEnabled(); }
};

TEST_F(TemplateEditorTest, MissingFolderIsReportedCommandsFollowTheStateDeleteSelectsTheNeighbour)
{
    env.settings.WriteString(SettingId::TemplateFolder, folder + "/gone");
    EXPECT_FALSE(Open());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("Template folder cannot be found")) << messages[0].toStdString();
    env.settings.WriteString(SettingId::TemplateFolder, folder);
    ASSERT_TRUE(Open());
    EXPECT_FALSE(Field().isEnabled());
    EXPECT_TRUE(Field().placeholderText().contains("Template -> New"));
    for (int command : {32814, 32815, 32892, 32816, 32818, 57643, 57635, 57634, 57632, 57642}) {
        EXPECT_EQ(Enabled(command), command == 32814) << command;
    }
    nextName = "c";
    editor->RunCommand(32814);
    EXPECT_EQ(Names(), QStringList{"c"});
    EXPECT_TRUE(Field().isEnabled());
    EXPECT_EQ(ReadFileBytes(File("c")), "");
    // No call in between: the commands follow the field and the clipboard as they change.
    QGuiApplication::clipboard()->clear();
    Type("text");
    EXPECT_TRUE(Enabled(57643) && !Enabled(57637) && !Enabled(57635)) << "undo, no paste, no cut";
    QGuiApplication::clipboard()->setText("x");
    EXPECT_TRUE(Enabled(57637)) << "paste";
    Field().selectAll();
    EXPECT_TRUE(Enabled(57635)) << "cut";
    Field().textCursor().removeSelectedText();
    EXPECT_FALSE(Enabled(57635) || Enabled(32892)) << "nothing to cut or to preview";

    // A stored number beyond the list selects the last; deleting selects its neighbour.
    Put("b", "text of b");
    Put("A", "text of A");
    Put("c", "text of c");
    env.settings.WriteInt(SettingId::ActiveTemplateNo, 7);
    ASSERT_TRUE(Open());
    EXPECT_EQ(Names(), (QStringList{"A", "b", "c"})) << "sorted without regard to case";
    EXPECT_EQ(Text(), "text of c");
    answer = QMessageBox::Cancel;
    editor->RunCommand(32815);
    EXPECT_EQ(messages.back(), "Are you sure you want to delete template \"c\"?");
    EXPECT_EQ(Names().size(), 3);
    answer = QMessageBox::Ok;
    editor->RunCommand(32815);
    EXPECT_EQ(Names(), (QStringList{"A", "b"}));
    EXPECT_EQ(Text(), "text of b");
    editor->RunCommand(32815);
    editor->RunCommand(32815);
    EXPECT_TRUE(Names().isEmpty() && Text().isEmpty());
}

TEST_F(TemplateEditorTest, RussianTitlesOfTheMissingFolderBoxAndTheValueSubMenus)
{
    ASSERT_TRUE(QFile::copy(kRussianFile, env.folder.filePath("program/russian.lng")));
    LanguageTable russian(env.location);
    russian.Load("russian");
    env.settings.WriteString(SettingId::TemplateFolder, folder + "/gone");
    EXPECT_FALSE(Open(&russian));
    EXPECT_EQ(titles, std::vector<QString>{"Шаблоны"});
    env.settings.WriteString(SettingId::TemplateFolder, folder);
    ASSERT_TRUE(Open(&russian));
    const std::array<QMenu*, 3>& pages = editor->Menus().valuePages;
    QStringList shown;
    for (const QMenu* menu : {pages[0], pages[1], pages[2], pages[2]->actions()[2]->menu()}) {
        shown << menu->title();
    }
    EXPECT_EQ(shown, (QStringList{"&Разница", "&Вычисление", "&Информация", "&Общие"}));
}

TEST_F(TemplateEditorTest, NewGoesInNameOrderEditsSurviveSwitchingAndCancel)
{
    Put("alpha", "one");
    Put("omega", "two");
    env.settings.WriteInt(SettingId::ActiveTemplateNo, 1);
    ASSERT_TRUE(Open());
    Type("two, edited");
    nextName = "zeta";
    editor->RunCommand(32814);
    EXPECT_EQ(Names(), (QStringList{"alpha", "omega", "zeta"})) << "so a stored number keeps its template";
    EXPECT_EQ(ReadFileBytes(File("omega")), "two, edited") << "the text typed before New is saved";
    Type("new text");
    List().setCurrentRow(0);
    EXPECT_EQ(Text(), "one");
    List().setCurrentRow(2);
    EXPECT_EQ(Text(), "new text");

    // A New that cannot be saved leaves the list and the field as they were.
    nextName = "bad:name";
    editor->RunCommand(32814);
    EXPECT_EQ(Names(), (QStringList{"alpha", "omega", "zeta"}));
    EXPECT_EQ(List().currentRow(), 2);
    EXPECT_EQ(Text(), "new text");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("Error saving template"));

    // Another running copy points the setting elsewhere, where a template of the same name waits: Cancel
    // saves the edits into the folder of the opening.
    const std::string other = env.folder.filePath("other").toStdString();
    fs::create_directories(other);
    WriteFileBytes(other + "/omega.trt", "theirs");
    env.settings.WriteString(SettingId::TemplateFolder, other);
    List().setCurrentRow(1);
    Type("two, edited again");
    editor->reject();
    EXPECT_EQ(ReadFileBytes(File("omega")), "two, edited again");
    EXPECT_EQ(ReadFileBytes(other + "/omega.trt"), "theirs");
    EXPECT_EQ(env.settings.ReadInt(SettingId::ActiveTemplateNo), 1);

    // The name dialog refuses forbidden characters and, so nothing is overwritten, existing names, in the
    // user's language.
    ASSERT_TRUE(QFile::copy(kRussianFile, env.folder.filePath("program/russian.lng")));
    LanguageTable russian(env.location);
    russian.Load("russian");
    const struct {
        const LanguageTable& language;
        QString forbidden, exists;
    } languages[] = {
        {window.GetLanguageTable(), "The template name holds characters that cannot be used: /\\:*?\"<>|",
         "A template with this name exists already: choose another name."},
        {russian, "Имя шаблона содержит недопустимые символы, недопустимыми являются: \"/\\:*?\"<>|\"",
         "Шаблон с таким именем уже существует, введите другое имя!"},
    };
    for (const auto& language : languages) {
        TemplateNameDialog dialog(language.language, [this](const std::string& n) { return File(n); });
        std::vector<std::pair<bool, QString>> shown;   // error?, text
        dialog.showMessage = [&](bool error, const QString& text) { shown.emplace_back(error, text); };
        auto& edit = *FindControlAs<QLineEdit>(dialog, 1032);
        auto& ok = *FindControlAs<QPushButton>(dialog, 1);
        EXPECT_FALSE(ok.isEnabled());
        edit.setText("a:b");
        ok.click();
        edit.setText("alpha");
        ok.click();
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_TRUE(shown[0].first && !shown[1].first);
        EXPECT_EQ(shown[0].second, language.forbidden);
        EXPECT_EQ(shown[1].second, language.exists);
        EXPECT_EQ(edit.selectedText(), "alpha") << "ready to be typed over";
        edit.setText("new one");
        ok.click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Name(), "new one");
    }
}

const struct {
    const char* why;
    std::string bytes;
    bool editable;   // the field shows them exactly, so an edit may be saved
} kUntouchedCases[] = {
    {"CR LF line ends", "one\r\ntwo\r\n", true},
    {"LF line ends", "one\ntwo\n", true},
    {"Latin-1 accents", "caf\xE9 na\xEFve\n", false},
    {"a zero byte survives the field", std::string("before\0after, 50 bytes in all, not cut at the zero", 50), true},
    {"mixed line ends", "one\r\ntwo\nthree\r", false},
};

// Looking, switching and cancelling never rewrite a template; a link out of the folder opens read-only; a
// read-only folder opens and cancels without a word.
TEST_F(TemplateEditorTest, LookingSwitchingAndCancellingNeverRewrite)
{
    for (const auto& c : kUntouchedCases) {
        SCOPED_TRACE(c.why);
        WriteFileBytes(File("a"), c.bytes);
        Put("b", "B");
        const auto written = fs::last_write_time(File("a"));
        ASSERT_TRUE(Open());
        List().setCurrentRow(0);
        EXPECT_EQ(Field().isReadOnly(), !c.editable);
        List().setCurrentRow(1);
        List().setCurrentRow(0);
        editor->reject();
        EXPECT_EQ(ReadFileBytes(File("a")), c.bytes);
        EXPECT_EQ(fs::last_write_time(File("a")), written) << "not even rewritten alike";
        EXPECT_TRUE(messages.empty());
    }
    // An edit of a CR LF template is saved with CR LF.
    Put("a", "one\r\n");
    ASSERT_TRUE(Open());
    List().setCurrentRow(0);
    Field().appendPlainText("two");
    editor->reject();
    EXPECT_EQ(ReadFileBytes(File("a")), "one\r\n\r\ntwo");

    const std::string outside = env.folder.filePath("private.txt").toStdString();
    WriteFileBytes(outside, "secret");
    fs::create_symlink(outside, File("linked"));
    ASSERT_TRUE(Open());
    List().setCurrentRow(2);
    EXPECT_EQ(Text(), "secret");
    EXPECT_TRUE(Field().isReadOnly());
    EXPECT_FALSE(Enabled(32816)) << "no inserting a file into it";
    editor->RunCommand(32874);
    EXPECT_EQ(Text(), "secret") << "menus insert nothing";
    editor->reject();
    EXPECT_EQ(ReadFileBytes(outside), "secret");
    EXPECT_TRUE(fs::is_symlink(File("linked")));

    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
    ASSERT_TRUE(Open());
    editor->reject();
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(messages.empty());
}

TEST_F(TemplateEditorTest, AFailedOpenLeavesNothingToTypeIntoAndNamesAreBytes)
{
    Put("a", "text of a");
    fs::create_symlink("/dev/zero", File("b"));
    const std::string latin1 = "caf\xE9";   // not UTF-8
    Put(latin1.c_str(), "text of caf\xE9");
    ASSERT_TRUE(Open());
    List().setCurrentRow(0);
    ASSERT_EQ(Text(), "text of a");
    List().setCurrentRow(1);
    EXPECT_EQ(Text(), "") << "nothing of the template before";
    EXPECT_TRUE(Field().isReadOnly());
    const auto* note = editor->findChild<QLabel*>(QStringLiteral("readOnlyNote"));
    ASSERT_NE(note, nullptr);
    EXPECT_FALSE(note->isHidden());
    EXPECT_EQ(note->text(), "This template cannot be opened: it is not a regular file");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("Error opening template"));

    List().setCurrentRow(2);
    EXPECT_EQ(List().item(2)->text(), QStringLiteral("caf\uFFFD"));
    EXPECT_EQ(Text().toStdString(), "text of caf\xEF\xBF\xBD") << "opened by its real bytes";
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(Field().isReadOnly()) << "its bytes cannot be shown exactly";
    editor->reject();
    EXPECT_EQ(ReadFileBytes(File("a")), "text of a");
}

// Three drop-downs of macros and three of values, one per page, insert their first item at the caret; the
// preview and the copy expand while the file keeps the macros.
TEST_F(TemplateEditorTest, ToolbarInsertsAtTheCaretPreviewAndCopyExpand)
{
    const QString today = "Monday, March 01, 2004 ";
    const std::pair<int, QString> cases[] = {{32947, "%DSD% "}, {32948, "%ESD% "}, {32949, "%ISD% "},
                                             {32950, today},    {32951, today},    {32952, today}};
    Put("t", "");
    const std::string runtime = env.folder.filePath("run").toStdString();
    fs::create_directories(runtime + "/chronel");
    fs::permissions(runtime, fs::perms::owner_all);
    fs::permissions(runtime + "/chronel", fs::perms::owner_all);
    const std::string victim = env.folder.filePath("victim").toStdString();
    WriteFileBytes(victim, "private");
    const std::string shown = runtime + "/chronel/$$qv$$.txt";
    fs::create_symlink(victim, shown);
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));
    ASSERT_TRUE(Open());
    QToolBar& toolBar = *editor->findChild<QToolBar*>();
    for (const auto& [command, inserted] : cases) {
        SCOPED_TRACE(command);
        Type("<>");
        Field().moveCursor(QTextCursor::Left);
        QTest::mouseClick(toolBar.widgetForAction(FindCommand(toolBar, command)), Qt::LeftButton);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        menu->setActiveAction(menu->actions().front());
        QTest::keyClick(menu, Qt::Key_Return);
        EXPECT_EQ(Text(), u'<' + inserted + u'>');
    }

    Type("From %DSD% it is %DTD% days.");
    bool viewerStarts = true;
    editor->openFile = [&](const std::string& path) { return path == shown && viewerStarts; };
    editor->RunCommand(32892);
    EXPECT_EQ(ReadFileBytes(shown), "From Monday, March 01, 2004 it is 0 days.");
    // Private, and never through a link planted in its place.
    EXPECT_EQ(fs::status(shown).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadFileBytes(victim), "private");
    EXPECT_TRUE(messages.empty());
    viewerStarts = false;
    editor->RunCommand(32892);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("No program could be started")) << messages[0].toStdString();
    qunsetenv("XDG_RUNTIME_DIR");

    FindControlAs<QPushButton>(*editor, 1033)->click();
    std::string clipboard;
    GetClipboardText(clipboard);
    EXPECT_EQ(clipboard, "From Monday, March 01, 2004 it is 0 days.");
    EXPECT_EQ(ReadFileBytes(File("t")), "From %DSD% it is %DTD% days.");
    EXPECT_EQ(editor->result(), QDialog::Accepted);
}

}   // namespace
