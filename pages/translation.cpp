#include "pages/translation.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>

#include <algorithm>
#include <optional>
#include <vector>

#include "settings/language_table.h"
#include "widgets/control_id.h"
#include "widgets/pickers.h"

namespace {

constexpr char kExcludedProperty[] = "excludedFromTranslation";
constexpr char kSourceToolTipProperty[] = "sourceToolTip";
constexpr int kListHeaderKeyBase = 1000;

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

QString FromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string IdKey(int id)
{
    return "ID_" + std::to_string(id);
}

// Ids 65535 and -1 mark controls that are never addressed; 0 means the control carries no id.
bool HasUsableId(const QObject& object)
{
    const int id = ControlId(object);
    return id != 0 && id != 65535 && id != -1;
}

class Walk {
public:
    Walk(const LanguageTable& table, bool writeDefaults) : m_table(table), m_writeDefaults(writeDefaults) {}

    // The text through the file: written as the default with the flag, then read with an empty
    // default; empty when the file has no entry.
    std::optional<QString> Translated(const std::string& section, const std::string& key, const QString& current) const
    {
        if (m_writeDefaults) {
            m_table.WriteDefault(section, key, Utf8(current));
        }
        const std::string result = m_table.ReadEntry(section, key, {});
        if (result.empty()) {
            return std::nullopt;
        }
        return FromUtf8(result);
    }

    // Like Translated, but read with the current text as the default.
    QString TranslatedOrKept(const std::string& section, const std::string& key, const QString& current) const
    {
        const std::string text = Utf8(current);
        if (m_writeDefaults) {
            m_table.WriteDefault(section, key, text);
        }
        const QString result = FromUtf8(m_table.ReadEntry(section, key, text));
        // Profile values are trimmed: an entry that differs from the text only by its outer blanks is the
        // same text, and keeping the original keeps a label's deliberate trailing blank.
        return result == current.trimmed() ? current : result;
    }

    void Window(QWidget& window, bool translateCaption, int pageIndex, const std::string& section,
                QTabWidget* tabSheet) const;

private:
    void Children(QWidget& parent, const std::string& section) const;
    void Child(QWidget& child, const std::string& section) const;
    void Sheet(QWidget& sheet, const std::string& section) const;
    void Items(QWidget& list, const std::string& section) const;
    void ListControl(QWidget& list, const std::string& section) const;

    const LanguageTable& m_table;
    bool m_writeDefaults;
};

// The layout's item indices in reading order: grids and forms by row, then column; others as added.
std::vector<int> ItemsInReadingOrder(QLayout& layout)
{
    std::vector<std::pair<std::pair<int, int>, int>> keyed;
    for (int i = 0; i < layout.count(); ++i) {
        int row = 0;
        int column = i;
        if (auto* grid = qobject_cast<QGridLayout*>(&layout)) {
            int rowSpan = 0;
            int columnSpan = 0;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        } else if (auto* form = qobject_cast<QFormLayout*>(&layout)) {
            QFormLayout::ItemRole role = QFormLayout::LabelRole;
            form->getItemPosition(i, &row, &role);
            column = static_cast<int>(role);
        }
        keyed.push_back({{row, column}, i});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<int> order;
    for (const auto& item : keyed) {
        order.push_back(item.second);
    }
    return order;
}

void CollectLayout(QLayout& layout, const QWidget& parent, std::vector<QWidget*>& out)
{
    for (const int i : ItemsInReadingOrder(layout)) {
        QLayoutItem* item = layout.itemAt(i);
        if (QWidget* widget = item->widget(); widget != nullptr && widget->parentWidget() == &parent) {
            out.push_back(widget);
        } else if (QLayout* inner = item->layout()) {
            CollectLayout(*inner, parent, out);
        }
    }
}

// Direct child widgets in the order the user sees them: the layout's order first, then any widget placed
// outside the layout in creation order. Separate windows (menus, dialogs) are not part of the window.
std::vector<QWidget*> ChildrenInOrder(QWidget& parent)
{
    std::vector<QWidget*> ordered;
    if (QLayout* layout = parent.layout()) {
        CollectLayout(*layout, parent, ordered);
    }
    for (QObject* object : parent.children()) {
        auto* widget = qobject_cast<QWidget*>(object);
        if (widget != nullptr && !widget->isWindow() &&
            std::find(ordered.begin(), ordered.end(), widget) == ordered.end()) {
            ordered.push_back(widget);
        }
    }
    return ordered;
}

void Walk::Window(QWidget& window, bool translateCaption, int pageIndex, const std::string& section,
                  QTabWidget* tabSheet) const
{
    if (translateCaption) {
        const QString caption = tabSheet != nullptr ? tabSheet->tabText(pageIndex) : window.windowTitle();
        if (!caption.isEmpty()) {
            const QString result = TranslatedOrKept(section, IdKey(0), caption);
            if (tabSheet != nullptr) {
                tabSheet->setTabText(pageIndex, result);
            } else {
                window.setWindowTitle(result);
            }
        }
    }
    Children(window, section);
}

void Walk::Children(QWidget& parent, const std::string& section) const
{
    for (QWidget* child : ChildrenInOrder(parent)) {
        Child(*child, section);
    }
}

void Walk::Child(QWidget& child, const std::string& section) const
{
    if (IsExcludedFromTranslation(child)) {
        return;
    }
    if (qobject_cast<QTabWidget*>(&child) != nullptr || qobject_cast<QStackedWidget*>(&child) != nullptr) {
        Sheet(child, section);
        return;
    }
    if (qobject_cast<QComboBox*>(&child) != nullptr || qobject_cast<QListWidget*>(&child) != nullptr) {
        Items(child, section);
        return;
    }
    if (qobject_cast<QTreeWidget*>(&child) != nullptr || qobject_cast<QTableWidget*>(&child) != nullptr) {
        ListControl(child, section);
        return;
    }
    auto* button = qobject_cast<QAbstractButton*>(&child);
    auto* label = qobject_cast<QLabel*>(&child);
    auto* group = qobject_cast<QGroupBox*>(&child);
    if (button != nullptr || label != nullptr || group != nullptr) {
        const QString text = button != nullptr ? button->text() : label != nullptr ? label->text() : group->title();
        if (HasUsableId(child) && IsTranslatableText(Utf8(text))) {
            if (const std::optional<QString> result = Translated(section, IdKey(ControlId(child)), text)) {
                if (button != nullptr) {
                    button->setText(*result);
                } else if (label != nullptr) {
                    label->setText(*result);
                } else {
                    group->setTitle(*result);
                }
            }
        }
        if (group != nullptr) {
            Children(child, section);
        }
        return;
    }
    if (auto* scroll = qobject_cast<QScrollArea*>(&child)) {
        if (QWidget* content = scroll->widget(); content != nullptr && !IsExcludedFromTranslation(*content)) {
            Children(*content, section);
        }
        return;
    }
    if (auto* date = qobject_cast<QDateEdit*>(&child)) {
        // Each language orders the parts of a date its own way; the locale still names the month.
        SetDatePickerFormat(*date, FromUtf8(m_table.GetString(kPickerFormatMessage)));
        return;
    }
    // Edits, other pickers, spins, bars and views are never touched. Anything else is walked through: frames
    // and panels hold controls of this window, and inside a composite control nothing carries an id.
    if (qobject_cast<QAbstractScrollArea*>(&child) != nullptr || qobject_cast<QAbstractSpinBox*>(&child) != nullptr ||
        qobject_cast<QLineEdit*>(&child) != nullptr || qobject_cast<QMenuBar*>(&child) != nullptr ||
        qobject_cast<QToolBar*>(&child) != nullptr || qobject_cast<QTabBar*>(&child) != nullptr) {
        return;
    }
    Children(child, section);
}

void Walk::Sheet(QWidget& sheet, const std::string& section) const
{
    auto* tabs = qobject_cast<QTabWidget*>(&sheet);
    auto* stack = qobject_cast<QStackedWidget*>(&sheet);
    const int count = tabs != nullptr ? tabs->count() : stack->count();
    const int active = tabs != nullptr ? tabs->currentIndex() : stack->currentIndex();
    for (int index = 0; index < count; ++index) {
        QWidget* page = tabs != nullptr ? tabs->widget(index) : stack->widget(index);
        if (page != nullptr && !IsExcludedFromTranslation(*page)) {
            Window(*page, true, index, section + " - PageNo_" + std::to_string(index), tabs);
        }
    }
    if (tabs != nullptr) {
        tabs->setCurrentIndex(active);
    } else {
        stack->setCurrentIndex(active);
    }
}

void Walk::Items(QWidget& list, const std::string& section) const
{
    auto* combo = qobject_cast<QComboBox*>(&list);
    auto* listWidget = qobject_cast<QListWidget*>(&list);
    const int count = combo != nullptr ? combo->count() : listWidget->count();
    if (!HasUsableId(list) || count == 0) {
        return;
    }
    const std::string itemSection =
        section + (combo != nullptr ? " - ComboBoxID_" : " - ListBoxID_") + std::to_string(ControlId(list));
    const int selected = combo != nullptr ? combo->currentIndex() : listWidget->currentRow();
    for (int index = 0; index < count; ++index) {
        const QString text = combo != nullptr ? combo->itemText(index) : listWidget->item(index)->text();
        if (!IsTranslatableText(Utf8(text))) {
            continue;
        }
        if (const std::optional<QString> result = Translated(itemSection, IdKey(index), text)) {
            if (combo != nullptr) {
                combo->setItemText(index, *result);
            } else {
                listWidget->item(index)->setText(*result);
            }
        }
    }
    if (combo != nullptr) {
        combo->setCurrentIndex(selected);
    } else {
        listWidget->setCurrentRow(selected);
    }
}

void Walk::ListControl(QWidget& list, const std::string& section) const
{
    auto* tree = qobject_cast<QTreeWidget*>(&list);
    auto* table = qobject_cast<QTableWidget*>(&list);
    const int columns = tree != nullptr ? tree->columnCount() : table->columnCount();
    if (!HasUsableId(list) || columns == 0) {
        return;
    }
    const std::string listSection = section + " - ListCtrlID_" + std::to_string(ControlId(list));
    const auto translate = [&](int key, const QString& text, auto apply) {
        if (IsTranslatableText(Utf8(text))) {
            if (const std::optional<QString> result = Translated(listSection, IdKey(key), text)) {
                apply(*result);
            }
        }
    };
    const int rows = tree != nullptr ? tree->topLevelItemCount() : table->rowCount();
    for (int row = 0; row < rows; ++row) {
        if (tree != nullptr) {
            QTreeWidgetItem* item = tree->topLevelItem(row);
            translate(row, item->text(0), [item](const QString& text) { item->setText(0, text); });
        } else if (QTableWidgetItem* item = table->item(row, 0)) {
            translate(row, item->text(), [item](const QString& text) { item->setText(text); });
        }
    }
    for (int column = 0; column < columns; ++column) {
        if (tree != nullptr) {
            QTreeWidgetItem* header = tree->headerItem();
            translate(kListHeaderKeyBase + column, header->text(column),
                      [header, column](const QString& text) { header->setText(column, text); });
        } else if (QTableWidgetItem* header = table->horizontalHeaderItem(column)) {
            translate(kListHeaderKeyBase + column, header->text(),
                      [header](const QString& text) { header->setText(text); });
        }
    }
}

void WalkMenu(const Walk& walk, const std::string& section, const QList<QAction*>& actions)
{
    for (QAction* action : actions) {
        if (IsExcludedFromTranslation(*action) || action->isSeparator()) {
            continue;
        }
        const QString text = action->text();
        if (!IsTranslatableText(Utf8(text))) {
            continue;
        }
        std::string key;
        if (QMenu* submenu = action->menu()) {
            WalkMenu(walk, section, submenu->actions());
            const QList<QAction*> items = submenu->actions();
            // A sub-menu is keyed by its first item; without a command there it keeps its title.
            if (items.isEmpty() || items.front()->isSeparator() || items.front()->menu() != nullptr ||
                !HasUsableId(*items.front())) {
                continue;
            }
            key = "SubID_" + std::to_string(ControlId(*items.front()));
        } else {
            if (!HasUsableId(*action)) {
                continue;
            }
            key = IdKey(ControlId(*action));
        }
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        const QString label = tab < 0 ? text : text.left(tab);
        const QString kept = tab < 0 ? QString() : text.mid(tab);
        action->setText(walk.TranslatedOrKept(section, key, label) + kept);
    }
}

}   // namespace

void ExcludeFromTranslation(QObject& object)
{
    object.setProperty(kExcludedProperty, true);
}

bool IsExcludedFromTranslation(const QObject& object)
{
    return object.property(kExcludedProperty).toBool();
}

bool TranslateWindow(const LanguageTable& table, bool writeDefaults, bool translateCaption, QWidget* window,
                     int dialogId, int pageIndex, std::string& parentSection)
{
    if (window == nullptr || dialogId < 1 || table.LanguageName().empty()) {
        return false;
    }
    std::string section;
    if (!parentSection.empty()) {
        section = parentSection + " - PageNo_" + std::to_string(pageIndex);
    } else {
        section = "DialogID_" + std::to_string(dialogId);
        parentSection = section;
    }
    Walk(table, writeDefaults).Window(*window, translateCaption, pageIndex, section, nullptr);
    return true;
}

void TranslateMenu(const LanguageTable& table, bool writeDefaults, QWidget* menu, int menuId)
{
    if (menu == nullptr) {
        return;
    }
    WalkMenu(Walk(table, writeDefaults), "MenuID_" + std::to_string(menuId), menu->actions());
}

void TranslateToolBar(const LanguageTable& table, bool writeDefaults, QToolBar* toolBar, int toolBarId)
{
    if (toolBar == nullptr) {
        return;
    }
    const Walk walk(table, writeDefaults);
    const std::string section = "ToolBarID_" + std::to_string(toolBarId);
    for (QAction* action : toolBar->actions()) {
        if (action->isSeparator() || IsExcludedFromTranslation(*action) || ControlId(*action) == 0) {
            continue;
        }
        // The first tooltip seen is the English original; every later walk starts from it again.
        if (!action->property(kSourceToolTipProperty).isValid()) {
            action->setProperty(kSourceToolTipProperty, action->toolTip());
        }
        const QString source = action->property(kSourceToolTipProperty).toString();
        if (source.isEmpty()) {
            continue;
        }
        const qsizetype split = source.indexOf(QLatin1String(" ("));
        const QString label = split < 0 ? source : source.left(split);
        const QString kept = split < 0 ? QString() : source.mid(split);
        action->setToolTip(walk.TranslatedOrKept(section, IdKey(ControlId(*action)), label) + kept);
    }
}
