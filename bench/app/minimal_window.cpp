// The floor for start-up: the least a Qt Widgets program does to show a window, built with the same Qt
// and flags as the program, and timed by the same script.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
