#include <QApplication>

#include <csignal>

#include "appinit.h"
#include "picturedecoder.h"
#include "velmar_windows.h"

int main(int argc, char *argv[])
{
#ifdef SIGXFSZ
    // A write past a file size limit (config.ini, database.db, a message of
    // Qt's to a file) fails with EFBIG and is reported like any failed
    // write, instead of ending the console before its window shows.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // The same executable decodes the operator's logo in a process of its own.
    if (PictureDecoder::isDecoderCall(argc, argv))
        return PictureDecoder::decoderMain(argc, argv);

    QApplication app(argc, argv);

    // Lives as long as the process: it is the drag filter of every window.
    auto *init = new AppInit;
    init->start();

    Velmar_Windows window;
    window.show();
    if (window.autoOpen)
        window.openSerial();

    return app.exec();
}
