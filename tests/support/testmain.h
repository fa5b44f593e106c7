#ifndef TESTMAIN_H
#define TESTMAIN_H

#include <QtTest>
#include <QtWidgets>

#include "picturedecoder.h"
#include "tempfolder.h"

// Like QTEST_MAIN, but the test runs in a temporary folder of its own: it is
// the working directory and the application directory (config.ini and
// database.db land there), and it is removed afterwards.
#define VW_TEST_MAIN(TestObject)                                   \
    int main(int argc, char *argv[])                               \
    {                                                              \
        if (PictureDecoder::isDecoderCall(argc, argv))             \
            return PictureDecoder::decoderMain(argc, argv);        \
        QApplication app(argc, argv);                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                   \
        TempFolder folder;                                         \
        if (!folder.isValid())                                     \
            return 1;                                              \
        TestObject tc;                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                 \
        return QTest::qExec(&tc, argc, argv);                      \
    }

#endif // TESTMAIN_H
