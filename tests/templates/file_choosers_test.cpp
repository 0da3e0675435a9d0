#include "templates/file_choosers.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include <filesystem>

#include "fakes/temp_folder.h"

namespace {

// Answers the next modal file dialog: selects `name` (when not empty) and accepts, or cancels.
void AnswerNextDialog(const std::string& name, bool accept)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (!name.empty()) {
            dialog->selectFile(QString::fromStdString(name));
        }
        // Through QDialog, where accept() is public; the file dialog's own override runs.
        QDialog* asDialog = dialog;
        accept ? asDialog->accept() : asDialog->reject();
    });
}

TEST(FileDialog, SaveAddsTheExtensionCancelClears)
{
    TempFolder folder;
    const char* const filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
    AnswerNextDialog(folder / "report", true);
    std::string path = "stale";
    ASSERT_TRUE(ChooseFile(true, path, filter, "txt", nullptr));
    EXPECT_EQ(path, folder / "report.txt");
    AnswerNextDialog({}, false);
    EXPECT_FALSE(ChooseFile(false, path, filter, "txt", nullptr));
    EXPECT_EQ(path, "");
    path = "stale";
    EXPECT_FALSE(ChooseFile(true, path, "", "txt", nullptr)) << "an empty filter shows no dialog";
    EXPECT_EQ(path, "");

    std::string chosen = folder.Path().string();
    AnswerNextDialog({}, true);
    ASSERT_TRUE(BrowseForFolder("", chosen, nullptr));
    EXPECT_EQ(chosen, folder.Path().string()) << "it starts at the given folder";
}

}   // namespace
