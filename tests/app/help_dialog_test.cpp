#include "app/help_dialog.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "fakes/fake_messages.h"
#include "fakes/temp_folder.h"

namespace {

const HelpReader kReader(CHRONEL_HELP_READER);
const FakeMessages kMessages;

// The test help file reads in milliseconds; a reader that hangs is killed within its time limit.
void ShowTopicAndWait(HelpViewer& viewer, const QString& topic)
{
    viewer.ShowTopic(topic);
    if (viewer.Window() != nullptr) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !viewer.Window()->IsReading(); }, 10'000));
    }
}

QByteArray Png(int width, int height)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage image(width, height, QImage::Format_Mono);
    image.fill(0);
    image.save(&buffer, "PNG");
    return bytes;
}

std::string Repeat(std::string_view piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

// Counts the mouse presses that reach any widget of one window.
struct PressCounter : QObject {
    const QWidget* window = nullptr;
    int presses = 0;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* widget = qobject_cast<const QWidget*>(watched);
        presses += event->type() == QEvent::MouseButtonPress && widget != nullptr && widget->window() == window;
        return false;
    }
};

TEST(HelpDialog, TakesInputWhileAnEditorIsOpen)
{
    QWidget main;
    main.show();
    QDialog editor(&main);
    editor.setWindowModality(Qt::WindowModal);   // as the template editor and the name dialog are
    editor.show();
    HelpViewer viewer(CHRONEL_TEST_HELP_FILE, kMessages, kReader);
    ShowTopicAndWait(viewer, "first");
    ASSERT_NE(viewer.Window(), nullptr);
    PressCounter counter;
    counter.window = viewer.Window();
    qApp->installEventFilter(&counter);
    // Through the window system, where a modal window blocks the others.
    QTest::mouseClick(viewer.Window()->windowHandle(), Qt::LeftButton, {}, viewer.Window()->rect().center());
    qApp->removeEventFilter(&counter);
    EXPECT_GT(counter.presses, 0);
    EXPECT_TRUE(editor.isVisible());
}

TEST(HelpDialog, MissingOrDamagedHelpFile)
{
    EXPECT_EQ(HelpFileFor("/opt/x/chronel"), "/opt/x/chronel.chm");
    EXPECT_EQ(HelpFileFor("/opt/x.y/my.tool.bin"), "/opt/x.y/my.tool.chm");
    TempFolder folder;
    HelpViewer absent(QString::fromStdString(folder / "absent.chm"), kMessages, kReader);
    absent.ShowTopic("first");
    EXPECT_EQ(absent.Window(), nullptr) << "a missing help file does nothing";

    HelpViewer present(CHRONEL_TEST_HELP_FILE, kMessages, kReader);
    InstallHelpViewer(&present);
    ShowHelpTopic("missing");
    ASSERT_NE(present.Window(), nullptr);
    ShowTopicAndWait(present, "missing");
    EXPECT_FALSE(present.Window()->isVisible());
    ShowHelpTopic("first");
    EXPECT_TRUE(present.Window()->isVisible());
    InstallHelpViewer(nullptr);

    // A damaged one says help is not available, in front of the asking window.
    const std::string damaged = folder / "chronel.chm";
    WriteFileBytes(damaged, ReadFileBytes(CHRONEL_TEST_HELP_FILE).substr(0, 1000));
    QWidget asking;
    asking.show();
    asking.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&asking));
    HelpViewer viewer(QString::fromStdString(damaged), kMessages, kReader);
    ShowTopicAndWait(viewer, "first");
    ASSERT_NE(viewer.Window(), nullptr);
    EXPECT_FALSE(viewer.Window()->isVisible());
    auto* box = asking.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->text().contains("not available"));
    EXPECT_TRUE(box->text().contains(QString::fromStdString(damaged)));
    delete box;
}

TEST(HelpDialog, ReadsTheHelpFileWithoutBlockingTheWindow)
{
    // A reader that waits for the test's word before it reads; or one that never reads and is killed.
    TempFolder folder;
    const std::string go = folder / "go";
    const std::string waiting = folder / "waiting-reader";
    WriteFileBytes(waiting, "#!/bin/sh\nwhile [ ! -e '" + go + "' ]; do sleep 0.01; done\nexec '" +
                                CHRONEL_HELP_READER + "' \"$@\"\n");
    const std::string hanging = folder / "hanging-reader";
    WriteFileBytes(hanging, "#!/bin/sh\nexec sleep 30\n");
    ASSERT_EQ(chmod(waiting.c_str(), 0700) | chmod(hanging.c_str(), 0700), 0);

    QLineEdit typing;
    typing.show();
    HelpViewer viewer(CHRONEL_TEST_HELP_FILE, kMessages, HelpReader(waiting));
    viewer.ShowTopic("first");
    ASSERT_NE(viewer.Window(), nullptr);
    EXPECT_TRUE(viewer.Window()->IsReading()) << "the call returned while the reader still waits";
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    // Keys go through the event loop while the reader runs.
    QCoreApplication::postEvent(&typing, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    QTest::qWait(50);
    EXPECT_EQ(typing.text(), "a");
    viewer.ShowTopic("second");
    WriteFileBytes(go, "");
    ShowTopicAndWait(viewer, "second");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(viewer.Window()->isVisible());
    EXPECT_TRUE(viewer.Window()->CurrentTopicText().contains("Second topic")) << "the topic asked for last";

    HelpViewer stuck(CHRONEL_TEST_HELP_FILE, kMessages,
                     HelpReader(hanging, HelpReaderLimits{.timeout = std::chrono::milliseconds(300)}));
    ShowTopicAndWait(stuck, "first");
    EXPECT_FALSE(stuck.Window()->isVisible());
    int boxes = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(window); box != nullptr && box->isVisible()) {
            boxes += box->text().contains("not available");
            delete box;
        }
    }
    EXPECT_EQ(boxes, 1) << "a reader over its time limit is a help file that cannot be read";
}

// Bounds the heap to what the process has now plus 1 GiB, so that a page reading /dev/zero ends the test
// with bad_alloc instead of taking the machine's memory.
class HeapBound {
public:
    HeapBound()
    {
        getrlimit(RLIMIT_DATA, &m_old);
        std::istringstream status(ReadFileBytes("/proc/self/status"));
        rlim_t kib = 0;
        for (std::string line; std::getline(status, line);) {
            if (line.starts_with("VmData:")) {
                kib = std::strtoull(line.c_str() + 7, nullptr, 10);
            }
        }
        const rlimit bound{(kib << 10) + (rlim_t(1) << 30), m_old.rlim_max};
        setrlimit(RLIMIT_DATA, &bound);
    }
    ~HeapBound() { setrlimit(RLIMIT_DATA, &m_old); }

private:
    rlimit m_old{};
};

// A help file whose topics name resources outside it, or are too large to lay out, as a damaged or
// planted help file could.
class HelpBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(mkfifo(m_fifo.c_str(), 0600), 0);
        WriteFileBytes(m_readable, Png(4, 4).toStdString());
        m_browser.resize(400, 300);
        m_browser.SetExternalLinkOpener([this](const QUrl& url) { m_opened.push_back(url); });
    }
    void Show(const ChmObjects& objects, const QString& topic)
    {
        m_browser.SetObjects(objects);
        ASSERT_TRUE(m_browser.ShowTopicUrl(QUrl("chm:" + topic)));
    }

    TempFolder m_folder;
    const std::string m_fifo = m_folder / "fifo";
    const std::string m_readable = m_folder / "readable.png";
    HelpBrowserWidget m_browser{kMessages, nullptr};
    std::vector<QUrl> m_opened;
};

TEST_F(HelpBrowserTest, LoadsNothingFromOutsideTheHelpFile)
{
    const QString png = QString::fromLatin1(Png(4, 4).toBase64());
    const QString names[] = {
        "file:///dev/zero",
        QUrl::fromLocalFile(QString::fromStdString(m_readable)).toString(),
        QUrl::fromLocalFile(QString::fromStdString(m_fifo)).toString(),
        "data:image/png;base64," + png,
        "data:text/css,p{color:red}",
        "http://example.org/a.png",
        "../../../../../../../../" + QString::fromStdString(m_readable),   // resolved inside the help file
        "chm:/missing.png",
    };
    // Unblocks a reader that would open the FIFO, so that a fault fails the test instead of hanging it.
    std::atomic<bool> done = false, unblocked = false;
    std::thread watchdog([&] {
        for (int i = 0; i < 500 && !done; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        const int fd = done ? -1 : open(m_fifo.c_str(), O_WRONLY | O_NONBLOCK);
        unblocked = fd >= 0;
        close(fd);
    });
    const HeapBound bound;
    std::string page = "<html><head><link rel=stylesheet href=\"" + m_readable + "\"></head><body>";
    for (const QString& name : names) {
        page += "<img src=\"" + name.toStdString() + "\"><p style=\"background-image: url(" + name.toStdString() +
                ")\">x</p>";
    }
    Show({{"/page.htm", page + "</body></html>"}, {"/ok.png", Png(8, 8).toStdString()}}, "/page.htm");
    m_browser.grab();
    for (const QString& name : names) {
        SCOPED_TRACE(name.left(60).toStdString());
        for (const int type : {QTextDocument::ImageResource, QTextDocument::StyleSheetResource,
                               QTextDocument::HtmlResource, QTextDocument::UserResource}) {
            const QVariant loaded = m_browser.loadResource(type, QUrl(name));
            EXPECT_EQ(loaded.userType(), QMetaType::QByteArray) << "never empty: Qt would read it itself";
            EXPECT_TRUE(loaded.toByteArray().isEmpty());
        }
        const QVariant shown = m_browser.document()->resource(QTextDocument::ImageResource, QUrl(name));
        EXPECT_TRUE(shown.userType() == QMetaType::QByteArray && shown.toByteArray().isEmpty());
    }
    done = true;
    watchdog.join();
    EXPECT_FALSE(unblocked) << "the page opened the FIFO";
    EXPECT_EQ(m_browser.loadResource(QTextDocument::ImageResource, QUrl("ok.png")).toByteArray(), Png(8, 8))
        << "the help file's own image, named relative to the topic";
}

TEST_F(HelpBrowserTest, TooLargeShowsOnlyANote)
{
    const std::string cell = "<table><tr><td>x</td></tr></table>";
    const std::string nested2 = "<table><tr><td>" + cell + "</td></tr></table>";
    const std::string huge = "<p>" + std::string(11 << 20, 'x') + "</p>";
    const std::pair<const char*, std::string> pages[] = {
        {"11 MB", huge},
        {"tables three deep", "<table><tr><td>" + nested2 + "</td></tr></table>"},
        {"2,001 cells", "<table><tr>" + Repeat("<td>x</td>", 2001) + "</tr></table>"},
        // Found by fuzzing: the byte scan takes the first </table> as closing a table Qt keeps open.
        {"three deep where the scan sees two",
         "<table><~r><td><!-&\322 a > </table> --><\"table\"><tr><td>< table ><tr><td>x<\377td></tr></table>"},
    };
    for (const auto& [why, page] : pages) {
        SCOPED_TRACE(why);
        const auto start = std::chrono::steady_clock::now();
        const QString topic = QStringLiteral("/%1.htm").arg(why);
        Show({{topic.toStdString(), page}}, topic);
        m_browser.grab();
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(m_browser.toPlainText().toStdString(), kMessages.GetString(kHelpPageTooLargeMessage));
        std::printf("%s: note shown in %lld ms\n", why,
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
    }
    Show({{"/fits.htm", nested2 + Repeat("<table><tr><td>x</td></tr></table>", 1990)}}, "/fits.htm");
    EXPECT_TRUE(m_browser.toPlainText().trimmed().startsWith("x")) << "two deep and 2,000 cells are shown";

    const QByteArray bigCss = QByteArray(kMaxHelpResourceBytes + 1, ' ');
    Show({{"/page.htm", "<p>x</p>"},
          {"/big.css", bigCss.toStdString()},
          {"/wide.png", Png(kMaxHelpImageSide + 1, 1).toStdString()},
          {"/edge.png", Png(kMaxHelpImageSide, kMaxHelpImageSide).toStdString()},
          {"/big.png", (Png(1, 1) + bigCss).toStdString()}},
         "/page.htm");
    for (const auto& [name, type] : {std::pair{"big.css", QTextDocument::StyleSheetResource},
                                     {"wide.png", QTextDocument::ImageResource},
                                     {"big.png", QTextDocument::ImageResource}}) {
        EXPECT_TRUE(m_browser.loadResource(type, QUrl(name)).toByteArray().isEmpty()) << name;
    }
    EXPECT_FALSE(m_browser.loadResource(QTextDocument::ImageResource, QUrl("edge.png")).toByteArray().isEmpty());
}

TEST_F(HelpBrowserTest, LinksAndHistory)
{
    const std::string tall = "<p>top</p>" + Repeat("<p>line</p>", 200) + "<p><a name=\"end\">end</a></p>";
    Show({{"/first.htm", "<p><a href=\"second.htm\">second</a></p>"},
          {"/second.htm", "<p>Second</p>"},
          {"/tall.htm", tall}},
         "/first.htm");
    // A real click on the first page's link.
    QTextCursor link(m_browser.document());
    link.setPosition(m_browser.document()->find("second").selectionStart() + 2);
    m_browser.show();
    QTest::mouseClick(m_browser.viewport(), Qt::LeftButton, {}, m_browser.cursorRect(link).center());
    EXPECT_EQ(m_browser.source().toString().toStdString(), "chm:/second.htm");

    const std::tuple<const char*, const char*, bool> links[] = {
        // link, the topic then shown, whether it went to the desktop
        {"chm:/tall.htm#end", "chm:/tall.htm#end", false},      {"first.htm", "chm:/first.htm", false},
        {"http://example.org/", "chm:/first.htm", true},        {"https://example.org/", "chm:/first.htm", true},
        {"mailto:someone@example.org", "chm:/first.htm", true}, {"javascript:alert(1)", "chm:/first.htm", false},
        {"file:///etc/passwd", "chm:/first.htm", false},        {"chm:/missing.htm", "chm:/first.htm", false},
    };
    for (const auto& [href, shown, external] : links) {
        SCOPED_TRACE(href);
        m_opened.clear();
        emit m_browser.anchorClicked(QUrl(href));
        EXPECT_EQ(m_browser.source().toString().toStdString(), shown);
        EXPECT_EQ(m_opened, external ? std::vector<QUrl>{QUrl(href)} : std::vector<QUrl>());
        if (QUrl(href).hasFragment()) {
            EXPECT_GT(m_browser.verticalScrollBar()->value(), 0) << "scrolled to the anchor";
        }
    }
    // Back over first, tall, second; forward again.
    const std::pair<QKeySequence, const char*> keys[] = {
        {Qt::ALT | Qt::Key_Left, "chm:/tall.htm#end"},
        {Qt::Key_Backspace, "chm:/second.htm"},
        {Qt::ALT | Qt::Key_Right, "chm:/tall.htm#end"},
    };
    for (const auto& [key, shown] : keys) {
        SCOPED_TRACE(shown);
        QTest::keySequence(&m_browser, key);
        EXPECT_EQ(m_browser.source().toString().toStdString(), shown);
    }
}

}   // namespace
