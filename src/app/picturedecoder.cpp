#include "picturedecoder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QRunnable>
#include <QThreadPool>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>
#endif

namespace PictureDecoder {

namespace {

const char decoderSwitch[] = "--decode-picture";
// The largest side asked of a decoder: a label is never wider than a screen.
const int largestSide = 8192;

// How a decoder ends when it hands back no picture.
enum ExitCode { Decoded = 0, NotAPicture = 3, OutOfMemory = 4 };

int timeLimit = defaultTimeLimitMs;
QString decoderProgram;

// Set by the decoder's message handler when a reader or Qt reported that an
// allocation failed: readers report it in their own words, or not at all
// (then errno tells).
bool allocationFailed = false;

void decoderMessages(QtMsgType, const QMessageLogContext &, const QString &text)
{
    if (text.contains(QLatin1String("memory"), Qt::CaseInsensitive))
        allocationFailed = true;
}

int sideArgument(const char *text)
{
    bool ok = false;
    const int side = QByteArray(text).toInt(&ok);
    return ok && side > 0 && side <= largestSide ? side : 0;
}

bool writeAll(QFile &out, const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        const qint64 length = qint64(image.width()) * 4;
        if (out.write(reinterpret_cast<const char *>(image.constScanLine(y)), length) != length)
            return false;
    }
    return out.flush();
}

int decodeToStdout(const QString &file, const QSize &size)
{
    // The file is judged again as the decoder finds it: it may have been
    // replaced since the console looked.
    const QFileInfo info(file);
    if (!info.isFile() || info.size() > largestFileBytes)
        return NotAPicture;
    QImageReader reader(file);
    reader.setScaledSize(size);
    errno = 0;
    // The reader scales what its format cannot decode at the size asked.
    QImage image = reader.read();
    if (!image.isNull())
        image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return allocationFailed || errno == ENOMEM ? OutOfMemory : NotAPicture;
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return NotAPicture;
    return writeAll(out, image) ? Decoded : NotAPicture;
}

#ifdef Q_OS_LINUX
// The limits are set between fork and exec, so that they bind the decoder
// from its first instruction, whatever it then does.
class LimitedProcess : public QProcess
{
protected:
    void setupChildProcess() override
    {
        // Killed with the console, whatever ends it.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
#if !defined(__SANITIZE_ADDRESS__)
        // Private writable memory: the heap and every anonymous mapping a
        // reader makes, not the executable's shared code. The sanitized
        // build reserves terabytes of it: there a single allocation is
        // bounded through the sanitizer's own allocator instead (see start()).
        const rlimit data{memoryLimitBytes, memoryLimitBytes};
        ::setrlimit(RLIMIT_DATA, &data);
#endif
    }
};
#else
// Elsewhere the same bound is the operating system's too, but set another
// way (a job object on Windows); without it the decoder is bounded in time only.
using LimitedProcess = QProcess;
#endif

void start(QProcess &process, const QString &file, const QSize &size)
{
#if defined(__SANITIZE_ADDRESS__)
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString options = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       options + QStringLiteral(":allocator_may_return_null=1:quarantine_size_mb=0:max_allocation_size_mb=%1")
                                     .arg(memoryLimitBytes / (1024 * 1024)));
    process.setProcessEnvironment(environment);
#endif
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(decoderProgram.isEmpty() ? QCoreApplication::applicationFilePath() : decoderProgram,
                  {QLatin1String(decoderSwitch), QFileInfo(file).absoluteFilePath(), QString::number(size.width()),
                   QString::number(size.height())},
                  QIODevice::ReadOnly);
}

QString refused(const QString &reason, const QString &file)
{
    return QStringLiteral("Picture not shown, %1: %2").arg(reason, file);
}

} // namespace

bool isDecoderCall(int argc, char **argv)
{
    return argc >= 2 && std::strcmp(argv[1], decoderSwitch) == 0;
}

int decoderMain(int argc, char **argv)
{
    if (argc != 5)
        return NotAPicture;
    // The image plugins are found through the application object.
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(decoderMessages);
    const QSize size(sideArgument(argv[3]), sideArgument(argv[4]));
    if (size.isEmpty())
        return NotAPicture;
    const QString file = QFile::decodeName(argv[2]);
    // Qt converts and scales a large picture in segments on the threads of
    // its pool, and waits for them; near the memory limit a thread cannot be
    // made and the wait never ends. On a thread of that pool the work is
    // done in one piece, on that thread.
    int code = NotAPicture;
    QThreadPool::globalInstance()->start(QRunnable::create([&] {
        try {
            code = decodeToStdout(file, size);
        } catch (const std::bad_alloc &) {
            code = OutOfMemory;
        }
    }));
    QThreadPool::globalInstance()->waitForDone();
    // Nothing is left to tidy: ending here leaves no thread to wait for.
    std::fflush(stdout);
    std::_Exit(code);
}

void setTimeLimitMs(int ms)
{
    timeLimit = ms;
}

void setProgram(const QString &program)
{
    decoderProgram = program;
}

QImage decode(const QString &file, const QSize &size, QString *refusal)
{
    refusal->clear();
    const QFileInfo info(file);
    if (info.size() > largestFileBytes) {
        *refusal = refused(QStringLiteral("a file of %1 MB is too long to read").arg(info.size() / 1000000), file);
        return QImage();
    }
    if (size.isEmpty() || size.width() > largestSide || size.height() > largestSide)
        return QImage();

    QElapsedTimer clock;
    clock.start();
    LimitedProcess process;
    start(process, file, size);
    const qint64 expected = qint64(size.width()) * size.height() * 4;
    QByteArray pixels;
    bool late = false;
    bool overrun = false;
    // Drained as it comes, never past what was asked: a decoder that writes
    // more is not believed.
    while (!late && !overrun) {
        // A decoder that ended is judged on what it wrote, however late.
        if (process.bytesAvailable() == 0 && process.state() == QProcess::NotRunning)
            break;
        const qint64 left = timeLimit - clock.elapsed();
        if (left <= 0) {
            late = true;
            break;
        }
        if (process.bytesAvailable() == 0)
            process.waitForReadyRead(int(left));
        pixels += process.read(expected + 1 - pixels.size());
        overrun = pixels.size() > expected;
    }
    // Past its time, or writing more than asked: it goes now.
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(-1);
    }
    if (process.error() == QProcess::FailedToStart) {
        *refusal = refused(QStringLiteral("its decoder could not be started"), file);
        return QImage();
    }
    if (late) {
        *refusal = refused(QStringLiteral("it takes too long to decode"), file);
        return QImage();
    }
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == OutOfMemory) {
        *refusal = refused(QStringLiteral("it takes too much memory to decode"), file);
        return QImage();
    }
    if (overrun || process.exitStatus() != QProcess::NormalExit || process.exitCode() != Decoded
        || pixels.size() != expected) {
        *refusal = refused(QStringLiteral("it is not a picture that can be read"), file);
        return QImage();
    }
    QImage image(size, QImage::Format_ARGB32);
    if (image.isNull())
        return QImage();
    for (int y = 0; y < size.height(); ++y)
        std::memcpy(image.scanLine(y), pixels.constData() + qint64(y) * size.width() * 4, size_t(size.width()) * 4);
    return image;
}

} // namespace PictureDecoder
