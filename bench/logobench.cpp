// What decoding each logo file costs, in a process of the decoder's own:
// the time from the start of the decode to the picture (or the refusal),
// the decoding process's peak resident memory and the outcome, against the
// limits the console holds it to. Files are made in a temporary folder.
//
//   logobench [--in DIR] [file...]   the files named, or every file it can
//                                    make, in DIR (kept) or a temporary folder

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include "logofiles.h"
#include "picturedecoder.h"

namespace {

// One file in a process of its own, so that its decoder's peak is its own.
int measureOne(const QString &file, int limitMs)
{
    PictureDecoder::setStallLimitMs(limitMs);
    QElapsedTimer clock;
    clock.start();
    QString refusal;
    const QImage image = LogoFiles::decodeWaiting(file, QSize(1024, 576), &refusal);
    const qint64 ms = clock.elapsed();
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const long cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000
                       + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
    printf("%-22s %7lld ms %7ld ms CPU %7ld MiB %s\n", qPrintable(file), ms, cpuMs, usage.ru_maxrss / 1024,
           image.isNull() ? qPrintable(refusal.section(QLatin1String(", "), 1).section(QLatin1Char(':'), 0, 0))
                          : "shown");
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (PictureDecoder::isDecoderCall(argc, argv))
        return PictureDecoder::decoderMain(argc, argv);
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    if (arguments.size() == 3 && arguments.first() == QLatin1String("--one"))
        return measureOne(arguments.at(1), arguments.at(2).toInt());
    QTemporaryDir temporary;
    const bool kept = arguments.size() >= 2 && arguments.first() == QLatin1String("--in");
    const QString folder = kept ? arguments.at(1) : temporary.path();
    if (kept)
        arguments = arguments.mid(2);
    if (!QDir().mkpath(folder) || !QDir::setCurrent(folder))
        return 1;
    if (arguments.isEmpty())
        arguments = QStringList{"icon.gif", "icon.ico", "icon.bmp", "png256.ico", "photo5472.jpg", "photo6000.jpg",
                                "photo64mp.jpg", "progressive12mp.jpg", "progressive24mp.jpg", "progressive24mp444.jpg", "progressive30mp444.jpg", "progressive36mp.jpg", "rgb8bit.png",
                                "white4000.png", "white5400.png", "palettetext.png", "gif2000.gif", "gif4000.gif", "farpixel.gif",
                                "chunks.png", "runon.gif", "scan1x1000.jpg", "scan9x60.jpg", "tilescan1x30000.jpg",
                                "white8000.png", "white10000.png", "white20000.png", "lying.ico", "claim30000.jpg", "claim444.jpg",
                                "claimcmyk.jpg", "grey16bit.png", "interlaced.png", "ztxt.png", "ztxt.ico",
                                "runon16mb.png", "runon.ico", "comments.jpg", "appdata.jpg", "alpha4000.bmp",
                                "lossless4000.webp", "deep12mp.png", "deep12mp.tif", "deep4000.tif", "padded.jpg", "atbound.png", "pastbound.png",
                                "text.png"};
    printf("limits: %lld MiB of data, %d s of CPU; times up to a wall clock of 60 s\n",
           PictureDecoder::memoryLimitBytes / (1024 * 1024), PictureDecoder::defaultCpuLimitSeconds);
    fflush(stdout);
    for (const QString &file : arguments) {
        if (!LogoFiles::make(file)) {
            printf("%-22s not made (no writer for it)\n", qPrintable(file));
            continue;
        }
        QProcess one;
        one.setProcessChannelMode(QProcess::ForwardedChannels);
        one.start(QCoreApplication::applicationFilePath(), {"--one", file, "60000"});
        one.waitForFinished(-1);
        fflush(stdout);
    }
    return 0;
}
