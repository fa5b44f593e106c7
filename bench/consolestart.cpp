// The console's own start-up, as the executable does it, ending as soon as
// the main window is on screen. Everything the executable builds before its
// event loop runs is built here too: the application look, the main window
// and every child window it creates.

#include <QApplication>
#include <QDir>

#include "appinit.h"
#include "globalobject.h"
#include "picturedecoder.h"
#include "startprobe.h"
#include "velmar_windows.h"

int main(int argc, char *argv[])
{
    if (PictureDecoder::isDecoderCall(argc, argv))
        return PictureDecoder::decoderMain(argc, argv);
    QApplication app(argc, argv);

    auto *init = new AppInit;
    init->start();
    // The driver starts each run in a fresh folder: keep config.ini there
    // too, so that every run is a first start whatever the build folder holds.
    appDirPath = QDir::currentPath();

    Velmar_Windows window;
    quitWhenExposed(&window);
    window.show();
    if (window.autoOpen)
        window.openSerial();

    const int code = app.exec();
    printPeakMemory();
    return code;
}
