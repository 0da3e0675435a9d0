#include "pages/translation.h"

#include <gtest/gtest.h>

#include <QtWidgets>

#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"
#include "settings/ini_file.h"
#include "settings/language_table.h"
#include "widgets/control_id.h"

namespace {

// A dialog with controls in layouts, a group box, lists, and a sheet whose second page nests a tab sheet.
struct Dialog {
    template <typename Widget, typename... Args>
    static Widget* Add(QWidget* parent, int id, Args&&... args)
    {
        auto* widget = new Widget(std::forward<Args>(args)..., parent);
        SetControlId(*widget, id);
        if (parent->layout() != nullptr) {
            parent->layout()->addWidget(widget);
        }
        return widget;
    }
    Dialog()
    {
        window.setWindowTitle("Templates");
        new QVBoxLayout(&window);
        Add<QLabel>(&window, 1069, "Input data:");
        auto* group = Add<QGroupBox>(&window, 1300, "Group");
        auto* grid = new QGridLayout;   // not yet the group's, so Add leaves the placing to the grid
        grid->addWidget(Add<QPushButton>(group, 1003, "&Now"), 0, 1);
        grid->addWidget(Add<QCheckBox>(group, 1009, "C&urrent"), 0, 0);
        grid->addWidget(Add<QLabel>(group, 1400, "12.5 %"), 1, 0);
        grid->addWidget(Add<QLabel>(group, 65535, "Static"), 1, 1);
        grid->addWidget(Add<QLineEdit>(group, 1050, "edit text"), 2, 0);
        group->setLayout(grid);
        ExcludeFromTranslation(*Add<QLabel>(&window, 1700, "Chronel 2.1"));
        combo = Add<QComboBox>(&window, 1043);
        combo->addItems({"One", "2", "Three"});
        combo->setCurrentIndex(2);
        tree = Add<QTreeWidget>(&window, 1500);
        tree->setHeaderLabels({"Name", "Value"});
        tree->addTopLevelItems({new QTreeWidgetItem({"Row A", "x"}), new QTreeWidgetItem({"10", "y"})});
        sheet = Add<QStackedWidget>(&window, 0);
        const auto page = [](QWidget* widget, const char* title) {
            widget->setWindowTitle(title);
            new QVBoxLayout(widget);
            return widget;
        };
        Add<QLabel>(page(sheet->widget(sheet->addWidget(new QWidget)), "General"), 1600, "Day:");
        nested = Add<QTabWidget>(page(sheet->widget(sheet->addWidget(new QWidget)), "Time Info"), 0);
        Add<QPushButton>(page(nested->widget(nested->addTab(new QWidget, "Moon")), ""), 1110, "Tim&e Info");
        sheet->setCurrentIndex(1);
    }
    QString Text(int id) const { return FindControl(window, id)->property("text").toString(); }

    QWidget window;
    QComboBox* combo;
    QTreeWidget* tree;
    QStackedWidget* sheet;
    QTabWidget* nested;
};

struct TranslationTest : ::testing::Test {
    void LoadEnglish()
    {
        m_table.Load("english");
        m_messagesEnd = ReadFileBytes(m_folder / "english.lng").size();
    }
    // What the walks added to english.lng after the messages and the translator's entries.
    std::string Written() const { return ReadFileBytes(m_folder / "english.lng").substr(m_messagesEnd); }

    TempFolder m_folder;
    FakeProgramLocation m_location{m_folder / "chronel"};
    LanguageTable m_table{m_location};
    std::size_t m_messagesEnd = 0;
};

TEST_F(TranslationTest, WritesEveryTextInTheOrderSeenAndTranslatesWhatIsFound)
{
    Dialog dialog;
    std::string section;
    EXPECT_FALSE(TranslateWindow(m_table, true, true, &dialog.window, 131, 0, section)) << "no language";
    LoadEnglish();
    ASSERT_TRUE(TranslateWindow(m_table, true, true, &dialog.window, 131, 0, section));
    EXPECT_EQ(section, "DialogID_131");
    EXPECT_EQ(dialog.sheet->currentIndex(), 1);
    EXPECT_EQ(Written(),
              "\n[DialogID_131]\nID_0=Templates\nID_1069=Input data:\nID_1300=Group\nID_1009=C&urrent\n"
              "ID_1003=&Now\n\n[DialogID_131 - ComboBoxID_1043]\nID_0=One\nID_2=Three\n\n"
              "[DialogID_131 - ListCtrlID_1500]\nID_0=Row A\nID_1000=Name\nID_1001=Value\n\n"
              "[DialogID_131 - PageNo_0]\nID_0=General\nID_1600=Day:\n\n[DialogID_131 - PageNo_1]\n"
              "ID_0=Time Info\n\n[DialogID_131 - PageNo_1 - PageNo_0]\nID_0=Moon\nID_1110=Tim&e Info\n");

    // Translating reads the entries found, keeps every other text, and writes nothing.
    const std::string written = Written();
    WriteFileBytes(m_folder / "russian.lng",
                   "[DialogID_131]\nID_0=Шаблоны\nID_1003=&Сейчас\nID_1400=never\nID_65535=never\nID_1700=never\n"
                   "ID_1050=never\n[DialogID_131 - ComboBoxID_1043]\nID_2=Drei\nID_1=never\n"
                   "[DialogID_131 - ListCtrlID_1500]\nID_1=never\nID_1001=Wert\n"
                   "[DialogID_131 - PageNo_1 - PageNo_0]\nID_0=Luna\nID_1110=Info\n");
    m_table.Load("russian");
    section.clear();
    ASSERT_TRUE(TranslateWindow(m_table, false, true, &dialog.window, 131, 0, section));
    EXPECT_EQ(dialog.window.windowTitle(), QString::fromUtf8("Шаблоны"));
    const std::pair<int, const char*> texts[] = {{1003, "&Сейчас"},  {1110, "Info"},    {1009, "C&urrent"},
                                                 {1400, "12.5 %"},   {65535, "Static"}, {1700, "Chronel 2.1"},
                                                 {1050, "edit text"}};
    for (const auto& [id, text] : texts) {
        EXPECT_EQ(dialog.Text(id), QString::fromUtf8(text)) << id;
    }
    const QStringList items{dialog.combo->itemText(0), dialog.combo->itemText(1), dialog.combo->itemText(2)};
    EXPECT_EQ(items, (QStringList{"One", "2", "Drei"}));
    EXPECT_EQ(dialog.combo->currentIndex(), 2);
    EXPECT_EQ(dialog.tree->topLevelItem(1)->text(0), "10");
    EXPECT_EQ(dialog.tree->headerItem()->text(1), "Wert");
    EXPECT_EQ(dialog.nested->tabText(0), "Luna");
    EXPECT_EQ(Written(), written);
}

// Menus and tool bars keep the text after the tab; tool tips keep what follows the name in brackets.
TEST_F(TranslationTest, MenusAndToolTipsKeepTheTextAfterTheTab)
{
    QMenuBar bar;
    QMenu* templateMenu = bar.addMenu("&Template");
    SetControlId(*templateMenu->addAction("&New...\tCtrl+N"), 32814);
    templateMenu->addSeparator();
    SetControlId(*templateMenu->addAction("&Delete\tCtrl+D"), 32815);
    QMenu* difference = bar.addMenu("&Substitution")->addMenu("Diff&erence");
    SetControlId(*difference->addAction("&Hours Overall \t%DH%"), 32847);
    SetControlId(*difference->addAction("12"), 32848);
    QToolBar tools;
    QAction* newTemplate = tools.addAction("New");
    newTemplate->setToolTip("New Template (Ctrl+N)");
    SetControlId(*newTemplate, 32814);
    tools.addSeparator();
    QAction* insert = tools.addAction("Insert");
    insert->setToolTip("Insert Substitution from Difference");
    SetControlId(*insert, 32947);
    tools.addAction("Other")->setToolTip("Other (x)");

    LoadEnglish();
    TranslateMenu(m_table, true, &bar, 143);
    TranslateToolBar(m_table, true, &tools, 146);
    EXPECT_EQ(Written(),
              "\n[MenuID_143]\nID_32814=&New...\nID_32815=&Delete\nSubID_32814=&Template\n"
              "ID_32847=&Hours Overall\nSubID_32847=Diff&erence\n\n[ToolBarID_146]\nID_32814=New Template\n"
              "ID_32947=Insert Substitution from Difference\n");
    WriteFileBytes(m_folder / "german.lng",
                   "[MenuID_143]\nID_32814=&Neu...\nSubID_32814=&Vorlage\nSubID_57643=never\nID_32895=never\n"
                   "ID_32847=&Stunden gesamt\nSubID_32847=&Differenz\n[ToolBarID_146]\nID_32814=Neue Vorlage\n");
    m_table.Load("german");
    TranslateMenu(m_table, false, &bar, 143);
    TranslateToolBar(m_table, false, &tools, 146);
    EXPECT_EQ(templateMenu->menuAction()->text(), "&Vorlage");
    EXPECT_EQ(templateMenu->actions()[0]->text(), "&Neu...\tCtrl+N");
    EXPECT_EQ(templateMenu->actions()[2]->text(), "&Delete\tCtrl+D");
    EXPECT_EQ(difference->menuAction()->text(), "&Differenz");
    EXPECT_EQ(difference->actions()[0]->text(), "&Stunden gesamt\t%DH%");
    EXPECT_EQ(newTemplate->toolTip(), "Neue Vorlage (Ctrl+N)");
    EXPECT_EQ(insert->toolTip(), "Insert Substitution from Difference");
    // Tool tips start from the original every time.
    WriteFileBytes(m_folder / "empty.lng", "");
    m_table.Load("empty");
    TranslateToolBar(m_table, false, &tools, 146);
    EXPECT_EQ(newTemplate->toolTip(), "New Template (Ctrl+N)");
    EXPECT_EQ(tools.actions().back()->toolTip(), "Other (x)");
}

}   // namespace
