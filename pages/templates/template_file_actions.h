#pragma once

#include <QMessageBox>

#include <functional>
#include <string>

#include "core/clock.h"
#include "core/file_access.h"
#include "core/locale_format.h"
#include "settings/language_table.h"
#include "templates/substitution.h"

class QPlainTextEdit;

// A message box: returns the button pressed.
using AskFunction =
    std::function<QMessageBox::StandardButton(QMessageBox::Icon, const QString&, QMessageBox::StandardButtons)>;
// A file chooser in its Save or Open form: true with the chosen path.
using ChooseFileFunction = std::function<bool(bool save, std::string& path)>;
// Opens a file with the desktop's viewer: false when no program could be started.
using OpenFileFunction = std::function<bool(const std::string& path)>;

// What the template editor does with files: expanding a template for the preview or for a text file,
// inserting a text file into the field, and the error boxes these end in.
class TemplateFileActions {
public:
    struct Services {
        const MacroValueSource& pages;
        const Clock& clock;
        const LocaleFormatter& formatter;
        const LanguageTable& language;
    };
    // The dialogs are the editor's own seams, read at each use.
    struct Dialogs {
        const AskFunction& ask;
        const ChooseFileFunction& chooseFile;
        const OpenFileFunction& openFile;
    };
    TemplateFileActions(const Services& services, const Dialogs& dialogs);

    // The template text with its macros expanded; warns when the result had to be cut.
    std::string Expanded(std::string text) const;
    // Writes the expanded text to the private preview file and opens it in the desktop's viewer.
    void Preview(const std::string& text) const;
    // Puts a chosen text file into the field, replacing or appending as the user answers when the field
    // holds text, and marks the field edited.
    void InsertFile(QPlainTextEdit& field) const;
    // Writes `text` into a chosen file.
    void SaveToChosenFile(const std::string& text) const;

    QString Message(int id) const;
    // An error box: the message and the subject in double quotes.
    void Fail(int messageId, const std::string& subject) const;

private:
    Services m_services;
    Dialogs m_dialogs;
};
