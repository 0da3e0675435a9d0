#include "pages/templates/template_name_dialog.h"

#include "ui_template_name_dialog.h"

#include <QMessageBox>

#include "core/folder_path.h"
#include "core/messages.h"
#include "pages/help_key_filter.h"
#include "pages/help_request.h"
#include "pages/translation.h"
#include "settings/language_table.h"
#include "templates/template_store.h"

namespace {

constexpr int kNameDialogId = 132;

}   // namespace

TemplateNameDialog::TemplateNameDialog(const LanguageTable& language,
                                       std::function<std::string(const std::string&)> templatePath, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::TemplateNameDialog>()),
      m_language(language),
      m_templatePath(std::move(templatePath))
{
    m_ui->setupUi(this);
    // Blocks only the windows below it, so the help window opened from here takes input.
    setWindowModality(Qt::WindowModal);
    std::string section;
    TranslateWindow(language, true, true, this, kNameDialogId, 0, section);
    m_ui->okButton->setEnabled(false);
    connect(m_ui->nameEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_ui->okButton->setEnabled(!text.isEmpty()); });
    connect(m_ui->okButton, &QPushButton::clicked, this, &TemplateNameDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->helpButton, &QPushButton::clicked, this, [] { ShowHelpTopic(QStringLiteral("tmplname")); });
    InstallHelpKey(*this, HelpKeyMoment::Press, [] { return QStringLiteral("tmplname"); });
    showMessage = [this](bool error, const QString& text) {
        if (error) {
            QMessageBox::critical(this, windowTitle(), text);
        } else {
            QMessageBox::information(this, windowTitle(), text);
        }
    };
}

TemplateNameDialog::~TemplateNameDialog() = default;

std::string TemplateNameDialog::Name() const
{
    return m_ui->nameEdit->text().toStdString();
}

void TemplateNameDialog::accept()
{
    const std::string name = Name();
    if (name.empty()) {
        return;
    }
    if (!IsValidTemplateName(name)) {
        showMessage(true, Message(kForbiddenNameMessage)
                              .arg(QString::fromUtf8(kForbiddenTemplateCharacters.data(),
                                                     static_cast<qsizetype>(kForbiddenTemplateCharacters.size()))));
        return;
    }
    if (FileExists(m_templatePath(name))) {
        showMessage(false, Message(kNameExistsMessage));
        m_ui->nameEdit->setFocus();
        m_ui->nameEdit->selectAll();
        return;
    }
    QDialog::accept();
}

QString TemplateNameDialog::Message(int id) const
{
    return QString::fromStdString(m_language.GetString(id));
}
