// Screen-reader names, label mnemonics and Tab order of every window a user works in.
#include <gtest/gtest.h>

#include <QtWidgets>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>

#include "app/main_window.h"
#include "fakes/ui_environment.h"
#include "pages/info/time_info_page.h"
#include "pages/templates/template_editor.h"
#include "pages/templates/template_name_dialog.h"
#include "templates/text_file.h"

namespace {

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
    auto* grid = qobject_cast<QGridLayout*>(&layout);
    std::vector<std::pair<std::pair<int, int>, QLayoutItem*>> items;
    for (int i = 0, row = 0, column = 0, span = 0; i < layout.count(); ++i) {
        row = i;
        if (grid != nullptr) {
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

// A window to walk, and the page row and Time Info tab that show it (-1: none).
struct Window {
    std::string why;
    QWidget* root;
    int page = -1;
    int tab = -1;
};

struct AccessibilityTest : ::testing::Test {
    UiEnvironment env;
    MainWindow window{
        AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter, env.timeChanges}};
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

    std::vector<Window> Windows()
    {
        std::vector<Window> windows;
        for (int i = 0; i <= kAboutPage; ++i) {
            windows.push_back({"page " + window.Page(i)->windowTitle().toStdString(), window.Page(i), i});
        }
        auto& info = *static_cast<TimeInfoPage*>(window.Page(kTimeInfoPage));
        for (int i = 0; i < kInfoSubPageCount; ++i) {
            windows.push_back(
                {"Time Info tab " + std::to_string(i), &info.SubPage(InfoSubPageIndex(i)), kTimeInfoPage, i});
        }
        windows.push_back({"template editor", editor.get()});
        windows.push_back({"template name dialog", nameDialog.get()});
        windows.push_back({"main window", &window});
        return windows;
    }
};

TEST_F(AccessibilityTest, EveryWindowIsNamedLabelledAndWalkedInOrder)
{
    const auto name = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
    // The Alt+key that a label or button text binds; empty when the text marks none.
    const auto key = [](const QString& text) { return QKeySequence::mnemonic(text).toString(); };
    const auto ids = [](const std::vector<QWidget*>& widgets) {
        std::vector<std::string> out;
        for (const QWidget* w : widgets) {
            out.push_back(w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName().toStdString());
        }
        return out;
    };
    for (const Window& w : Windows()) {
        SCOPED_TRACE(w.why);
        for (QWidget* stop : TabStops(*w.root)) {
            EXPECT_FALSE(name(stop).trimmed().isEmpty()) << ids({stop})[0];
        }
        for (QLabel* label : w.root->findChildren<QLabel*>()) {
            SCOPED_TRACE(label->text().toStdString());
            EXPECT_TRUE(key(label->text()).isEmpty() || label->buddy() != nullptr) << "Alt+letter would go nowhere";
            if (QWidget* buddy = label->buddy()) {
                // Qt names the buddy after the label, except a combo box, which on Linux takes its current item
                // as its name and reaches the reader with the label as a Label relation.
                const QString text = QString(label->text()).remove(QRegularExpression(QStringLiteral("&(?!&)")));
                const auto labels = QAccessible::queryAccessibleInterface(buddy)->relations(QAccessible::Label);
                EXPECT_TRUE(name(buddy) == text ||
                            std::any_of(labels.begin(), labels.end(),
                                        [&](const auto& r) { return r.first->object() == label; }))
                    << "the reader cannot tell what " << ids({buddy})[0] << " is";
                EXPECT_NE(buddy->focusPolicy() & Qt::TabFocus, 0) << "the mnemonic moves the focus";
            }
        }
        if (w.root == &window) {
            continue;   // its chain holds every page: the pages are walked one by one
        }
        std::vector<QWidget*> expected;
        AppendInReadingOrder(*w.root, *w.root, expected);
        EXPECT_EQ(expected.size(), TabStops(*w.root).size()) << "a control outside every layout";
        EXPECT_EQ(ids(TabWalk(*w.root)), ids(expected));

        // Everything the user sees at once binds its key: the page with the main window's buttons and their
        // state there, a tab with the Time Info inputs, a dialog with its menu bar.
        if (w.page >= 0) {
            window.findChild<QListWidget*>(QStringLiteral("pageList"))->setCurrentRow(w.page);
        }
        if (w.tab >= 0) {
            window.Page(kTimeInfoPage)->findChild<QTabWidget*>()->setCurrentIndex(w.tab);
        }
        QWidget& top = *w.root->window();
        top.show();
        QCoreApplication::processEvents();
        std::map<QString, QStringList> owners;
        const auto add = [&](const QString& text, bool binds) {
            if (binds && !key(text).isEmpty()) {
                owners[key(text)].push_back(text);
            }
        };
        for (const QAbstractButton* button : top.findChildren<QAbstractButton*>()) {
            add(button->text(), button->isVisible() && button->isEnabled());
        }
        for (const QLabel* label : top.findChildren<QLabel*>()) {
            add(label->text(), label->isVisible() && label->buddy() != nullptr);
        }
        for (const QMenuBar* bar : top.findChildren<QMenuBar*>()) {
            for (const QAction* menu : bar->actions()) {
                add(menu->text(), true);
            }
        }
        for (const auto& [mnemonic, texts] : owners) {
            EXPECT_EQ(texts.size(), 1) << mnemonic.toStdString() << ": " << texts.join(", ").toStdString();
        }
        top.hide();
    }
}

}   // namespace
