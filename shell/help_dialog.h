#pragma once

#include <QDialog>
#include <QString>
#include <QTextBrowser>

// Shows pages of the compiled help file; links between topics and the stylesheet are read from the
// same file.
class HelpBrowserWidget final : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowserWidget(QString chmPath, QWidget* parent);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QString m_chmPath;
};

class HelpDialog final : public QDialog {
    Q_OBJECT
public:
    explicit HelpDialog(QString chmPath, QWidget* parent = nullptr);
    // Shows the topic and brings the window up; false, leaving the window as it was, when the help
    // file or the topic is missing.
    bool ShowTopic(const QString& topic);
    QString CurrentTopicText() const;

private:
    QString m_chmPath;
    HelpBrowserWidget* m_browser;
};

// The help file of a program file: its name with the extension replaced by "chm", in the same folder.
QString HelpFileFor(const QString& programFile);

// Opens topics of one help file; the help window is made on first use.
class HelpViewer {
public:
    explicit HelpViewer(QString chmPath) : m_chmPath(std::move(chmPath)) {}
    ~HelpViewer();
    // A missing help file or topic does nothing.
    void ShowTopic(const QString& topic);
    HelpDialog* Window() const { return m_window; }

private:
    QString m_chmPath;
    HelpDialog* m_window = nullptr;
};

// Opens a topic in the program's help viewer, if one is installed; any window may call it.
void ShowHelpTopic(const QString& topic);
void InstallHelpViewer(HelpViewer* viewer);
