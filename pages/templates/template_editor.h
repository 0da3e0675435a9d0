#pragma once

#include <QCollator>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QToolBar>

#include <functional>
#include <memory>
#include <string>

#include "core/clock.h"
#include "core/file_access.h"
#include "core/locale_format.h"
#include "core/program_location.h"
#include "pages/templates/template_menus.h"
#include "settings/language_table.h"
#include "settings/settings_store.h"
#include "templates/substitution.h"
#include "templates/template_store.h"
#include "widgets/icon_menu.h"
#include "widgets/icon_tool_bar.h"

class QListWidgetItem;
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
    // Enables each command by the selection, the text and the clipboard.
    void UpdateCommandStates();
    int CurrentTemplate() const { return m_current; }
    const TemplateMenus& Menus() const { return m_menus; }

    void reject() override;

    // Seams for tests: message boxes (returns the button pressed), file choosers, the name dialog, and
    // opening the preview file with the desktop's viewer.
    std::function<QMessageBox::StandardButton(QMessageBox::Icon, const QString&, QMessageBox::StandardButtons)> ask;
    std::function<bool(bool save, std::string& path)> chooseFile;
    std::function<bool(std::string& name)> askName;
    std::function<bool(const std::string& path)> openFile;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildToolBar();
    void PrepareMenus();
    // Runs the command of every item of `menu` and its sub-menus when the item is chosen.
    void ConnectItems(const QMenu& menu);
    void LoadEntry(int index);
    void SaveEntry(int index);
    // A template is selected and its text may be changed.
    bool Editable() const;
    void SaveCurrentAndRemember();
    void OnSelectionChanged();
    void OnContextMenu(const QPoint& point);
    void InsertFromMenu(int commandId);
    void NewTemplate();
    void DeleteTemplate();
    void Preview();
    void InsertTextFromFile();
    void SaveTextToFile();
    void SaveExpanded();
    void CopyExpanded();
    std::string Expanded() const;
    // The field's text with the line ends of the template it came from.
    std::string FieldText() const;
    QString Message(int id) const;
    void Fail(int messageId, const std::string& subject);
    void ReportFailedWrite(const WriteResult& result, const std::string& path);
    // A list entry for the template file named by `name`'s bytes, and those bytes back.
    void AddEntry(int row, const std::string& name);
    static std::string EntryName(const QListWidgetItem& item);
    int SortedPosition(const QString& name) const;

    Services m_services;
    std::unique_ptr<Ui::TemplateEditor> m_ui;
    TemplateStore m_store;
    TemplateMenus m_menus;
    QToolBar* m_toolBar = nullptr;
    std::unique_ptr<IconToolBar> m_toolBarLook;   // draws m_toolBar's buttons
    std::unique_ptr<IconMenu> m_menuIcons;        // draws m_menus
    QTimer m_stateTimer;
    QLabel* m_readOnlyNote = nullptr;   // why the shown template cannot be edited
    QString m_hint;                     // shown in the empty field while no template is selected
    QCollator m_collator;               // the user's order of names
    int m_current = -1;
    // The current template was loaded with CR LF line ends; the field itself keeps plain line feeds.
    bool m_crLf = false;
};
