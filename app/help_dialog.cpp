#include "app/help_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/proc_program_location.h"

namespace {

const QString kScheme = QStringLiteral("chm");

std::string ObjectKey(std::string path)
{
    for (char& c : path) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return path;
}

}   // namespace

HelpBrowserWidget::HelpBrowserWidget(QWidget* parent) : QTextBrowser(parent)
{
    setOpenExternalLinks(true);
}

void HelpBrowserWidget::SetObjects(const ChmObjects& objects)
{
    m_objects.emplace();
    for (const auto& [path, content] : objects) {
        m_objects->emplace(ObjectKey(path), content);
    }
}

const std::string* HelpBrowserWidget::Object(const QString& path) const
{
    if (!m_objects) {
        return nullptr;
    }
    const auto found = m_objects->find(ObjectKey((path.startsWith(u'/') ? path : u'/' + path).toStdString()));
    return found != m_objects->end() ? &found->second : nullptr;
}

QVariant HelpBrowserWidget::loadResource(int type, const QUrl& name)
{
    if (name.scheme() != kScheme) {
        return QTextBrowser::loadResource(type, name);
    }
    const std::string* content = Object(name.path());
    if (content == nullptr) {
        return {};
    }
    const QByteArray bytes(content->data(), static_cast<qsizetype>(content->size()));
    if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource) {
        return QString::fromUtf8(bytes);
    }
    return bytes;
}

HelpReader ProgramHelpReader()
{
    return HelpReader::BesideProgram(ProcProgramLocation());
}

HelpDialog::HelpDialog(QString chmPath, HelpReader reader, QWidget* parent)
    : QDialog(parent),
      m_chmPath(std::move(chmPath)),
      m_reader(std::move(reader)),
      m_browser(new HelpBrowserWidget(this))
{
    setWindowTitle(tr("Chronel Help"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 560);
}

bool HelpDialog::ShowTopic(const QString& topic)
{
    // The whole file is small and read in one go: later topics, stylesheets and images cost no process.
    if (!m_browser->HasObjects()) {
        const std::optional<ChmObjects> objects = m_reader.Read(m_chmPath.toStdString());
        if (!objects) {
            // Not modal in a loop of its own: the caller returns at once and the box stays in front.
            auto* box = new QMessageBox(
                QMessageBox::Warning, windowTitle(),
                tr("Help is not available: the help file %1 cannot be read.").arg(QDir::toNativeSeparators(m_chmPath)),
                QMessageBox::Ok, QApplication::activeWindow());
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
            return false;
        }
        m_browser->SetObjects(*objects);
    }
    const QString page = u'/' + topic + QStringLiteral(".htm");
    if (m_browser->Object(page) == nullptr) {
        return false;
    }
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(page);
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
        m_window = new HelpDialog(m_chmPath, m_reader);
    }
    m_window->ShowTopic(topic);
}

void InstallHelpViewer(HelpViewer* viewer)
{
    SetHelpTopicHandler(viewer == nullptr ? std::function<void(const QString&)>()
                                          : [viewer](const QString& topic) { viewer->ShowTopic(topic); });
}
