#include "pages/templates/editor_command_states.h"

#include <QToolBar>

namespace {

constexpr EditorCommand kStatefulCommands[] = {
    EditorCommand::New,     EditorCommand::Delete, EditorCommand::InsertFile, EditorCommand::SaveTextFile,
    EditorCommand::Preview, EditorCommand::Undo,   EditorCommand::Cut,        EditorCommand::Copy,
    EditorCommand::Clear,   EditorCommand::Paste,  EditorCommand::SelectAll,
};

bool Enabled(EditorCommand command, const EditorState& s)
{
    switch (command) {
    case EditorCommand::Delete:
    case EditorCommand::SaveTextFile:
        return s.selected;
    case EditorCommand::InsertFile:
        return s.editable;
    case EditorCommand::Preview:
    case EditorCommand::SelectAll:
        return s.selected && s.hasText;
    case EditorCommand::Undo:
        return s.editable && s.undoAvailable;
    case EditorCommand::Cut:
    case EditorCommand::Clear:
        return s.editable && s.hasSelection;
    case EditorCommand::Copy:
        return s.selected && s.hasSelection;
    case EditorCommand::Paste:
        return s.editable && s.clipboardHasText;
    default:
        return true;
    }
}

}   // namespace

EditorCommandStates::EditorCommandStates(const TemplateMenus& menus, const QToolBar& toolBar, bool valueMenus)
{
    for (const EditorCommand command : kStatefulCommands) {
        for (const QWidget* owner :
             {static_cast<const QWidget*>(menus.bar.get()), static_cast<const QWidget*>(&toolBar)}) {
            if (QAction* action = FindCommand(*owner, CommandId(command))) {
                m_items.emplace_back(action, command);
            }
        }
    }
    for (int command = CommandId(EditorCommand::FirstDropDown); command <= CommandId(EditorCommand::LastDropDown);
         ++command) {
        if (QAction* action = FindCommand(toolBar, command)) {
            m_editingItems.push_back(action);
        }
    }
    if (valueMenus) {
        m_editingItems.push_back(menus.substitution->menuAction());
        m_editingItems.push_back(menus.value->menuAction());
    }
}

void EditorCommandStates::Apply(const EditorState& state) const
{
    for (const auto& [action, command] : m_items) {
        action->setEnabled(Enabled(command, state));
    }
    for (QAction* action : m_editingItems) {
        action->setEnabled(state.editable);
    }
}
