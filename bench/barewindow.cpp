// The baseline of the start-up benchmark: a bare Qt window of the console's
// size, shown and closed again as soon as it is on screen.

#include <QApplication>
#include <QWidget>

#include "startprobe.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    QWidget window;
    window.resize(1044, 709);
    quitWhenExposed(&window);
    window.show();

    const int code = app.exec();
    printPeakMemory();
    return code;
}
