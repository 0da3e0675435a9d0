#pragma once

#include <functional>

class QToolBar;
class QWidget;

// Commands of the template editor's menus, toolbar and accelerators.
enum EditorCommand {
    kNew = 32814,
    kDelete = 32815,
    kPreview = 32892,
    kInsertFile = 32816,
    kSaveTextFile = 32818,
    kUndo = 57643,
    kCut = 57635,
    kCopy = 57634,
    kPaste = 57637,
    kClear = 57632,
    kSelectAll = 57642,
    kCurrentDateMacro = 32865,
    kCurrentTimeMacro = 32866,
    kFirstDropDown = 32947,   // Substitution Difference, Calculation, Time Info, then the three Value ones
    kLastDropDown = 32952,
};

// The editor's toolbar: New, Delete | Preview | Insert Text, Save Text | Undo | Cut, Copy, Paste | Clear |
// the three Substitution drop-downs | the three Value drop-downs, each button carrying its command id
// and the tooltip the language walk translates. A click runs `run` with the command.
QToolBar* BuildEditorToolBar(QWidget& parent, const std::function<void(int command)>& run);
