// A topic page and resource names as a damaged or planted help file could give them, through the help
// window's page loading, layout and painting, loadResource and link following. Never a crash or a hang;
// never an empty answer from loadResource (Qt would then read the name itself); never a file opened
// outside the help file; never a page laid out with tables deeper or cells more than the window allows; a
// link leaves the help file only for the web or mail.
//
// Input: the page, then after a NUL byte resource names one a line. "@DIR@" in either stands for the URL
// of a folder of real files, watched for any opening.
#include <sys/inotify.h>
#include <unistd.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QTextFrame>
#include <QTextTable>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/help_dialog.h"
#include "settings/default_messages.h"

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

class DefaultMessages final : public MessageSource {
public:
    std::string GetString(int messageId) const override { return std::string(DefaultMessage(messageId)); }
};

QByteArray Png()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage image(4, 4, QImage::Format_Mono);
    image.fill(0);
    image.save(&buffer, "PNG");
    return bytes;
}

// Real files a page may name, in a folder of their own; inotify reports any opening of them.
class PlantedFiles {
public:
    PlantedFiles()
    {
        std::string folder = (std::filesystem::temp_directory_path() / "chronel-help-page-fuzz-XXXXXX").string();
        Check(mkdtemp(folder.data()) != nullptr);
        m_folder = folder;
        const QByteArray png = Png();
        for (const auto& [name, bytes] : {std::pair{"a.png", png.toStdString()},
                                          {"a.htm", std::string("<p>a")},
                                          {"a.css", std::string("p{color:red}")}}) {
            FILE* file = std::fopen((folder + "/" + name).c_str(), "wb");
            Check(file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
            std::fclose(file);
        }
        m_watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        Check(m_watch >= 0 && inotify_add_watch(m_watch, folder.c_str(), IN_OPEN | IN_ACCESS) >= 0);
    }
    ~PlantedFiles()
    {
        close(m_watch);
        std::filesystem::remove_all(m_folder);
    }

    std::string Url() const { return "file://" + m_folder; }
    bool Opened() const
    {
        char events[4096];
        return read(m_watch, events, sizeof events) > 0;
    }

private:
    std::string m_folder;
    int m_watch = -1;
};

std::string Replaced(std::string text, const std::string& url)
{
    for (std::size_t at = text.find("@DIR@"); at != std::string::npos; at = text.find("@DIR@", at + url.size())) {
        text.replace(at, 5, url);
    }
    return text;
}

void MeasureTables(QTextFrame* frame, int depth, int& maxDepth, long long& cells)
{
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) {
            maxDepth = std::max(maxDepth, depth + 1);
            cells += static_cast<long long>(table->rows()) * table->columns();
            MeasureTables(child, depth + 1, maxDepth, cells);
        } else {
            MeasureTables(child, depth, maxDepth, cells);
        }
    }
}

}   // namespace

// fontconfig keeps what Qt's first text loads for the life of the process.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const PlantedFiles planted;
    static const DefaultMessages messages;
    static const QByteArray png = Png();
    static HelpBrowserWidget browser(messages, nullptr);
    static std::vector<QUrl> opened;
    static unsigned count = 0;
    if (count == 0) {
        browser.resize(240, 160);
        browser.SetExternalLinkOpener([](const QUrl& url) { opened.push_back(url); });
    }

    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string page = Replaced(input.substr(0, split), planted.Url());
    const std::string names =
        split == std::string::npos ? std::string() : Replaced(input.substr(split + 1), planted.Url());

    // A topic of a new name each time: the browser reloads nothing for the topic it shows.
    const std::string topic = "/topic" + std::to_string(++count % 2) + ".htm";
    browser.SetObjects({{topic, page}, {"/a.png", png.toStdString()}, {"/a.css", "p{color:blue}"}});
    Check(browser.ShowTopicUrl(QUrl(QString::fromStdString("chm:" + topic))));
    browser.document()->documentLayout()->documentSize();
    browser.grab();

    int depth = 0;
    long long cells = 0;
    MeasureTables(browser.document()->rootFrame(), 0, depth, cells);
    if (HelpPageFitsLayout(page)) {
        Check(depth <= kMaxHelpTableDepth && cells <= kMaxHelpTableGrid);
    } else {
        Check(browser.toPlainText().toStdString() == DefaultMessage(kHelpPageTooLargeMessage));
    }

    opened.clear();
    for (const QString& name : QString::fromStdString(names).split(u'\n')) {
        const QUrl url(name);
        for (const int type : {QTextDocument::HtmlResource, QTextDocument::ImageResource,
                               QTextDocument::StyleSheetResource, QTextDocument::UserResource}) {
            Check(browser.loadResource(type, url).isValid());
        }
        browser.FollowLink(url);
    }
    for (const QUrl& url : opened) {
        Check(url.scheme() == u"http" || url.scheme() == u"https" || url.scheme() == u"mailto");
    }
    Check(!planted.Opened());
    return 0;
}
