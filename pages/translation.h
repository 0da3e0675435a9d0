#pragma once

#include <string>

class LanguageTable;
class QObject;
class QToolBar;
class QWidget;

// The language walks over Qt windows, menus and toolbars. Controls, menu items and toolbar buttons are
// found by their "controlId" property; those without one are never translated. With `writeDefaults` each
// text is first written into english.lng as it stands, so that file offers every text under the key it is
// looked up by.

// Marks a control, menu item or toolbar button so that no walk touches it or anything inside it.
void ExcludeFromTranslation(QObject& object);
bool IsExcludedFromTranslation(const QObject& object);

// Translates a window and everything in it, in the order the user sees it (layouts, group boxes and
// frames are walked through). The window's section is "<parentSection> - PageNo_<pageIndex>" when
// `parentSection` is not empty, else "DialogID_<dialogId>", which is then handed back in `parentSection`.
// With `translateCaption` the window's caption is key ID_0 (a page's caption is its tab text in a
// QTabWidget, its window title in a QStackedWidget). Buttons, labels and group boxes: key ID_<id>, a
// missing entry leaves the text as it is. Combo boxes, list widgets and tree or table widgets: their
// items in "<section> - ComboBoxID_<id>", "- ListBoxID_<id>" or "- ListCtrlID_<id>" under ID_<row> (and
// ID_<1000 + column> for headers). A QTabWidget or QStackedWidget is a sheet whose pages are walked as
// windows of their own. Date pickers take the language's date format (message 118). False, changing
// nothing, for a null window, a dialog id below 1 or no language.
bool TranslateWindow(const LanguageTable& table, bool writeDefaults, bool translateCaption, QWidget* window,
                     int dialogId, int pageIndex, std::string& parentSection);

// Translates a QMenu or QMenuBar and its sub-menus in section "MenuID_<menuId>": a command item under
// ID_<its id>, a sub-menu's own title under SubID_<id of its first item> (kept when that item is a
// separator or a sub-menu). Only the part before a tab is translated; the tab and what follows (a
// shortcut, a macro) stay.
void TranslateMenu(const LanguageTable& table, bool writeDefaults, QWidget* menu, int menuId);

// Translates the tooltips of a toolbar's buttons in section "ToolBarID_<toolBarId>", key ID_<id>: the part
// before " (" of the button's original tooltip ("New Template (Ctrl+N)"); the rest is kept. The original
// stays the source, so a language without an entry shows the English tooltip again.
void TranslateToolBar(const LanguageTable& table, bool writeDefaults, QToolBar* toolBar, int toolBarId);
