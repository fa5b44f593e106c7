// How large a config.ini the console writes itself, and what a config.ini
// within the size bound costs a start.
//
// First the console's own saves: a config.ini holding every window's values
// at their longest (255 input names of each of the five lists, 99 scenes,
// 256 ports, a 15 x 15 wall's outputs, a caption of 4000 characters, a logo
// path of 4095 bytes) is loaded by a start and written again by its close;
// its names are of one character and then of the longest a name may be, all
// of them characters that INI escapes to six bytes each.
//
// Then starts, each the main window built with all its child windows and
// closed again (the close saves every group), in a fresh folder: on no
// config.ini, on the console's largest file, on a file of
// junk keys just within the bound and on one of a single long value just
// within it. Each figure is the median of five.
//
// Usage: QT_QPA_PLATFORM=offscreen configbench

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <vector>

#include "appinit.h"
#include "changenamewindows.h"
#include "picturedecoder.h"
#include "benchkit.h"
#include "configfile.h"
#include "globalobject.h"
#include "longestconfig.h"

using namespace LongestConfig;
#include "velmar_windows.h"

namespace {

constexpr double targetExtraMs = 2000;

// A start and its close: the main window, every child window shown so that
// its close saves its group too.
void startAndClose()
{
    Velmar_Windows window;
    window.show();
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget != &window && !widget->parentWidget() && !widget->inherits("QMenu"))
            widget->show();
    QCoreApplication::processEvents();
    window.close();
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget != &window && !widget->parentWidget())
            widget->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The median milliseconds of five starts, each in a fresh folder that
// prepare fills first.
double timedStart(const std::function<void()> &prepare)
{
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        QTemporaryDir folder;
        appDirPath = folder.path();
        prepare();
        QElapsedTimer clock;
        clock.start();
        startAndClose();
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    return median(times);
}

qint64 savedSize(int nameLength)
{
    QTemporaryDir folder;
    appDirPath = folder.path();
    writeLongestConfig(nameLength);
    startAndClose();
    return QFileInfo(ConfigFile::path()).size();
}

void writeFile(const QByteArray &head, qint64 size, char fill)
{
    QFile file(ConfigFile::path());
    if (!file.open(QIODevice::WriteOnly) || file.write(head) != head.size()
        || file.write(QByteArray(int(size - head.size() - 1), fill)) != size - head.size() - 1 || !file.putChar('\n'))
        std::printf("config.ini not written\n");
}

// Junk keys "k1=1" and on, in one group, to exactly size bytes.
void writeJunkKeys(qint64 size)
{
    QByteArray text("[Junk]\n");
    for (int i = 0; text.size() + 64 < size; ++i)
        text += "k" + QByteArray::number(i) + "=1\n";
    writeFile(text + "[MainSetting]\nRow=3\nfill=", size, 'x');
}

} // namespace

int main(int argc, char *argv[])
{
    // A logo named in the bench's config.ini is decoded by this executable.
    if (PictureDecoder::isDecoderCall(argc, argv))
        return PictureDecoder::decoderMain(argc, argv);
    QApplication app(argc, argv);
    (new AppInit(&app))->start();
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});

    std::printf("config.ini saved at its longest, names of 1 character: %lld bytes\n", savedSize(1));
    std::printf("names of %d characters, the longest: %lld bytes\n", ChangeNameWindows::maxNameLength,
                savedSize(ChangeNameWindows::maxNameLength));
    std::printf("bound: %lld bytes\n", ConfigFile::maxBytes);

    startAndClose(); // the first build loads what every later one finds loaded
    const double plain = timedStart([] {});
    const double longest = timedStart([] { writeLongestConfig(ChangeNameWindows::maxNameLength); });
    const double junk = timedStart([] { writeJunkKeys(ConfigFile::maxBytes); });
    const double value = timedStart([] {
        writeFile("[MainSetting]\nUsername=", ConfigFile::maxBytes, 'x');
    });
    std::printf("start and close, no config.ini:                %8.1f ms\n", plain);
    std::printf("start and close, the console's longest file:   %8.1f ms\n", longest);
    std::printf("start and close, junk keys to the bound:       %8.1f ms\n", junk);
    std::printf("start and close, one value to the bound:       %8.1f ms\n", value);
    const bool met = longest - plain <= targetExtraMs && junk - plain <= targetExtraMs && value - plain <= targetExtraMs;
    std::printf("target (no file within the bound more than %.0f ms over a plain start): %s\n", targetExtraMs,
                met ? "met" : "MISSED");
    return met ? 0 : 1;
}
