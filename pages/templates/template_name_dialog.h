#pragma once

#include <QDialog>
#include <memory>

#include <functional>
#include <string>

class LanguageTable;
namespace Ui {
class TemplateNameDialog;
}

// Asks for the name of a new template: OK only for a name without forbidden characters that no template
// of the folder has yet.
class TemplateNameDialog final : public QDialog {
    Q_OBJECT
public:
    // `templatePath` gives the file a name would have.
    TemplateNameDialog(const LanguageTable& language, std::function<std::string(const std::string&)> templatePath,
                       QWidget* parent = nullptr);
    ~TemplateNameDialog() override;

    std::string Name() const;

    // Seam for tests: shows a message box (critical when `error`, else information).
    std::function<void(bool error, const QString& text)> showMessage;

    void accept() override;

private:
    QString Message(int id) const;

    std::unique_ptr<Ui::TemplateNameDialog> m_ui;
    const LanguageTable& m_language;
    std::function<std::string(const std::string&)> m_templatePath;
};
