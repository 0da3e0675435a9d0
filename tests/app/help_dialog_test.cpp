#include "app/help_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTest>

#include "fakes/temp_folder.h"

namespace {

const HelpReader kReader(CHRONEL_HELP_READER);

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
    HelpViewer viewer(CHRONEL_TEST_HELP_FILE, kReader);
    viewer.ShowTopic("first");
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
    HelpViewer absent(QString::fromStdString(folder / "absent.chm"), kReader);
    absent.ShowTopic("first");
    EXPECT_EQ(absent.Window(), nullptr) << "a missing help file does nothing";

    HelpViewer present(CHRONEL_TEST_HELP_FILE, kReader);
    InstallHelpViewer(&present);
    ShowHelpTopic("missing");
    ASSERT_NE(present.Window(), nullptr);
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
    HelpViewer viewer(QString::fromStdString(damaged), kReader);
    viewer.ShowTopic("first");
    ASSERT_NE(viewer.Window(), nullptr);
    EXPECT_FALSE(viewer.Window()->isVisible());
    auto* box = asking.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->text().contains("not available"));
    EXPECT_TRUE(box->text().contains(QString::fromStdString(damaged)));
    delete box;
}

}   // namespace
