#include "app/help_dialog.h"

#include <QApplication>
#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>

#include <memory>

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

// Whether an image may be decoded: its size is read from its header alone.
bool ImageFits(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    return size.isValid() && size.width() <= kMaxHelpImageSide && size.height() <= kMaxHelpImageSide;
}

// Whether the tables Qt made of a page stay within the limits the layout is safe with. The byte scan
// before parsing bounds what the parse may build; this reads what it did build, so that a page the scan
// misjudges is still never laid out.
bool TablesFit(const QTextFrame& frame, int depth, long long& cells)
{
    for (QTextFrame* child : frame.childFrames()) {
        const auto* table = qobject_cast<const QTextTable*>(child);
        if (table != nullptr) {
            cells += static_cast<long long>(table->rows()) * table->columns();
        }
        const int inner = depth + (table != nullptr ? 1 : 0);
        if (inner > kMaxHelpTableDepth || cells > kMaxHelpTableGrid || !TablesFit(*child, inner, cells)) {
            return false;
        }
    }
    return true;
}

}   // namespace

HelpBrowserWidget::HelpBrowserWidget(const MessageSource& messages, QWidget* parent)
    : QTextBrowser(parent),
      m_messages(messages),
      m_openExternal([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowserWidget::FollowLink);
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

bool HelpBrowserWidget::ShowTopicUrl(const QUrl& url)
{
    if (url.scheme() != kScheme || Object(url.path()) == nullptr) {
        return false;
    }
    setSource(url, QTextDocument::HtmlResource);
    return true;
}

void HelpBrowserWidget::FollowLink(const QUrl& link)
{
    const QUrl url = link.isRelative() ? source().resolved(link) : link;
    const QString scheme = url.scheme();
    if (scheme == kScheme) {
        ShowTopicUrl(url);
    } else if (scheme == u"http" || scheme == u"https" || scheme == u"mailto") {
        m_openExternal(url);
    }
}

QVariant HelpBrowserWidget::loadResource(int type, const QUrl& name)
{
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    const std::string* content = url.scheme() == kScheme ? Object(url.path()) : nullptr;
    if (content == nullptr) {
        return QByteArray();
    }
    if (type == QTextDocument::HtmlResource) {
        return TopicText(*content);
    }
    if (content->size() > static_cast<std::size_t>(kMaxHelpResourceBytes)) {
        return QByteArray();
    }
    const QByteArray bytes(content->data(), static_cast<qsizetype>(content->size()));
    if (type == QTextDocument::StyleSheetResource) {
        return QString::fromUtf8(bytes);
    }
    if (type == QTextDocument::ImageResource && !ImageFits(bytes)) {
        return QByteArray();
    }
    return bytes;
}

QVariant HelpBrowserWidget::TopicText(const std::string& bytes)
{
    if (HelpPageFitsLayout(bytes)) {
        QString page = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
        // What the parse reads (style sheets) comes through this window's loadResource, as for the page.
        QTextDocument parsed(this);
        parsed.setHtml(page);
        long long cells = 0;
        if (TablesFit(*parsed.rootFrame(), 0, cells)) {
            return page;
        }
    }
    return QStringLiteral("<p>%1</p>")
        .arg(QString::fromStdString(m_messages.GetString(kHelpPageTooLargeMessage)).toHtmlEscaped());
}

void HelpBrowserWidget::keyPressEvent(QKeyEvent* event)
{
    // Alt+Left and Alt+Right are QTextBrowser's own; Backspace goes back as in web browsers.
    if (event->key() == Qt::Key_Backspace && event->modifiers() == Qt::NoModifier) {
        backward();
        event->accept();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}

HelpReader ProgramHelpReader()
{
    return HelpReader::BesideProgram(ProcProgramLocation());
}

HelpDialog::HelpDialog(QString chmPath, const MessageSource& messages, HelpReader reader, QWidget* parent)
    : QDialog(parent),
      m_chmPath(std::move(chmPath)),
      m_reader(std::move(reader)),
      m_browser(new HelpBrowserWidget(messages, this))
{
    setWindowTitle(tr("Chronel Help"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 560);
}

HelpDialog::~HelpDialog()
{
    if (m_reading != nullptr) {
        m_reading->wait();
        delete m_reading;
        QGuiApplication::restoreOverrideCursor();
    }
}

void HelpDialog::ShowTopic(const QString& topic)
{
    m_pendingTopic = topic;
    if (m_browser->HasObjects()) {
        ShowPendingTopic();
        return;
    }
    if (m_reading != nullptr) {
        return;
    }
    // The whole file is small and read in one go: later topics, stylesheets and images cost no process.
    // The reading may take up to the reader's time limit; the window's thread goes on taking input.
    auto objects = std::make_shared<std::optional<ChmObjects>>();
    m_reading =
        QThread::create([reader = m_reader, path = m_chmPath.toStdString(), objects] { *objects = reader.Read(path); });
    connect(m_reading, &QThread::finished, this, [this, objects] {
        m_reading->deleteLater();
        m_reading = nullptr;
        QGuiApplication::restoreOverrideCursor();
        FinishReading(std::move(*objects));
    });
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    m_reading->start();
}

void HelpDialog::FinishReading(std::optional<ChmObjects> objects)
{
    if (!objects) {
        m_pendingTopic.clear();
        // Not modal in a loop of its own: the box stays in front of whichever window asked.
        auto* box = new QMessageBox(
            QMessageBox::Warning, windowTitle(),
            tr("Help is not available: the help file %1 cannot be read.").arg(QDir::toNativeSeparators(m_chmPath)),
            QMessageBox::Ok, QApplication::activeWindow());
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    m_browser->SetObjects(*objects);
    ShowPendingTopic();
}

void HelpDialog::ShowPendingTopic()
{
    // "timeinfo#moon": the topic, scrolled to its section.
    const qsizetype hash = m_pendingTopic.indexOf(u'#');
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(u'/' + m_pendingTopic.left(hash) + QStringLiteral(".htm"));
    if (hash >= 0) {
        url.setFragment(m_pendingTopic.mid(hash + 1));
    }
    m_pendingTopic.clear();
    if (!m_browser->ShowTopicUrl(url)) {
        return;
    }
    show();
    raise();
    activateWindow();
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
        m_window = new HelpDialog(m_chmPath, m_messages, m_reader);
    }
    m_window->ShowTopic(topic);
}

void InstallHelpViewer(HelpViewer* viewer)
{
    SetHelpTopicHandler(viewer == nullptr ? std::function<void(const QString&)>()
                                          : [viewer](const QString& topic) { viewer->ShowTopic(topic); });
}
