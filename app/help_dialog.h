#pragma once

#include <QDialog>
#include <QString>
#include <QTextBrowser>

#include <optional>

#include "pages/help_request.h"
#include "platform/help_reader.h"

// Shows pages of a compiled help file from its objects, read once; links between topics, the stylesheet
// and images resolve among the same objects.
class HelpBrowserWidget final : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowserWidget(QWidget* parent);
    bool HasObjects() const { return m_objects.has_value(); }
    void SetObjects(const ChmObjects& objects);
    // The object at `path` ("/first.htm", or without the '/'), whatever the case of its ASCII letters, as
    // chmlib finds it; null when there is none.
    const std::string* Object(const QString& path) const;
    QVariant loadResource(int type, const QUrl& name) override;

private:
    std::optional<ChmObjects> m_objects;   // by path in lower case
};

// The help reader beside the running program.
HelpReader ProgramHelpReader();

class HelpDialog final : public QDialog {
    Q_OBJECT
public:
    // The help file is read through `reader` when a topic is first shown; a copy stays with the window.
    explicit HelpDialog(QString chmPath, HelpReader reader = ProgramHelpReader(), QWidget* parent = nullptr);
    // Shows the topic and brings the window up. False, leaving the window as it was, when the help file
    // lacks the topic, or when it cannot be read: then a message says that help is not available, in
    // front of the window that is active.
    bool ShowTopic(const QString& topic);
    QString CurrentTopicText() const;

private:
    QString m_chmPath;
    HelpReader m_reader;
    HelpBrowserWidget* m_browser;
};

// The help file of a program file: its name with the extension replaced by "chm", in the same folder.
QString HelpFileFor(const QString& programFile);

// Opens topics of one help file; the help window is made on first use.
class HelpViewer {
public:
    explicit HelpViewer(QString chmPath, HelpReader reader = ProgramHelpReader())
        : m_chmPath(std::move(chmPath)),
          m_reader(std::move(reader))
    {
    }
    ~HelpViewer();
    // A missing help file does nothing, nor does a missing topic; a damaged file shows that help is not
    // available.
    void ShowTopic(const QString& topic);
    HelpDialog* Window() const { return m_window; }

private:
    QString m_chmPath;
    HelpReader m_reader;
    HelpDialog* m_window = nullptr;
};

// Makes `viewer` (or nothing, for null) the one that ShowHelpTopic opens topics in.
void InstallHelpViewer(HelpViewer* viewer);
