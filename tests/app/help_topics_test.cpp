#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QUrl>

#include "app/help_dialog.h"
#include "fakes/fake_messages.h"
#include "fakes/ui_environment.h"
#include "helpreader/chm_file.h"
#include "pages/help_request.h"
#include "pages/info/time_info_page.h"
#include "pages/info/time_info_tab_widget.h"

namespace {

// Each link of the shown topic: where it starts in the document, and its target as written.
std::vector<std::pair<int, QString>> Links(const QTextDocument& document)
{
    std::vector<std::pair<int, QString>> links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isAnchor() && !format.anchorHref().isEmpty()) {
                links.emplace_back(it.fragment().position(), format.anchorHref());
            }
        }
    }
    return links;
}

// The shown topic is scrolled so that its section `anchor` starts at the top, or as far as it goes.
void ExpectScrolledTo(const HelpBrowserWidget& browser, const QString& anchor)
{
    const QTextDocument& document = *browser.document();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(anchor)) {
                QTextCursor at(const_cast<QTextDocument*>(&document));
                at.setPosition(it.fragment().position());
                const int top = browser.cursorRect(at).top();
                const QScrollBar& bar = *browser.verticalScrollBar();
                EXPECT_TRUE(std::abs(top) <= 2 * browser.fontMetrics().height() || bar.value() == bar.maximum())
                    << "#" << anchor.toStdString() << " shows at " << top;
                return;
            }
        }
    }
    ADD_FAILURE() << "no anchor #" << anchor.toStdString();
}

TEST(HelpTopics, EveryTopicOpens)
{
    // Every topic the program opens, and who opens it.
    const std::pair<const char*, const char*> topics[] = {
        {"overview", "tray menu Help, and Help with no page selected"},
        {"diff", "F1 on the Difference page"},
        {"calc", "F1 on the Calculation page"},
        {"timeinfo", "F1 on the Time Info page and its sub-pages"},
        {"rollback", "F1 on the Rollback page"},
        {"options", "F1 on the Options page"},
        {"about", "F1 on the About page"},
        {"achn", "the About page's Acknowledgments button"},
        {"tmpl", "Help and F1 in the template editor"},
        {"tmplname", "Help and F1 in the template name dialog"},
    };
    const FakeMessages messages;
    HelpDialog help(CHRONEL_PRODUCT_HELP_FILE, messages, HelpReader(CHRONEL_HELP_READER));
    auto* browser = help.findChild<HelpBrowserWidget*>();
    ASSERT_NE(browser, nullptr);
    const auto show = [&](const QString& topic) {
        help.ShowTopic(topic);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !help.IsReading(); }, 10'000));
    };
    for (const auto& [topic, why] : topics) {
        SCOPED_TRACE(why);
        show(topic);
        ASSERT_EQ(browser->source(), QUrl(QStringLiteral("chm:/%1.htm").arg(topic))) << topic;
        EXPECT_FALSE(help.CurrentTopicText().trimmed().isEmpty()) << topic;
        EXPECT_NE(help.CurrentTopicText().toStdString(), messages.GetString(kHelpPageTooLargeMessage)) << topic;
    }
    EXPECT_TRUE(help.isVisible());
    show("DIFF");
    EXPECT_EQ(browser->source(), QUrl("chm:/DIFF.htm")) << "help files name their topics without regard to case";
    const QString shown = help.CurrentTopicText();
    show("missing");
    EXPECT_EQ(help.CurrentTopicText(), shown) << "an unknown topic leaves the window as it was";
}

// As a user follows them: every link of every topic clicked, one followed by Tab and Enter, and F1 on each
// Time Info sub-page, in the shipped help file.
TEST(HelpTopics, LinksAndF1OnASubPageOpenTheirTopicAtTheirSection)
{
    const FakeMessages messages;
    HelpDialog help(CHRONEL_PRODUCT_HELP_FILE, messages, HelpReader(CHRONEL_HELP_READER));
    auto& browser = *help.findChild<HelpBrowserWidget*>();
    std::vector<QUrl> opened;
    browser.SetExternalLinkOpener([&](const QUrl& url) { opened.push_back(url); });
    const auto show = [&](const QString& topic) {
        help.ShowTopic(topic);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !help.IsReading(); }, 10'000));
    };
    for (const char* topic :
         {"overview", "diff", "calc", "timeinfo", "rollback", "options", "about", "achn", "tmpl", "tmplname"}) {
        show(topic);
        const QUrl shown = browser.source();
        for (const auto& [position, href] : Links(*browser.document())) {
            SCOPED_TRACE(std::string(topic) + " -> " + href.toStdString());
            browser.setSource(shown);
            QTextCursor at(browser.document());
            at.setPosition(position + 1);
            browser.setTextCursor(at);
            browser.ensureCursorVisible();
            opened.clear();
            QTest::mouseClick(browser.viewport(), Qt::LeftButton, {}, browser.cursorRect(at).center());
            const QUrl target = shown.resolved(QUrl(href));
            if (target.scheme() != "chm") {
                EXPECT_EQ(opened, std::vector<QUrl>{target});
                continue;
            }
            EXPECT_EQ(browser.source(), target);
            if (target.hasFragment()) {
                ExpectScrolledTo(browser, target.fragment());
            }
        }
    }
    show("diff");
    const QUrl first = browser.source().resolved(QUrl(Links(*browser.document()).front().second));
    browser.setFocus();
    QTest::keyClick(&browser, Qt::Key_Tab);
    QTest::keyClick(&browser, Qt::Key_Return);
    EXPECT_EQ(browser.source(), first) << "Tab reaches the first link, Enter follows it";

    UiEnvironment env;
    TimeInfoPage page(env.Services());
    QString asked;
    SetHelpTopicHandler([&](const QString& topic) { asked = topic; });
    const char* const sections[] = {"general", "zone", "moon", "horoscope", "sun"};
    for (int i = 0; i < kInfoSubPageCount; ++i) {
        SCOPED_TRACE(sections[i]);
        page.Sheet().setCurrentIndex(i);
        auto* button = page.SubPage(static_cast<InfoSubPageIndex>(i)).findChild<QAbstractButton*>();
        for (QWidget* target : {static_cast<QWidget*>(page.Sheet().tabBar()), static_cast<QWidget*>(button)}) {
            asked.clear();
            QTest::keyClick(target != nullptr ? target : &page.SubPage(static_cast<InfoSubPageIndex>(i)), Qt::Key_F1);
            EXPECT_EQ(asked, QStringLiteral("timeinfo#") + sections[i]);
        }
        show(asked);
        EXPECT_EQ(browser.source(), QUrl(QStringLiteral("chm:/timeinfo.htm#") + sections[i]));
        ExpectScrolledTo(browser, sections[i]);
    }
    SetHelpTopicHandler({});
}

}   // namespace
