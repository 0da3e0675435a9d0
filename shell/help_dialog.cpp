#include "shell/help_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/chm_file.h"

namespace {

const QString kScheme = QStringLiteral("chm");

HelpViewer* g_viewer = nullptr;

std::optional<std::string> ReadObject(const QString& chmPath, const QString& objectPath)
{
    QString path = objectPath.startsWith(u'/') ? objectPath : u'/' + objectPath;
    return ReadChmObject(chmPath.toStdString(), path.toStdString());
}

}  // namespace

HelpBrowserWidget::HelpBrowserWidget(QString chmPath, QWidget* parent)
    : QTextBrowser(parent), m_chmPath(std::move(chmPath))
{
    setOpenExternalLinks(true);
}

QVariant HelpBrowserWidget::loadResource(int type, const QUrl& name)
{
    if (name.scheme() != kScheme) {
        return QTextBrowser::loadResource(type, name);
    }
    const std::optional<std::string> content = ReadObject(m_chmPath, name.path());
    if (!content) {
        return {};
    }
    const QByteArray bytes(content->data(), static_cast<qsizetype>(content->size()));
    if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource) {
        return QString::fromUtf8(bytes);
    }
    return bytes;
}

HelpDialog::HelpDialog(QString chmPath, QWidget* parent)
    : QDialog(parent), m_chmPath(std::move(chmPath)), m_browser(new HelpBrowserWidget(m_chmPath, this))
{
    setWindowTitle(tr("Chronel Help"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 560);
}

bool HelpDialog::ShowTopic(const QString& topic)
{
    const QString page = topic + QStringLiteral(".htm");
    if (!ReadObject(m_chmPath, page)) {
        return false;
    }
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(u'/' + page);
    m_browser->setSource(url, QTextDocument::HtmlResource);
    show();
    raise();
    activateWindow();
    return true;
}

QString HelpDialog::CurrentTopicText() const
{
    return m_browser->toPlainText();
}

QString HelpFileFor(const QString& programFile)
{
    const QFileInfo info(programFile);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".chm"));
}

HelpViewer::~HelpViewer()
{
    delete m_window;
}

void HelpViewer::ShowTopic(const QString& topic)
{
    if (!QFileInfo::exists(m_chmPath)) {
        return;
    }
    if (m_window == nullptr) {
        m_window = new HelpDialog(m_chmPath);
    }
    m_window->ShowTopic(topic);
}

void ShowHelpTopic(const QString& topic)
{
    if (g_viewer != nullptr) {
        g_viewer->ShowTopic(topic);
    }
}

void InstallHelpViewer(HelpViewer* viewer)
{
    g_viewer = viewer;
}
