#include "pages/templates/editor_tool_bar.h"

#include <QAction>
#include <QToolBar>

#include "widgets/control_id.h"

namespace {

struct ToolButton {
    int command;
    const char* tooltip;
};

// 0 marks a separator.
constexpr ToolButton kToolButtons[] = {
    {CommandId(EditorCommand::New), "New Template (Ctrl+N)"},
    {CommandId(EditorCommand::Delete), "Delete Template (Ctrl+D)"},
    {0, nullptr},
    {CommandId(EditorCommand::Preview), "Preview (Ctrl+P)"},
    {0, nullptr},
    {CommandId(EditorCommand::InsertFile), "Insert Text from File (Ctrl+O)"},
    {CommandId(EditorCommand::SaveTextFile), "Save Text to File (Ctrl+S)"},
    {0, nullptr},
    {CommandId(EditorCommand::Undo), "Undo (Ctrl+Z)"},
    {0, nullptr},
    {CommandId(EditorCommand::Cut), "Cut (Ctrl+X)"},
    {CommandId(EditorCommand::Copy), "Copy (Ctrl+C)"},
    {CommandId(EditorCommand::Paste), "Paste (Ctrl+V)"},
    {0, nullptr},
    {CommandId(EditorCommand::Clear), "Clear (Del)"},
    {0, nullptr},
    {32947, "Insert Substitution from Difference"},
    {32948, "Insert Substitution from Calculation"},
    {32949, "Insert Substitution from Time Info"},
    {0, nullptr},
    {32950, "Insert Value from Difference"},
    {32951, "Insert Value from Calculation"},
    {32952, "Insert Value from Time Info"},
};

}   // namespace

QToolBar* BuildEditorToolBar(QWidget& parent, const std::function<void(int command)>& run)
{
    auto* toolBar = new QToolBar(&parent);
    toolBar->setIconSize(QSize(16, 16));
    for (const ToolButton& button : kToolButtons) {
        if (button.command == 0) {
            toolBar->addSeparator();
            continue;
        }
        QAction* action = toolBar->addAction(QString::fromLatin1(button.tooltip));
        SetControlId(*action, button.command);
        action->setToolTip(QString::fromLatin1(button.tooltip));
        const int command = button.command;
        QObject::connect(action, &QAction::triggered, toolBar, [run, command] { run(command); });
    }
    return toolBar;
}
