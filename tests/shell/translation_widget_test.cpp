#include "shell/translation_widget.h"

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
#include "shell/ini_file.h"
#include "shell/language_table.h"
#include "widgets/control_id_widget.h"

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
        heading = Add<QLabel>(&window, layout, 1069, "Input data:");
        auto* group = Add<QGroupBox>(&window, layout, 1300, "Group");
        auto* grid = new QGridLayout(group);
        now = Add<QPushButton>(group, nullptr, 1003, "&Now");
        grid->addWidget(now, 0, 1);
        current = Add<QCheckBox>(group, nullptr, 1009, "C&urrent");
        grid->addWidget(current, 0, 0);
        digits = Add<QLabel>(group, nullptr, 1400, "12.5 %");
        grid->addWidget(digits, 1, 0);
        unaddressed = Add<QLabel>(group, nullptr, 65535, "Static");
        grid->addWidget(unaddressed, 1, 1);
        edit = Add<QLineEdit>(group, nullptr, 1050, "edit text");
        grid->addWidget(edit, 2, 0);
        excluded = Add<QLabel>(&window, layout, 1700, "Chronel 2.1");
        ExcludeFromTranslation(*excluded);
        combo = Add<QComboBox>(&window, layout, 1043);
        combo->addItems({"One", "2", "Three"});
        combo->setCurrentIndex(2);
        list = Add<QListWidget>(&window, layout, 1047);
        list->addItems({"Difference", "Calculation"});
        tree = Add<QTreeWidget>(&window, layout, 1500);
        tree->setHeaderLabels({"Name", "Value"});
        tree->addTopLevelItem(new QTreeWidgetItem(QStringList{"Row A", "x"}));
        tree->addTopLevelItem(new QTreeWidgetItem(QStringList{"10", "y"}));
        sheet = Add<QStackedWidget>(&window, layout, 0);
        auto* general = new QWidget;
        general->setWindowTitle("General");
        dayLabel = Add<QLabel>(general, new QVBoxLayout(general), 1600, "Day:");
        sheet->addWidget(general);
        auto* info = new QWidget;
        info->setWindowTitle("Time Info");
        nested = Add<QTabWidget>(info, new QVBoxLayout(info), 0);
        auto* moon = new QWidget;
        moonButton = Add<QPushButton>(moon, new QVBoxLayout(moon), 1110, "Tim&e Info");
        nested->addTab(moon, "Moon");
        sheet->addWidget(info);
        sheet->setCurrentIndex(1);
    }

    QWidget window;
    QLabel* heading;
    QPushButton* now;
    QCheckBox* current;
    QLabel* digits;
    QLabel* unaddressed;
    QLineEdit* edit;
    QLabel* excluded;
    QComboBox* combo;
    QListWidget* list;
    QTreeWidget* tree;
    QStackedWidget* sheet;
    QLabel* dayLabel;
    QTabWidget* nested;
    QPushButton* moonButton;
};

class TranslationTest : public ::testing::Test {
protected:
    std::vector<IniEntry> EnglishEntries() const { return ListIniEntries(ReadFileBytes(m_folder / "english.lng")); }

    std::vector<std::string> KeysOf(const std::string& section) const
    {
        std::vector<std::string> keys;
        for (const IniEntry& entry : EnglishEntries()) {
            if (entry.section == section) {
                keys.push_back(entry.key + "=" + entry.value);
            }
        }
        return keys;
    }

    TempFolder m_folder;
    FakeProgramLocation m_location{m_folder / "chronel"};
    LanguageTable m_table{m_location};
};

TEST_F(TranslationTest, WritesEveryTranslatableTextInTheOrderSeen)
{
    Dialog dialog;
    m_table.Load("english");
    std::string section;
    ASSERT_TRUE(TranslateWindow(m_table, true, true, &dialog.window, 131, 0, section));
    EXPECT_EQ(section, "DialogID_131");
    EXPECT_EQ(KeysOf("DialogID_131"), (std::vector<std::string>{"ID_0=Templates", "ID_1069=Input data:",
                                                                "ID_1300=Group", "ID_1009=C&urrent", "ID_1003=&Now"}));
    EXPECT_EQ(KeysOf("DialogID_131 - ComboBoxID_1043"), (std::vector<std::string>{"ID_0=One", "ID_2=Three"}));
    EXPECT_EQ(KeysOf("DialogID_131 - ListBoxID_1047"),
              (std::vector<std::string>{"ID_0=Difference", "ID_1=Calculation"}));
    EXPECT_EQ(KeysOf("DialogID_131 - ListCtrlID_1500"),
              (std::vector<std::string>{"ID_0=Row A", "ID_1000=Name", "ID_1001=Value"}));
    EXPECT_EQ(KeysOf("DialogID_131 - PageNo_0"), (std::vector<std::string>{"ID_0=General", "ID_1600=Day:"}));
    EXPECT_EQ(KeysOf("DialogID_131 - PageNo_1"), (std::vector<std::string>{"ID_0=Time Info"}));
    EXPECT_EQ(KeysOf("DialogID_131 - PageNo_1 - PageNo_0"), (std::vector<std::string>{"ID_0=Moon", "ID_1110=Tim&e Info"}));
    EXPECT_EQ(dialog.sheet->currentIndex(), 1);
}

TEST_F(TranslationTest, TranslatesFoundEntriesAndKeepsTheRest)
{
    Dialog dialog;
    WriteFileBytes(m_folder / "russian.lng",
                   "[DialogID_131]\nID_0=\xD0\xA8\xD0\xB0\xD0\xB1\xD0\xBB\xD0\xBE\xD0\xBD\xD1\x8B\nID_1003=&\xD0\xA1\xD0\xB5\xD0\xB9\xD1\x87\xD0\xB0\xD1\x81\n"
                   "ID_1400=never\nID_65535=never\nID_1700=never\nID_1050=never\n"
                   "[DialogID_131 - ComboBoxID_1043]\nID_2=Drei\nID_1=never\n"
                   "[DialogID_131 - ListCtrlID_1500]\nID_1=never\nID_1001=Wert\n"
                   "[DialogID_131 - PageNo_1 - PageNo_0]\nID_0=Luna\nID_1110=Info\n");
    m_table.Load("russian");
    std::string section;
    ASSERT_TRUE(TranslateWindow(m_table, false, true, &dialog.window, 131, 0, section));
    EXPECT_EQ(dialog.window.windowTitle(), QString::fromUtf8("\xD0\xA8\xD0\xB0\xD0\xB1\xD0\xBB\xD0\xBE\xD0\xBD\xD1\x8B"));
    EXPECT_EQ(dialog.now->text(), QString::fromUtf8("&\xD0\xA1\xD0\xB5\xD0\xB9\xD1\x87\xD0\xB0\xD1\x81"));
    EXPECT_EQ(dialog.current->text(), "C&urrent");
    EXPECT_EQ(dialog.digits->text(), "12.5 %");
    EXPECT_EQ(dialog.unaddressed->text(), "Static");
    EXPECT_EQ(dialog.excluded->text(), "Chronel 2.1");
    EXPECT_EQ(dialog.edit->text(), "edit text");
    EXPECT_EQ(dialog.combo->itemText(1), "2");
    EXPECT_EQ(dialog.combo->itemText(2), "Drei");
    EXPECT_EQ(dialog.combo->currentIndex(), 2);
    EXPECT_EQ(dialog.tree->topLevelItem(1)->text(0), "10");
    EXPECT_EQ(dialog.tree->headerItem()->text(1), "Wert");
    EXPECT_EQ(dialog.nested->tabText(0), "Luna");
    EXPECT_EQ(dialog.moonButton->text(), "Info");
    EXPECT_FALSE(std::filesystem::exists(m_folder / "english.lng") &&
                 ReadFileBytes(m_folder / "english.lng").find("DialogID") != std::string::npos);
}

TEST_F(TranslationTest, WalkNeedsAWindowAnIdAndALanguage)
{
    Dialog dialog;
    std::string section;
    EXPECT_FALSE(TranslateWindow(m_table, true, true, &dialog.window, 131, 0, section));
    m_table.Load("english");
    EXPECT_FALSE(TranslateWindow(m_table, true, true, nullptr, 131, 0, section));
    EXPECT_FALSE(TranslateWindow(m_table, true, true, &dialog.window, 0, 0, section));
    EXPECT_EQ(section, "");
    section = "DialogID_144";
    EXPECT_TRUE(TranslateWindow(m_table, true, false, dialog.sheet->widget(0), 144, 3, section));
    EXPECT_EQ(section, "DialogID_144");
    EXPECT_EQ(KeysOf("DialogID_144 - PageNo_3"), (std::vector<std::string>{"ID_1600=Day:"}));
}

struct Menus {
    Menus()
    {
        QMenu* templateMenu = bar.addMenu("&Template");
        SetControlId(*templateMenu->addAction("&New...\tCtrl+N"), 32814);
        templateMenu->addSeparator();
        SetControlId(*templateMenu->addAction("&Delete\tCtrl+D"), 32815);
        QMenu* edit = bar.addMenu("&Edit");
        edit->addSeparator();
        SetControlId(*edit->addAction("&Undo\tCtrl+Z"), 57643);
        QMenu* value = bar.addMenu("&Value");
        ExcludeFromTranslation(*value->menuAction());
        SetControlId(*value->addAction("Start &Date\tNovember 20, 2004"), 32895);
        QMenu* sub = bar.addMenu("&Substitution");
        QMenu* difference = sub->addMenu("Diff&erence");
        SetControlId(*difference->addAction("&Hours Overall \t%DH%"), 32847);
        SetControlId(*difference->addAction("12"), 32848);
    }

    QMenuBar bar;
};

TEST_F(TranslationTest, MenusKeepTheTextAfterTheTab)
{
    Menus menus;
    m_table.Load("english");
    TranslateMenu(m_table, true, &menus.bar, 143);
    EXPECT_EQ(KeysOf("MenuID_143"),
              (std::vector<std::string>{"ID_32814=&New...", "ID_32815=&Delete", "SubID_32814=&Template", "ID_57643=&Undo",
                                        "ID_32847=&Hours Overall", "SubID_32847=Diff&erence"}));
    WriteFileBytes(m_folder / "german.lng",
                   "[MenuID_143]\nID_32814=&Neu...\nSubID_32814=&Vorlage\nSubID_57643=never\nID_32895=never\n"
                   "ID_32847=&Stunden gesamt\nSubID_32847=&Differenz\n");
    m_table.Load("german");
    TranslateMenu(m_table, false, &menus.bar, 143);
    const QList<QAction*> top = menus.bar.actions();
    EXPECT_EQ(top[0]->text(), "&Vorlage");
    EXPECT_EQ(top[0]->menu()->actions()[0]->text(), "&Neu...\tCtrl+N");
    EXPECT_EQ(top[0]->menu()->actions()[2]->text(), "&Delete\tCtrl+D");
    EXPECT_EQ(top[1]->text(), "&Edit");   // its first item is a separator
    EXPECT_EQ(top[2]->menu()->actions()[0]->text(), "Start &Date\tNovember 20, 2004");
    QMenu* difference = top[3]->menu()->actions()[0]->menu();
    EXPECT_EQ(difference->menuAction()->text(), "&Differenz");
    EXPECT_EQ(difference->actions()[0]->text(), "&Stunden gesamt\t%DH%");
}

TEST_F(TranslationTest, ToolTipsAlwaysStartFromTheOriginal)
{
    QToolBar bar;
    QAction* newTemplate = bar.addAction("New");
    newTemplate->setToolTip("New Template (Ctrl+N)");
    SetControlId(*newTemplate, 32814);
    bar.addSeparator();
    QAction* insert = bar.addAction("Insert");
    insert->setToolTip("Insert Substitution from Difference");
    SetControlId(*insert, 32947);
    QAction* anonymous = bar.addAction("Other");
    anonymous->setToolTip("Other (x)");

    m_table.Load("english");
    TranslateToolBar(m_table, true, &bar, 146);
    EXPECT_EQ(KeysOf("ToolBarID_146"),
              (std::vector<std::string>{"ID_32814=New Template", "ID_32947=Insert Substitution from Difference"}));
    WriteFileBytes(m_folder / "german.lng", "[ToolBarID_146]\nID_32814=Neue Vorlage\n");
    m_table.Load("german");
    TranslateToolBar(m_table, false, &bar, 146);
    EXPECT_EQ(newTemplate->toolTip(), "Neue Vorlage (Ctrl+N)");
    EXPECT_EQ(insert->toolTip(), "Insert Substitution from Difference");
    WriteFileBytes(m_folder / "empty.lng", "");
    m_table.Load("empty");
    TranslateToolBar(m_table, false, &bar, 146);
    EXPECT_EQ(newTemplate->toolTip(), "New Template (Ctrl+N)");
    EXPECT_EQ(anonymous->toolTip(), "Other (x)");
}

}  // namespace
