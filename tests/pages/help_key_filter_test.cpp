#include "pages/help_key_filter.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/main_window.h"
#include "fakes/ui_environment.h"
#include "pages/help_request.h"
#include "pages/page_widget.h"
#include "pages/templates/template_editor.h"
#include "pages/templates/template_name_dialog.h"

namespace {

// Each window asks for its topic on its own moments of F1, and the key reaches no window around it: a page
// inside the main window asks only for its own topic.
TEST(HelpKey, EachWindowAnswersOnItsMomentsAndKeepsTheKey)
{
    UiEnvironment env;
    MainWindow window(
        AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter, env.timeChanges});
    const TemplateNameDialog name(window.GetLanguageTable(), [](const std::string& path) { return path; });
    TemplateEditor editor(TemplateEditor::Services{window.PageValues(), env.clock, env.formatter, env.settings,
                                                   env.location, window.GetLanguageTable()});
    window.findChild<QListWidget*>("pageList")->setCurrentRow(kCalculationPage);
    const struct {
        const char* why;
        QWidget* target;
        const char* topic;
        std::size_t onPress, onRelease;
    } cases[] = {
        {"a button of a page, on press and on release", window.Page(kRollbackPage)->findChild<QPushButton*>(),
         "rollback", 1, 1},
        {"the page list, on release", window.findChild<QListWidget*>("pageList"), "calc", 0, 1},
        {"the template name dialog, on press", const_cast<TemplateNameDialog*>(&name), "tmplname", 1, 0},
    };
    std::vector<QString> asked;
    SetHelpTopicHandler([&](const QString& topic) { asked.push_back(topic); });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        asked.clear();
        QTest::keyPress(c.target, Qt::Key_F1);
        EXPECT_EQ(asked.size(), c.onPress);
        QTest::keyRelease(c.target, Qt::Key_F1);
        EXPECT_EQ(asked, std::vector<QString>(c.onPress + c.onRelease, QString::fromLatin1(c.topic)));
    }
    SetHelpTopicHandler({});
}

}   // namespace
