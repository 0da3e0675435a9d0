#include <QApplication>

#include "app/application.h"
#include "platform/tz_file_check.h"

int main(int argc, char** argv)
{
    // Before Qt or the C library reads the zone: a TZ naming a FIFO would hang the window for ever, and one
    // that names no zone gives way to the computer's zone.
    const std::optional<std::string> unreadableTz = RemoveTzNamingNoZone();
    QApplication application(argc, argv);
    Application chronel(unreadableTz);
    return chronel.run();
}
