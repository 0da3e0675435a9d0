#pragma once

#include <utility>
#include <vector>

#include "pages/templates/editor_tool_bar.h"
#include "pages/templates/template_menus.h"

class QAction;
class QToolBar;

// What the editor's commands depend on.
struct EditorState {
    bool selected = false;        // a template is selected
    bool editable = false;        // ... and its text may be changed
    bool hasText = false;         // the field holds text
    bool hasSelection = false;    // ... of which some is selected
    bool undoAvailable = false;   // the field can undo an edit
    bool clipboardHasText = false;
};

// Enables the items of the editor's commands, in the menus and on the toolbar, by the state. The items
// are looked up once: the menus and the toolbar stay as they are built.
class EditorCommandStates {
public:
    // `valueMenus`: the Substitution and Value menus are enabled with the commands, which they are only
    // while there are pages whose values they insert.
    EditorCommandStates(const TemplateMenus& menus, const QToolBar& toolBar, bool valueMenus);

    void Apply(const EditorState& state) const;

private:
    std::vector<std::pair<QAction*, EditorCommand>> m_items;
    std::vector<QAction*> m_editingItems;   // enabled while the text may be changed
};
