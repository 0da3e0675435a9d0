#include "pages/templates/file_choosers.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "templates/file_filter.h"

namespace {

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The folder of the file last chosen in this session; empty before the first.
QString& LastFileFolder()
{
    static QString folder;
    return folder;
}

// The working folder means nothing to a program started from the desktop: the folder last used while it
// still exists, else the user's documents folder, else the home folder.
QString FileDialogStartFolder()
{
    for (const QString& folder :
         {LastFileFolder(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)}) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
            return folder;
        }
    }
    return QDir::homePath();
}

}   // namespace

bool ChooseFile(bool save, std::string& path, std::string_view filter, std::string_view defaultExtension,
                QWidget* parent)
{
    path.clear();
    if (filter.empty()) {
        return false;
    }
    QFileDialog dialog(parent);
    dialog.setDirectory(FileDialogStartFolder());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(ToQString(FormatNameFilters(ParseFileFilter(filter))));
    dialog.setDefaultSuffix(ToQString(defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    LastFileFolder() = QFileInfo(chosen).absolutePath();
    path = QDir::toNativeSeparators(chosen).toStdString();
    return true;
}

bool BrowseForFolder(std::string_view title, std::string& folder, QWidget* parent)
{
    const QString start = folder.empty() ? QDir::currentPath() : ToQString(folder);
    folder.clear();
    QFileDialog dialog(parent, ToQString(title), start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    folder = QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
    return true;
}
