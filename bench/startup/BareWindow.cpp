// The yardstick of the start-up benchmark: the barest Qt Widgets program, one empty window shown.
// It carries the same first-frame mark as Velmora, so that both are timed alike.

#include "common/StartupTrace.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    StartupTrace::mark("main");
    QApplication app(argc, argv);
    StartupTrace::watchFirstFrame(&app);
    StartupTrace::mark("application made");
    QWidget window;
    window.show();
    return QApplication::exec();
}
