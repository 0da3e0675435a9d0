#include <QApplication>

#include "shell/application_widget.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    CEvalApp chronel;
    if (!chronel.InitInstance()) {
        return 1;
    }
    return chronel.ExitInstance(QApplication::exec());
}
