#include "shell/help_dialog.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

TEST(HelpDialog, HelpFileIsNamedAfterTheProgramFile)
{
    EXPECT_EQ(HelpFileFor("/opt/x/chronel"), "/opt/x/chronel.chm");
    EXPECT_EQ(HelpFileFor("/opt/x/Other.exe"), "/opt/x/Other.chm");
    EXPECT_EQ(HelpFileFor("/opt/x.y/my.tool.bin"), "/opt/x.y/my.tool.chm");
}

TEST(HelpDialog, ShowsTopicsFromTheHelpFile)
{
    HelpDialog help(CHRONEL_TEST_HELP_FILE);
    ASSERT_TRUE(help.ShowTopic("first"));
    EXPECT_TRUE(help.CurrentTopicText().contains("First topic"));
    EXPECT_TRUE(help.isVisible());
    ASSERT_TRUE(help.ShowTopic("second"));
    EXPECT_TRUE(help.CurrentTopicText().contains("Second topic"));
    EXPECT_FALSE(help.ShowTopic("missing")) << "an unknown topic leaves the window as it was";
    EXPECT_TRUE(help.CurrentTopicText().contains("Second topic"));
}

TEST(HelpDialog, MissingHelpFileDoesNothing)
{
    QTemporaryDir folder;
    HelpViewer viewer(folder.filePath("absent.chm"));
    viewer.ShowTopic("first");
    EXPECT_EQ(viewer.Window(), nullptr);

    HelpViewer present(CHRONEL_TEST_HELP_FILE);
    InstallHelpViewer(&present);
    ShowHelpTopic("missing");
    ASSERT_NE(present.Window(), nullptr);
    EXPECT_FALSE(present.Window()->isVisible());
    ShowHelpTopic("first");
    EXPECT_TRUE(present.Window()->isVisible());
    InstallHelpViewer(nullptr);
}

}  // namespace
