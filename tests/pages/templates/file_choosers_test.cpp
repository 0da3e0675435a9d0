#include "pages/templates/file_choosers.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include <filesystem>

#include "fakes/temp_folder.h"

namespace {

// The file dialogs keep their state in $XDG_CONFIG_HOME/QtProject.conf and look for the documents folder
// in the home folder: both are temporary here.
struct FileDialog : ::testing::Test {
    TempFolder home;
    ScopedEnv homeEnv{"HOME", home.Path().string()};
    ScopedEnv config{"XDG_CONFIG_HOME", home / "config"};
};

// Answers the next modal file dialog: selects `name` (when not empty) and accepts, or cancels; `startedIn`
// gets the folder it showed first.
void AnswerNextDialog(const std::string& name, bool accept, std::string* startedIn = nullptr)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (startedIn != nullptr) {
            *startedIn = dialog->directory().absolutePath().toStdString();
        }
        if (!name.empty()) {
            dialog->selectFile(QString::fromStdString(name));
        }
        // Through QDialog, where accept() is public; the file dialog's own override runs.
        QDialog* asDialog = dialog;
        accept ? asDialog->accept() : asDialog->reject();
    });
}

const char* const kFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";

TEST_F(FileDialog, SaveAddsTheExtensionCancelClears)
{
    TempFolder folder;
    AnswerNextDialog(folder / "report", true);
    std::string path = "stale";
    ASSERT_TRUE(ChooseFile(true, path, kFilter, "txt", nullptr));
    EXPECT_EQ(path, folder / "report.txt");
    AnswerNextDialog({}, false);
    EXPECT_FALSE(ChooseFile(false, path, kFilter, "txt", nullptr));
    EXPECT_EQ(path, "");
    path = "stale";
    EXPECT_FALSE(ChooseFile(true, path, "", "txt", nullptr)) << "an empty filter shows no dialog";
    EXPECT_EQ(path, "");

    std::string chosen = folder.Path().string();
    AnswerNextDialog({}, true);
    ASSERT_TRUE(BrowseForFolder("", chosen, nullptr));
    EXPECT_EQ(chosen, folder.Path().string()) << "it starts at the given folder";
}

// Not the working folder, which means nothing to a program started from the desktop.
TEST_F(FileDialog, StartsInTheLastFolderUsedElseDocumentsElseHome)
{
    const std::string documents = home / "Documents";
    const std::string other = home / "other";
    std::filesystem::create_directories(other);
    const auto startOf = [](const std::string& answer) {
        std::string started, path;
        AnswerNextDialog(answer, !answer.empty(), &started);
        ChooseFile(true, path, kFilter, "txt", nullptr);
        return started;
    };
    EXPECT_EQ(startOf(""), home.Path().string()) << "no documents folder";
    std::filesystem::create_directories(documents);
    EXPECT_EQ(startOf(other + "/a.txt"), documents);
    EXPECT_EQ(startOf(""), other) << "the folder last used";
    std::filesystem::remove_all(other);
    EXPECT_EQ(startOf(""), documents) << "the last folder is gone";
}

}   // namespace
