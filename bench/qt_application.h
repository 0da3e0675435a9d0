#pragma once

#include <QApplication>

// The one application object of the benchmark binary, made by whichever Qt benchmark runs first: two
// would fight over Qt's global state and crash at exit.
inline QApplication& BenchApplication()
{
    static int argc = 1;
    static char name[] = "chronel_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
    return application;
}
