#include "app/help_dialog.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QUrl>

#include "platform/chm_file.h"

namespace {

// Every topic the program opens, and who opens it.
struct TopicCase {
    const char* why;
    const char* topic;
};

const TopicCase kTopics[] = {
    {"tray menu Help, and Help with no page selected", "overview"},
    {"F1 on the Difference page", "diff"},
    {"F1 on the Calculation page", "calc"},
    {"F1 on the Time Info page and its sub-pages", "timeinfo"},
    {"F1 on the Rollback page", "rollback"},
    {"F1 on the Options page", "options"},
    {"F1 on the About page", "about"},
    {"the About page's Acknowledgments button", "achn"},
    {"Help and F1 in the template editor", "tmpl"},
    {"Help and F1 in the template name dialog", "tmplname"},
};

std::string ReadProductObject(const QString& path)
{
    return ReadChmObject(CHRONEL_PRODUCT_HELP_FILE, path.toStdString()).value_or(std::string());
}

// The targets of every href and src attribute, in document order.
QStringList LinkTargets(const QString& html)
{
    static const QRegularExpression link(QStringLiteral(R"re((?:href|src)\s*=\s*"([^"]*)")re"),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList targets;
    for (const QRegularExpressionMatch& match : link.globalMatch(html)) {
        targets << match.captured(1);
    }
    return targets;
}

bool HasAnchor(const QString& html, const QString& anchor)
{
    const QString pattern = QStringLiteral(R"re((?:name|id)\s*=\s*"%1")re").arg(QRegularExpression::escape(anchor));
    const QRegularExpression named(pattern, QRegularExpression::CaseInsensitiveOption);
    return named.match(html).hasMatch();
}

TEST(HelpTopics, EveryTopicOpensAndEveryLinkResolvesInsideTheHelpFile)
{
    HelpDialog help(CHRONEL_PRODUCT_HELP_FILE, HelpReader(CHRONEL_HELP_READER));
    auto* browser = help.findChild<HelpBrowserWidget*>();
    ASSERT_NE(browser, nullptr);
    for (const TopicCase& c : kTopics) {
        SCOPED_TRACE(c.why);
        const QString topic = QString::fromLatin1(c.topic);
        ASSERT_TRUE(help.ShowTopic(topic)) << c.topic;
        EXPECT_FALSE(help.CurrentTopicText().trimmed().isEmpty()) << c.topic;

        const QString html = QString::fromStdString(ReadProductObject(u'/' + topic + QStringLiteral(".htm")));
        for (const QString& target : LinkTargets(html)) {
            SCOPED_TRACE(target.toStdString());
            const QUrl relative(target);
            if (!relative.scheme().isEmpty()) {
                continue;  // a web or mail address leaves the help file on purpose
            }
            // Resolved as the help window resolves a click: against the shown topic.
            const QUrl url = browser->source().resolved(relative);
            const std::string object = ReadProductObject(url.path());
            EXPECT_FALSE(object.empty()) << c.topic << " links to a missing " << url.path().toStdString();
            if (url.hasFragment()) {
                EXPECT_TRUE(HasAnchor(QString::fromStdString(object), url.fragment()))
                    << c.topic << " links to a missing anchor #" << url.fragment().toStdString();
            }
        }
    }
    EXPECT_TRUE(help.isVisible());
    ASSERT_TRUE(help.ShowTopic("DIFF")) << "help files name their topics without regard to case";
    const QString shown = help.CurrentTopicText();
    EXPECT_FALSE(help.ShowTopic("missing"));
    EXPECT_EQ(help.CurrentTopicText(), shown) << "an unknown topic leaves the window as it was";
}

}  // namespace
