#include "pages/templates/template_file_actions.h"

#include <QPlainTextEdit>

#include "templates/text_file.h"

namespace {

constexpr int kOpenFileErrorMessage = 42;
constexpr int kSaveFileErrorMessage = 43;
constexpr int kReplaceQuestion = 46;
constexpr int kPreviewWriteMessage = 56;
constexpr int kPreviewOpenMessage = 57;

// The preview's fixed name, in a folder only the user can enter.
constexpr std::string_view kPreviewFileName = "$$qv$$.txt";

}   // namespace

TemplateFileActions::TemplateFileActions(const Services& services, const Dialogs& dialogs)
    : m_services(services),
      m_dialogs(dialogs)
{
}

QString TemplateFileActions::Message(int id) const
{
    return QString::fromStdString(m_services.language.GetString(id));
}

void TemplateFileActions::Fail(int messageId, const std::string& subject) const
{
    m_dialogs.ask(QMessageBox::Critical,
                  Message(messageId) + QStringLiteral(" \"") + QString::fromStdString(subject) + u'"', QMessageBox::Ok);
}

std::string TemplateFileActions::Expanded(std::string text) const
{
    if (Expand(text, m_services.pages, m_services.clock, m_services.formatter, m_services.language).capped) {
        m_dialogs.ask(QMessageBox::Warning, Message(kExpansionCutMessage), QMessageBox::Ok);
    }
    return text;
}

void TemplateFileActions::Preview(const std::string& text) const
{
    const PrivateFolder folder = PrivateTempFolder();
    // The path only names the finished file to the desktop's opener; the write goes through the folder's
    // descriptor. The name is replaced, never followed, and the file is private whatever sat there.
    const std::string path = folder.path + "/" + std::string(kPreviewFileName);
    if (folder.fd < 0 ||
        !ReplaceFileInFolder(folder.fd, kPreviewFileName, Expanded(text), {LinkHandling::ReplaceLink, 0600, false})) {
        Fail(kPreviewWriteMessage, path);
        return;
    }
    if (!m_dialogs.openFile(path)) {
        Fail(kPreviewOpenMessage, path);
    }
}

void TemplateFileActions::InsertFile(QPlainTextEdit& field) const
{
    std::string path;
    if (!m_dialogs.chooseFile(false, path)) {
        return;
    }
    bool replace = true;
    if (!field.document()->isEmpty()) {
        const QMessageBox::StandardButton answer = m_dialogs.ask(
            QMessageBox::Question, Message(kReplaceQuestion), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel) {
            return;
        }
        replace = answer == QMessageBox::Yes;
    }
    std::string text;
    if (!ReadTextFile(path, text)) {
        Fail(kOpenFileErrorMessage, path);
        return;
    }
    const QString read = QString::fromStdString(text);
    field.setPlainText(replace ? read : field.toPlainText() + read);
    field.document()->setModified(true);
    field.setFocus();
}

void TemplateFileActions::SaveToChosenFile(const std::string& text) const
{
    std::string path;
    if (!m_dialogs.chooseFile(true, path)) {
        return;
    }
    const WriteResult written = WriteTextFile(path, text, true);
    if (!written) {
        m_dialogs.ask(
            QMessageBox::Critical,
            QString::fromStdString(WriteFailureText(written, path, kSaveFileErrorMessage, m_services.language)),
            QMessageBox::Ok);
    }
}
