#pragma once

#include <QDialog>
#include <QString>
#include <QTextBrowser>
#include <QUrl>

#include <functional>
#include <optional>

#include "core/messages.h"
#include "pages/help_request.h"
#include "platform/help_reader.h"

class QThread;

// Larger resources of a topic (stylesheets, images), and images larger than this on a side, show as missing.
inline constexpr qsizetype kMaxHelpResourceBytes = 1 << 20;
inline constexpr int kMaxHelpImageSide = 4096;

// Shows pages of a compiled help file from its objects, read once; links between topics, the stylesheet
// and images resolve among the same objects and nowhere else: never a local file, a data: URL or the
// network. A topic too large to lay out shows only a note saying so.
class HelpBrowserWidget final : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowserWidget(const MessageSource& messages, QWidget* parent);
    bool HasObjects() const { return m_objects.has_value(); }
    void SetObjects(const ChmObjects& objects);
    // The object at `path` ("/first.htm", or without the '/'), whatever the case of its ASCII letters, as
    // chmlib finds it; null when there is none.
    const std::string* Object(const QString& path) const;
    // Shows the object at a chm: URL as a topic, scrolled to its #anchor, and keeps it in the history that
    // Back and Forward walk (Alt+Left, Backspace, Alt+Right). False, leaving the window as it was, when the
    // help file lacks that object.
    bool ShowTopicUrl(const QUrl& url);
    // A click on a link: a chm: link shows that topic; http:, https: and mailto: go to the desktop's browser
    // or mail program through the opener; any other scheme does nothing.
    void FollowLink(const QUrl& link);
    // Where web and mail links go; QDesktopServices::openUrl unless replaced.
    void SetExternalLinkOpener(std::function<void(const QUrl&)> opener) { m_openExternal = std::move(opener); }
    // Never an empty QVariant, which would let Qt read file: and data: URLs itself: a name that is not an
    // object of the help file, or one over the bounds above, gives an empty QByteArray.
    QVariant loadResource(int type, const QUrl& name) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QVariant TopicText(const std::string& bytes);

    const MessageSource& m_messages;
    std::optional<ChmObjects> m_objects;   // by path in lower case
    std::function<void(const QUrl&)> m_openExternal;
};

// The help reader beside the running program.
HelpReader ProgramHelpReader();

class HelpDialog final : public QDialog {
    Q_OBJECT
public:
    // The help file is read through `reader` when a topic is first shown; a copy stays with the window.
    HelpDialog(QString chmPath, const MessageSource& messages, HelpReader reader = ProgramHelpReader(),
               QWidget* parent = nullptr);
    // Waits for a reading still under way: at most the reader's time limit.
    ~HelpDialog() override;
    // Shows the topic ("name", or "name#anchor" scrolled to that section) and brings the window up. The first time, the
    // help file is read apart from the window's thread, under a busy cursor, and the topic asked for last by then is
    // shown; the call returns at once. A topic the file lacks leaves the window as it was; a file that cannot be read
    // shows a message that help is not available, in front of the window that is active.
    void ShowTopic(const QString& topic);
    bool IsReading() const { return m_reading != nullptr; }
    QString CurrentTopicText() const;

private:
    void FinishReading(std::optional<ChmObjects> objects);
    void ShowPendingTopic();

    QString m_chmPath;
    HelpReader m_reader;
    HelpBrowserWidget* m_browser;
    QThread* m_reading = nullptr;
    QString m_pendingTopic;
};

// The help file of a program file: its name with the extension replaced by "chm", in the same folder.
QString HelpFileFor(const QString& programFile);

// Opens topics of one help file; the help window is made on first use.
class HelpViewer {
public:
    HelpViewer(QString chmPath, const MessageSource& messages, HelpReader reader = ProgramHelpReader())
        : m_chmPath(std::move(chmPath)),
          m_messages(messages),
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
    const MessageSource& m_messages;
    HelpReader m_reader;
    HelpDialog* m_window = nullptr;
};

// Makes `viewer` (or nothing, for null) the one that ShowHelpTopic opens topics in.
void InstallHelpViewer(HelpViewer* viewer);
