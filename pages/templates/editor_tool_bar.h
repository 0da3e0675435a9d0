#pragma once

#include <functional>

class QToolBar;
class QWidget;

// Commands of the template editor's menus, toolbar and accelerators.
enum class EditorCommand : int {
    New = 32814,
    Delete = 32815,
    Preview = 32892,
    InsertFile = 32816,
    SaveTextFile = 32818,
    Undo = 57643,
    Cut = 57635,
    Copy = 57634,
    Paste = 57637,
    Clear = 57632,
    SelectAll = 57642,
    CurrentDateMacro = 32865,
    CurrentTimeMacro = 32866,
    FirstDropDown = 32947,   // Substitution Difference, Calculation, Time Info, then the three Value ones
    LastDropDown = 32952,
};

// The command's id: menu items and toolbar buttons carry it, and it keys their texts in the language files.
constexpr int CommandId(EditorCommand command)
{
    return static_cast<int>(command);
}

// The editor's toolbar: New, Delete | Preview | Insert Text, Save Text | Undo | Cut, Copy, Paste | Clear |
// the three Substitution drop-downs | the three Value drop-downs, each button carrying its command id
// and the tooltip the language walk translates. A click runs `run` with the command.
QToolBar* BuildEditorToolBar(QWidget& parent, const std::function<void(int command)>& run);
