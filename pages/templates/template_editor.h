#pragma once

#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QToolBar>

#include <functional>
#include <memory>
#include <string>

#include "core/clock.h"
#include "core/locale_format.h"
#include "core/program_location.h"
#include "pages/templates/collated_name_order.h"
#include "pages/templates/editor_command_states.h"
#include "pages/templates/template_file_actions.h"
#include "pages/templates/template_menus.h"
#include "settings/language_table.h"
#include "settings/settings_store.h"
#include "templates/substitution.h"
#include "templates/template_list.h"
#include "templates/template_store.h"
#include "widgets/icon_menu.h"
#include "widgets/icon_tool_bar.h"

namespace Ui {
class TemplateEditor;
}

// The template editor: the templates of the template folder on the left, the selected one's text on
// the right, menus and a toolbar that insert macros or current values, and buttons that expand the text
// into a file or onto the clipboard. Every way of closing or switching saves what was typed, and only that.
class TemplateEditor final : public QDialog {
    Q_OBJECT
public:
    struct Services {
        const MacroValueSource& pages;
        const Clock& clock;
        const LocaleFormatter& formatter;
        const SettingsStore& settings;
        const ProgramLocation& location;
        const LanguageTable& language;
    };
    TemplateEditor(const Services& services, QWidget* parent = nullptr);
    ~TemplateEditor() override;

    // Lists the templates and builds the menus; false, after the error message, when the template folder
    // does not exist (the dialog is then not to be run).
    bool Open();

    // Runs a command of the menus, the toolbar or the accelerators by its id.
    void RunCommand(int commandId);
    int CurrentTemplate() const { return m_list.Current(); }
    const TemplateMenus& Menus() const { return m_menus; }

    void reject() override;

    // Seams for tests: message boxes (returns the button pressed), file choosers, the name dialog, and
    // opening the preview file with the desktop's viewer.
    AskFunction ask;
    ChooseFileFunction chooseFile;
    std::function<bool(std::string& name)> askName;
    OpenFileFunction openFile;

private:
    void BuildToolBar();
    void PrepareMenus();
    // Runs the command of every item of `menu` and its sub-menus when the item is chosen.
    void ConnectItems(const QMenu& menu);
    // Enables each command by the selection, the text and the clipboard whenever one of them changes.
    void FollowCommandStates();
    void UpdateCommandStates();
    void LoadEntry(int row);
    void SaveCurrent();
    // A template is selected and its text may be changed.
    bool Editable() const;
    void SaveCurrentAndRemember();
    void OnSelectionChanged();
    void OnContextMenu(const QPoint& point);
    bool RunEditCommand(EditorCommand command);
    void PopUpDropDown(int commandId);
    void InsertFromMenu(int commandId);
    void NewTemplate();
    void DeleteTemplate();
    void SaveExpanded();
    void CopyExpanded();
    // The field's text as its file holds it.
    std::string FieldText() const;

    Services m_services;
    std::unique_ptr<Ui::TemplateEditor> m_ui;
    TemplateStore m_store;
    CollatedNameOrder m_order;
    TemplateList m_list;
    TemplateFileActions m_files;
    TemplateMenus m_menus;
    QToolBar* m_toolBar = nullptr;
    std::unique_ptr<IconToolBar> m_toolBarLook;   // draws m_toolBar's buttons
    std::unique_ptr<IconMenu> m_menuIcons;        // draws m_menus
    std::unique_ptr<EditorCommandStates> m_commandStates;
    QLabel* m_readOnlyNote = nullptr;   // why the shown template cannot be edited
    QString m_hint;                     // shown in the empty field while no template is selected
    bool m_clipboardHasText = false;    // as of the clipboard's last change
};
