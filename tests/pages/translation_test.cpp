#include "pages/translation.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "fakes/fake_program_location.h"
#include "fakes/temp_folder.h"
#include "settings/ini_file.h"
#include "settings/language_table.h"
#include "widgets/control_id.h"

namespace {

template <typename Widget, typename... Args>
Widget* Add(QWidget* parent, QLayout* layout, int id, Args&&... args)
{
    auto* widget = new Widget(std::forward<Args>(args)..., parent);
    if (id != 0) {
        SetControlId(*widget, id);
    }
    if (layout != nullptr) {
        layout->addWidget(widget);
    }
    return widget;
}

// A dialog with controls in layouts, a group box, lists, and a sheet whose second page nests a tab sheet.
struct Dialog {
    Dialog()
    {
        window.setWindowTitle("Templates");
        auto* layout = new QVBoxLayout(&window);
        Add<QLabel>(&window, layout, 1069, "Input data:");
        auto* group = Add<QGroupBox>(&window, layout, 1300, "Group");
        auto* grid = new QGridLayout(group);
        grid->addWidget(Add<QPushButton>(group, nullptr, 1003, "&Now"), 0, 1);
        grid->addWidget(Add<QCheckBox>(group, nullptr, 1009, "C&urrent"), 0, 0);
        grid->addWidget(Add<QLabel>(group, nullptr, 1400, "12.5 %"), 1, 0);
        grid->addWidget(Add<QLabel>(group, nullptr, 65535, "Static"), 1, 1);
        grid->addWidget(Add<QLineEdit>(group, nullptr, 1050, "edit text"), 2, 0);
        ExcludeFromTranslation(*Add<QLabel>(&window, layout, 1700, "Chronel 2.1"));
        combo = Add<QComboBox>(&window, layout, 1043);
        combo->addItems({"One", "2", "Three"});
        combo->setCurrentIndex(2);
        Add<QListWidget>(&window, layout, 1047)->addItems({"Difference", "Calculation"});
        tree = Add<QTreeWidget>(&window, layout, 1500);
        tree->setHeaderLabels({"Name", "Value"});
        tree->addTopLevelItem(new QTreeWidgetItem(QStringList{"Row A", "x"}));
        tree->addTopLevelItem(new QTreeWidgetItem(QStringList{"10", "y"}));
        sheet = Add<QStackedWidget>(&window, layout, 0);
        auto* general = new QWidget;
        general->setWindowTitle("General");
        Add<QLabel>(general, new QVBoxLayout(general), 1600, "Day:");
        sheet->addWidget(general);
        auto* info = new QWidget;
        info->setWindowTitle("Time Info");
        nested = Add<QTabWidget>(info, new QVBoxLayout(info), 0);
        auto* moon = new QWidget;
        Add<QPushButton>(moon, new QVBoxLayout(moon), 1110, "Tim&e Info");
        nested->addTab(moon, "Moon");
        sheet->addWidget(info);
        sheet->setCurrentIndex(1);
    }
    QString Text(int id) const
    {
        const QWidget* control = FindControl(window, id);
        if (auto* button = qobject_cast<const QAbstractButton*>(control)) {
            return button->text();
        }
        if (auto* edit = qobject_cast<const QLineEdit*>(control)) {
            return edit->text();
        }
        return control != nullptr ? qobject_cast<const QLabel*>(control)->text() : QString();
    }

    QWidget window;
    QComboBox* combo;
    QTreeWidget* tree;
    QStackedWidget* sheet;
    QTabWidget* nested;
};

class TranslationTest : public ::testing::Test {
protected:
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
    EXPECT_FALSE(TranslateWindow(m_table, true, true, nullptr, 131, 0, section));
    EXPECT_FALSE(TranslateWindow(m_table, true, true, &dialog.window, 0, 0, section));
    EXPECT_EQ(section, "");
    ASSERT_TRUE(TranslateWindow(m_table, true, true, &dialog.window, 131, 0, section));
    EXPECT_EQ(section, "DialogID_131");
    EXPECT_EQ(dialog.sheet->currentIndex(), 1);
    // A page on its own, below a given dialog's section.
    section = "DialogID_144";
    EXPECT_TRUE(TranslateWindow(m_table, true, false, dialog.sheet->widget(0), 144, 3, section));
    EXPECT_EQ(section, "DialogID_144");
    EXPECT_EQ(Written(), "\n[DialogID_131]\nID_0=Templates\nID_1069=Input data:\nID_1300=Group\nID_1009=C&urrent\n"
                         "ID_1003=&Now\n\n[DialogID_131 - ComboBoxID_1043]\nID_0=One\nID_2=Three\n\n"
                         "[DialogID_131 - ListBoxID_1047]\nID_0=Difference\nID_1=Calculation\n\n"
                         "[DialogID_131 - ListCtrlID_1500]\nID_0=Row A\nID_1000=Name\nID_1001=Value\n\n"
                         "[DialogID_131 - PageNo_0]\nID_0=General\nID_1600=Day:\n\n[DialogID_131 - PageNo_1]\n"
                         "ID_0=Time Info\n\n[DialogID_131 - PageNo_1 - PageNo_0]\nID_0=Moon\nID_1110=Tim&e Info\n\n"
                         "[DialogID_144 - PageNo_3]\nID_1600=Day:\n");

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
    EXPECT_EQ(dialog.Text(1003), QString::fromUtf8("&Сейчас"));
    const std::pair<int, const char*> kept[] = {
        {1009, "C&urrent"}, {1400, "12.5 %"}, {65535, "Static"}, {1700, "Chronel 2.1"}, {1050, "edit text"}};
    for (const auto& [id, text] : kept) {
        EXPECT_EQ(dialog.Text(id), text) << id;
    }
    EXPECT_EQ(dialog.combo->itemText(1), "2");
    EXPECT_EQ(dialog.combo->itemText(2), "Drei");
    EXPECT_EQ(dialog.combo->currentIndex(), 2);
    EXPECT_EQ(dialog.tree->topLevelItem(1)->text(0), "10");
    EXPECT_EQ(dialog.tree->headerItem()->text(1), "Wert");
    EXPECT_EQ(dialog.nested->tabText(0), "Luna");
    EXPECT_EQ(dialog.Text(1110), "Info");
    EXPECT_EQ(Written(), written);
}

TEST_F(TranslationTest, MenusAndToolTipsKeepTheTextAfterTheTab)
{
    QMenuBar bar;
    QMenu* templateMenu = bar.addMenu("&Template");
    SetControlId(*templateMenu->addAction("&New...\tCtrl+N"), 32814);
    templateMenu->addSeparator();
    SetControlId(*templateMenu->addAction("&Delete\tCtrl+D"), 32815);
    bar.addMenu("&Edit")->addSeparator();
    SetControlId(*bar.actions()[1]->menu()->addAction("&Undo\tCtrl+Z"), 57643);
    QMenu* value = bar.addMenu("&Value");
    ExcludeFromTranslation(*value->menuAction());
    SetControlId(*value->addAction("Start &Date\tNovember 20, 2004"), 32895);
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
    EXPECT_EQ(Written(), "\n[MenuID_143]\nID_32814=&New...\nID_32815=&Delete\nSubID_32814=&Template\nID_57643=&Undo\n"
                         "ID_32847=&Hours Overall\nSubID_32847=Diff&erence\n\n[ToolBarID_146]\nID_32814=New Template\n"
                         "ID_32947=Insert Substitution from Difference\n");
    WriteFileBytes(m_folder / "german.lng",
                   "[MenuID_143]\nID_32814=&Neu...\nSubID_32814=&Vorlage\nSubID_57643=never\nID_32895=never\n"
                   "ID_32847=&Stunden gesamt\nSubID_32847=&Differenz\n[ToolBarID_146]\nID_32814=Neue Vorlage\n");
    m_table.Load("german");
    TranslateMenu(m_table, false, &bar, 143);
    TranslateToolBar(m_table, false, &tools, 146);
    const QList<QAction*> top = bar.actions();
    EXPECT_EQ(top[0]->text(), "&Vorlage");
    EXPECT_EQ(templateMenu->actions()[0]->text(), "&Neu...\tCtrl+N");
    EXPECT_EQ(templateMenu->actions()[2]->text(), "&Delete\tCtrl+D");
    EXPECT_EQ(top[1]->text(), "&Edit");   // its first item is a separator
    EXPECT_EQ(value->actions()[0]->text(), "Start &Date\tNovember 20, 2004");
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

}  // namespace
