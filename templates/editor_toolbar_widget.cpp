#include "templates/editor_toolbar_widget.h"

#include <QAction>
#include <QStyle>
#include <QToolBar>

#include "widgets/control_id_widget.h"

namespace {

struct ToolButton {
    int command;
    const char* tooltip;
    const char* themeIcon;
    QStyle::StandardPixmap fallback;
};

// 0 marks a separator.
constexpr ToolButton kToolButtons[] = {
    {kNew, "New Template (Ctrl+N)", "document-new", QStyle::SP_FileIcon},
    {kDelete, "Delete Template (Ctrl+D)", "edit-delete", QStyle::SP_TrashIcon},
    {0, nullptr, nullptr, QStyle::SP_CustomBase},
    {kPreview, "Preview (Ctrl+P)", "document-print-preview", QStyle::SP_FileDialogContentsView},
    {0, nullptr, nullptr, QStyle::SP_CustomBase},
    {kInsertFile, "Insert Text from File (Ctrl+O)", "document-open", QStyle::SP_DialogOpenButton},
    {kSaveTextFile, "Save Text to File (Ctrl+S)", "document-save", QStyle::SP_DialogSaveButton},
    {0, nullptr, nullptr, QStyle::SP_CustomBase},
    {kUndo, "Undo (Ctrl+Z)", "edit-undo", QStyle::SP_ArrowBack},
    {0, nullptr, nullptr, QStyle::SP_CustomBase},
    {kCut, "Cut (Ctrl+X)", "edit-cut", QStyle::SP_DialogDiscardButton},
    {kCopy, "Copy (Ctrl+C)", "edit-copy", QStyle::SP_FileDialogDetailedView},
    {kPaste, "Paste (Ctrl+V)", "edit-paste", QStyle::SP_FileDialogListView},
    {0, nullptr, nullptr, QStyle::SP_CustomBase},
    {kClear, "Clear (Del)", "edit-clear", QStyle::SP_DialogResetButton},
    {0, nullptr, nullptr, QStyle::SP_CustomBase},
    {32947, "Insert Substitution from Difference", nullptr, QStyle::SP_CustomBase},
    {32948, "Insert Substitution from Calculation", nullptr, QStyle::SP_CustomBase},
    {32949, "Insert Substitution from Time Info", nullptr, QStyle::SP_CustomBase},
    {0, nullptr, nullptr, QStyle::SP_CustomBase},
    {32950, "Insert Value from Difference", nullptr, QStyle::SP_CustomBase},
    {32951, "Insert Value from Calculation", nullptr, QStyle::SP_CustomBase},
    {32952, "Insert Value from Time Info", nullptr, QStyle::SP_CustomBase},
};

// The drop-downs show short texts until they get icons of their own.
const char* const kDropDownTexts[] = {"%D", "%C", "%I", "D", "C", "I"};

}  // namespace

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
        if (button.themeIcon != nullptr) {
            action->setIcon(QIcon::fromTheme(QString::fromLatin1(button.themeIcon),
                                             parent.style()->standardIcon(button.fallback)));
        } else {
            action->setText(QString::fromLatin1(kDropDownTexts[button.command - kFirstDropDown]));
        }
        const int command = button.command;
        QObject::connect(action, &QAction::triggered, toolBar, [run, command] { run(command); });
    }
    return toolBar;
}
