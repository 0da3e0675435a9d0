#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QUrl>

#include <QTest>

#include "app/help_dialog.h"
#include "fakes/fake_messages.h"
#include "platform/chm_file.h"

namespace {

TEST(HelpTopics, EveryTopicOpensAndEveryLinkResolvesInsideTheHelpFile)
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
    const auto read = [](const QString& path) {
        return QString::fromStdString(ReadChmObject(CHRONEL_PRODUCT_HELP_FILE, path.toStdString()).value_or(""));
    };
    const QRegularExpression link(R"re((?:href|src)\s*=\s*"([^"]*)")re", QRegularExpression::CaseInsensitiveOption);
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
        for (const QRegularExpressionMatch& match : link.globalMatch(read(u'/' + QString(topic) + ".htm"))) {
            const QUrl relative(match.captured(1));
            SCOPED_TRACE(relative.toString().toStdString());
            if (!relative.scheme().isEmpty()) {
                continue;   // a web or mail address leaves the help file on purpose
            }
            // Resolved as the help window resolves a click: against the shown topic.
            const QUrl url = browser->source().resolved(relative);
            const QString object = read(url.path());
            EXPECT_FALSE(object.isEmpty()) << topic << " links to a missing " << url.path().toStdString();
            const QRegularExpression anchor(
                QStringLiteral(R"re((?:name|id)\s*=\s*"%1")re").arg(QRegularExpression::escape(url.fragment())),
                QRegularExpression::CaseInsensitiveOption);
            EXPECT_TRUE(!url.hasFragment() || anchor.match(object).hasMatch())
                << topic << " links to a missing anchor #" << url.fragment().toStdString();
        }
    }
    EXPECT_TRUE(help.isVisible());
    show("DIFF");
    EXPECT_EQ(browser->source(), QUrl("chm:/DIFF.htm")) << "help files name their topics without regard to case";
    const QString shown = help.CurrentTopicText();
    show("missing");
    EXPECT_EQ(help.CurrentTopicText(), shown) << "an unknown topic leaves the window as it was";
}

}   // namespace
