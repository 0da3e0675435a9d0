#include <QApplication>

#include "app/application.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    Application chronel;
    if (!chronel.InitInstance()) {
        return 1;
    }
    return chronel.ExitInstance(QApplication::exec());
}
