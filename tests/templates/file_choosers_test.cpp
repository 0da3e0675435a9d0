#include "templates/file_choosers.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include <filesystem>

#include "fakes/temp_folder.h"

namespace {

// Answers the next modal file dialog: selects `name` (when not empty) and accepts, or cancels.
void AnswerNextDialog(const QString& name, bool accept, QStringList* filters = nullptr)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (filters != nullptr) {
            *filters = dialog->nameFilters();
        }
        if (!name.isEmpty()) {
            dialog->selectFile(name);
        }
        // Through QDialog, where accept() is public; the file dialog's own override runs.
        QDialog* asDialog = dialog;
        accept ? asDialog->accept() : asDialog->reject();
    });
}

TEST(FileDialog, SaveFormAddsTheDefaultExtension)
{
    TempFolder folder;
    QStringList filters;
    AnswerNextDialog(QString::fromStdString(folder / "report"), true, &filters);
    std::string path = "stale";
    ASSERT_TRUE(ChooseFile(true, path, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||", "txt", nullptr));
    EXPECT_EQ(path, folder / "report.txt");
    EXPECT_EQ(filters, (QStringList{"Text Files (*.txt)", "All Files (*)"}));
}

TEST(FileDialog, OpenFormAndCancel)
{
    TempFolder folder;
    WriteFileBytes(folder / "in.txt", "x");
    AnswerNextDialog(QString::fromStdString(folder / "in.txt"), true);
    std::string path;
    ASSERT_TRUE(ChooseFile(false, path, "Text Files (*.txt)|*.txt||", "txt", nullptr));
    EXPECT_EQ(path, folder / "in.txt");
    AnswerNextDialog({}, false);
    EXPECT_FALSE(ChooseFile(false, path, "Text Files (*.txt)|*.txt||", "txt", nullptr));
    EXPECT_EQ(path, "");
    path = "stale";
    EXPECT_FALSE(ChooseFile(true, path, "", "txt", nullptr));
    EXPECT_EQ(path, "");
}

TEST(FileDialog, BrowseForFolderStartsAtTheGivenFolder)
{
    TempFolder folder;
    std::filesystem::create_directory(folder / "Templates");
    std::string chosen = folder / "Templates";
    AnswerNextDialog({}, true);
    ASSERT_TRUE(BrowseForFolder("", chosen, nullptr));
    EXPECT_EQ(chosen, folder / "Templates");
    AnswerNextDialog({}, false);
    EXPECT_FALSE(BrowseForFolder("Choose", chosen, nullptr));
    EXPECT_EQ(chosen, "");
}

}  // namespace
