// Screen-reader names, label mnemonics and Tab order of every window a user works in.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QCoreApplication>
#include <QGridLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>
#include <iterator>
#include <filesystem>
#include <map>

#include "info/time_info_page.h"
#include "app/main_window.h"
#include "fakes/ui_environment.h"
#include "templates/template_name_dialog.h"
#include "templates/template_editor.h"
#include "templates/text_file.h"

namespace {

constexpr int kPages = kAboutPage + 1;

QString AccessibleName(QWidget* widget) { return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name); }

// Whether a screen reader announces `label` with `control`: Qt reports a buddy label as a Label relation.
bool IsLabelledBy(QWidget* control, const QLabel* label)
{
    const auto relations = QAccessible::queryAccessibleInterface(control)->relations(QAccessible::Label);
    return std::any_of(relations.begin(), relations.end(), [&](const auto& r) { return r.first->object() == label; });
}

// The Alt+key that a label or button text binds; empty when the text marks none.
QString MnemonicKey(const QString& text) { return QKeySequence::mnemonic(text).toString(); }

// What Tab stops at below `root`: shown with it, enabled, taking Tab, not standing in for another widget.
bool IsTabStop(const QWidget& widget, const QWidget& root)
{
    return (widget.focusPolicy() & Qt::TabFocus) == Qt::TabFocus && widget.focusProxy() == nullptr &&
           widget.isVisibleTo(&root) && widget.isEnabled();
}

std::vector<QWidget*> TabStops(const QWidget& root)
{
    std::vector<QWidget*> stops;
    const auto all = root.findChildren<QWidget*>();
    std::copy_if(all.begin(), all.end(), std::back_inserter(stops), [&](QWidget* w) { return IsTabStop(*w, root); });
    return stops;
}

// The stops in the order Tab visits them, from the root's first descendant in the focus chain; the walk ends
// where the chain leaves the root, so a control placed elsewhere in the window's chain is missed.
std::vector<QWidget*> TabWalk(QWidget& root)
{
    std::vector<QWidget*> visited;
    for (QWidget* w = root.nextInFocusChain(); w != &root && root.isAncestorOf(w); w = w->nextInFocusChain()) {
        if (IsTabStop(*w, root)) {
            visited.push_back(w);
        }
    }
    return visited;
}

void AppendInReadingOrder(QWidget& widget, const QWidget& root, std::vector<QWidget*>& order);

void AppendInReadingOrder(QLayout& layout, const QWidget& root, std::vector<QWidget*>& order)
{
    std::vector<std::pair<std::pair<int, int>, QLayoutItem*>> items;
    for (int i = 0; i < layout.count(); ++i) {
        int row = i;
        int column = 0;
        int span = 0;
        if (auto* grid = qobject_cast<QGridLayout*>(&layout)) {
            grid->getItemPosition(i, &row, &column, &span, &span);
        }
        items.push_back({{row, column}, layout.itemAt(i)});
    }
    std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [cell, item] : items) {
        if (QWidget* widget = item->widget()) {
            AppendInReadingOrder(*widget, root, order);
        } else if (QLayout* inner = item->layout()) {
            AppendInReadingOrder(*inner, root, order);
        }
    }
}

// The order a reader expects: a grid row by row, a box from first to last, a nested block as a whole, a tab
// widget's tabs before its page.
void AppendInReadingOrder(QWidget& widget, const QWidget& root, std::vector<QWidget*>& order)
{
    if (&widget != &root && IsTabStop(widget, root)) {
        order.push_back(&widget);
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(&widget)) {
        AppendInReadingOrder(*tabs->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly), root, order);
        AppendInReadingOrder(*tabs->currentWidget(), root, order);
    } else if (widget.layout() != nullptr) {
        AppendInReadingOrder(*widget.layout(), root, order);
    } else {
        for (QWidget* child : widget.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            AppendInReadingOrder(*child, root, order);
        }
    }
}

std::vector<std::string> Names(const std::vector<QWidget*>& widgets)
{
    std::vector<std::string> names;
    for (const QWidget* w : widgets) {
        names.push_back(w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName().toStdString());
    }
    return names;
}

struct Window {
    std::string why;
    QWidget* root;
};

struct AccessibilityTest : ::testing::Test {
    UiEnvironment env;
    MainWindow window{AppServices{env.clock, env.formatter, env.settings, env.location, env.zones,
                                       env.clockSetter, env.timeChanges}};
    std::string folder = env.folder.filePath("templates").toStdString();
    std::unique_ptr<TemplateEditor> editor;
    std::unique_ptr<TemplateNameDialog> nameDialog;

    AccessibilityTest()
    {
        // One template, so the editor's list and text field are enabled and can take the focus.
        std::filesystem::create_directories(folder);
        WriteTextFile(folder + "/one.trt", "%DSD%", true);
        env.settings.WriteString(SettingId::TemplateFolder, folder);
        editor = std::make_unique<TemplateEditor>(TemplateEditor::Services{
            window.PageValues(), env.clock, env.formatter, env.settings, env.location, window.GetLanguageTable()});
        editor->ask = [](QMessageBox::Icon, const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; };
        EXPECT_TRUE(editor->Open());
        nameDialog = std::make_unique<TemplateNameDialog>(
            window.GetLanguageTable(), [this](const std::string& name) { return folder + "/" + name + ".trt"; });
    }

    TimeInfoPage& Info() { return *static_cast<TimeInfoPage*>(window.Page(kTimeInfoPage)); }

    std::vector<Window> Windows()
    {
        std::vector<Window> windows;
        for (int i = 0; i < kPages; ++i) {
            windows.push_back({"page " + window.Page(i)->windowTitle().toStdString(), window.Page(i)});
        }
        for (int i = 0; i < kInfoSubPageCount; ++i) {
            windows.push_back({"Time Info sub-page " + std::to_string(i), &Info().SubPage(InfoSubPageIndex(i))});
        }
        windows.push_back({"template editor", editor.get()});
        windows.push_back({"template name dialog", nameDialog.get()});
        windows.push_back({"main window", &window});
        return windows;
    }

    // Shows `root` as the user would reach it: its page (and tab) current, the Save and Copy buttons in the
    // state they have there.
    void Show(const Window& w)
    {
        QWidget* top = w.root->window();
        for (int i = 0; i < kPages; ++i) {
            if (window.Page(i) == w.root || window.Page(i)->isAncestorOf(w.root)) {
                window.findChild<QListWidget*>(QStringLiteral("pageList"))->setCurrentRow(i);
            }
        }
        for (int i = 0; i < kInfoSubPageCount; ++i) {
            if (&Info().SubPage(InfoSubPageIndex(i)) == w.root) {
                Info().findChild<QTabWidget*>()->setCurrentIndex(i);
            }
        }
        top->show();
        QCoreApplication::processEvents();
    }
};

// One walk over every window: names, labels, Tab order and mnemonics.
TEST_F(AccessibilityTest, EveryWindowIsNamedLabelledAndWalkedInOrder)
{
    for (const Window& w : Windows()) {
        SCOPED_TRACE(w.why);
        for (QWidget* stop : TabStops(*w.root)) {
            EXPECT_FALSE(AccessibleName(stop).trimmed().isEmpty()) << Names({stop})[0];
        }
        for (QLabel* label : w.root->findChildren<QLabel*>()) {
            SCOPED_TRACE(label->text().toStdString());
            if (!MnemonicKey(label->text()).isEmpty()) {
                EXPECT_NE(label->buddy(), nullptr) << "Alt+letter would go nowhere";
            }
            if (label->buddy() != nullptr) {
                // Qt names the buddy after the label, except a combo box, which on Linux takes its current
                // item as its name and reaches the reader with the label as a relation.
                const QString text = QString(label->text()).remove(QRegularExpression(QStringLiteral("&(?!&)")));
                EXPECT_TRUE(AccessibleName(label->buddy()) == text || IsLabelledBy(label->buddy(), label))
                    << "the reader cannot tell what " << label->buddy()->objectName().toStdString() << " is";
                EXPECT_NE(label->buddy()->focusPolicy() & Qt::TabFocus, 0) << "the mnemonic moves the focus";
            }
        }
        if (w.root == &window) {
            continue;   // its chain holds every page: the pages are walked one by one
        }
        std::vector<QWidget*> expected;
        AppendInReadingOrder(*w.root, *w.root, expected);
        EXPECT_EQ(expected.size(), TabStops(*w.root).size()) << "a control outside every layout";
        EXPECT_EQ(Names(TabWalk(*w.root)), Names(expected));
        // Everything the user sees at once binds its key: the page with the main window's buttons, a
        // sub-page with the Time Info inputs, a dialog with its menu bar.
        Show(w);
        QWidget& top = *w.root->window();
        std::map<QString, QStringList> owners;
        const auto add = [&](const QString& text) {
            if (!MnemonicKey(text).isEmpty()) {
                owners[MnemonicKey(text)].push_back(text);
            }
        };
        for (const QAbstractButton* button : top.findChildren<QAbstractButton*>()) {
            if (button->isVisible() && button->isEnabled()) {
                add(button->text());
            }
        }
        for (const QLabel* label : top.findChildren<QLabel*>()) {
            if (label->isVisible() && label->buddy() != nullptr) {
                add(label->text());
            }
        }
        for (const QMenuBar* bar : top.findChildren<QMenuBar*>()) {
            for (const QAction* menu : bar->actions()) {
                add(menu->text());
            }
        }
        for (const auto& [key, texts] : owners) {
            EXPECT_EQ(texts.size(), 1) << key.toStdString() << ": " << texts.join(", ").toStdString();
        }
        top.hide();
    }
}

}  // namespace
