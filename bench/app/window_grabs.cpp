// Saves a picture of every page, tab and dialog under the fake clock, the fixed English formatter and a
// fixed zone, so that two builds can be compared pixel for pixel:
//   window_grabs OUT_DIR [BEFORE_DIR]
// With BEFORE_DIR it then compares every picture with the one of the same name there and exits non-zero
// on any difference.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTabWidget>

#include <cstdio>
#include <filesystem>

#include "app/help_dialog.h"
#include "app/main_window.h"
#include "app/system_info_dialog.h"
#include "fakes/ui_environment.h"
#include "pages/page_widget.h"
#include "pages/templates/template_editor.h"
#include "pages/templates/template_name_dialog.h"

namespace {

void Save(QWidget& widget, const QString& folder, const QString& name)
{
    widget.grab().save(folder + "/" + name + ".png");
}

int Compare(const QString& before, const QString& after)
{
    int differing = 0;
    const QStringList names = QDir(after).entryList({"*.png"}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        const QImage old(before + "/" + name);
        const QImage now(after + "/" + name);
        if (old.isNull() || old.convertToFormat(QImage::Format_ARGB32) != now.convertToFormat(QImage::Format_ARGB32)) {
            std::printf("differs: %s\n", qPrintable(name));
            ++differing;
        }
    }
    std::printf("%lld pictures, %d differ\n", static_cast<long long>(names.size()), differing);
    return differing == 0 ? 0 : 1;
}

}   // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s OUT_DIR [BEFORE_DIR]\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    UiEnvironment env;
    const std::string templates = env.folder.filePath("templates").toStdString();
    std::filesystem::create_directories(templates);
    env.settings.WriteString(SettingId::TemplateFolder, templates);

    MainWindow window(
        AppServices{env.clock, env.formatter, env.settings, env.location, env.zones, env.clockSetter, env.timeChanges});
    window.resize(window.sizeHint());
    // Shown, as a user sees it: pages finish some of their controls when first shown.
    window.show();
    auto& pageList = *window.findChild<QListWidget*>("pageList");
    const char* pages[] = {"difference", "calculation", "time_info", "rollback", "options", "about"};
    for (int index = 0; index < 6; ++index) {
        pageList.setCurrentRow(index);
        QApplication::processEvents();
        // The temporary folder's name changes from run to run.
        for (auto* edit : window.Page(index)->findChildren<QLineEdit*>()) {
            if (edit->text() == QString::fromStdString(templates)) {
                const QSignalBlocker quiet(edit);
                edit->setText("/templates");
            }
        }
        Save(window, out, QString("page_%1_%2").arg(index).arg(pages[index]));
    }
    pageList.setCurrentRow(2);
    auto& tabs = *window.Page(2)->findChild<QTabWidget*>();
    for (int tab = 0; tab < tabs.count(); ++tab) {
        tabs.setCurrentIndex(tab);
        QApplication::processEvents();
        Save(window, out, QString("time_info_tab_%1").arg(tab));
    }

    TemplateEditor editor(TemplateEditor::Services{window.PageValues(), env.clock, env.formatter, env.settings,
                                                   env.location, window.GetLanguageTable()});
    editor.Open();
    Save(editor, out, "template_editor");
    TemplateNameDialog name(window.GetLanguageTable(),
                            [&](const std::string& n) { return templates + "/" + n + ".trt"; });
    Save(name, out, "template_name");
    SystemInfoDialog info;
    Save(info, out, "system_info");
    HelpDialog help(QString::fromStdString(env.folder.filePath("missing.chm").toStdString()),
                    window.GetLanguageTable());
    Save(help, out, "help");
    return argc == 3 ? Compare(QString::fromLocal8Bit(argv[2]), out) : 0;
}
