#include "picturedecoder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPointer>
#include <QProcess>
#include <QRunnable>
#include <QThreadPool>
#include <QTimer>
#include <QVector>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace PictureDecoder {

namespace {

const char decoderSwitch[] = "--decode-picture";
// The largest side asked of a decoder: a label is never wider than a screen.
const int largestSide = 8192;
// The longest answer that is not pixels: a file's length in decimal digits.
const int longestNote = 20;

// How a decoder ends. A file too long to read is answered with its length in
// decimal on standard output; a path that names no regular file (missing, a
// folder, a FIFO, a device) is answered with nothing: there is no picture to
// speak of. A file written while it was read (a copy over it in place) may
// give the top of one picture over the bottom of another: it is not shown,
// whether its length and time tell it or only its bytes do.
enum ExitCode { Decoded = 0, NotAPicture = 3, OutOfMemory = 4, TooLong = 5, NoFile = 6, Changed = 7 };

int alive = 0;
// At most this many decoders live at once, one given up and not yet ended
// included: each may take its memory limit. Decodes asked beyond it start,
// in order, as decoders end.
const int mostAlive = 2;
QList<QPointer<PictureDecode>> waiting;
int cpuLimit = defaultCpuLimitSeconds;
int stallLimit = defaultStallLimitMs;
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

// A picture of 16 bits a channel taken down to 8 within its own memory: Qt's
// conversion and its smooth scaling would each make a copy of it at 8 bytes
// a pixel, which for a 12-megapixel photo is more than the decoder may hold.
// Each line's 8-bit pixels go to its front, over pixels already read.
QImage eightBitsInPlace(QImage &deep)
{
    const bool alpha = deep.hasAlphaChannel();
    const bool premultiply = deep.format() == QImage::Format_RGBA64;
    for (int y = 0; y < deep.height(); ++y) {
        uchar *line = deep.scanLine(y);
        for (int x = 0; x < deep.width(); ++x) {
            QRgba64 pixel;
            std::memcpy(&pixel, line + 8 * x, sizeof pixel);
            const QRgb eight = (premultiply ? pixel.premultiplied() : pixel).toArgb32();
            std::memcpy(line + 4 * x, &eight, sizeof eight);
        }
    }
    return QImage(deep.bits(), deep.width(), deep.height(), deep.bytesPerLine(),
                  alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

bool sixteenBits(QImage::Format format)
{
    return format == QImage::Format_RGBX64 || format == QImage::Format_RGBA64
           || format == QImage::Format_RGBA64_Premultiplied;
}

QImage readScaled(QImageReader &reader, const QSize &size)
{
    // The reader scales what its format cannot decode at the size asked,
    // but a picture of 16 bits a channel is read whole and taken down first.
    if (!sixteenBits(reader.imageFormat())) {
        reader.setScaledSize(size);
        return reader.read();
    }
    QImage whole = reader.read();
    if (whole.isNull())
        return whole;
    if (sixteenBits(whole.format()))
        return eightBitsInPlace(whole).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return whole.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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
        // SIGXCPU at the limit, SIGKILL a second later if it is caught.
        const rlimit cpu{rlim_t(cpuLimit), rlim_t(cpuLimit) + 1};
        ::setrlimit(RLIMIT_CPU, &cpu);
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

// The running image, even when the file it was started from has been
// replaced or removed since (an update while the console runs).
QString runningProgram()
{
    return QStringLiteral("/proc/self/exe");
}

bool killedForTime(int signal)
{
    return signal == SIGXCPU || signal == SIGKILL;
}

// The length and the modification time of an open file, read from its
// descriptor: another program writing into it changes them, whatever name
// it is reached by meanwhile.
QByteArray fileStamp(QFile &file)
{
    struct stat status{};
    if (::fstat(file.handle(), &status) != 0)
        return QByteArray();
    return QByteArray::number(qint64(status.st_size)) + ' ' + QByteArray::number(qint64(status.st_mtim.tv_sec)) + '.'
           + QByteArray::number(qint64(status.st_mtim.tv_nsec));
}

// The CPU time a process has used so far, in clock ticks (its user and
// system time, the 14th and 15th fields of /proc/<pid>/stat, counted after
// the command name, which may hold blanks); -1 when it cannot be read.
qint64 cpuTicksOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.read(1024);
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    bool userOk = false, systemOk = false;
    const qint64 ticks = fields.value(11).toLongLong(&userOk) + fields.value(12).toLongLong(&systemOk);
    return userOk && systemOk ? ticks : -1;
}
#else
// Elsewhere the same bounds are the operating system's too, but set another
// way (a job object on Windows); without them the decoder is bounded in time only.
using LimitedProcess = QProcess;

QString runningProgram()
{
    return QCoreApplication::applicationFilePath();
}

bool killedForTime(int)
{
    return false;
}

QByteArray fileStamp(QFile &file)
{
    return QByteArray::number(file.size()) + ' '
           + QFileInfo(file).lastModified().toString(Qt::ISODateWithMs).toLatin1();
}

// Unknown here: a decoder is then given up when its stall limit has passed
// since it last was seen working, or since its start.
qint64 cpuTicksOf(qint64)
{
    return -1;
}
#endif

// The operator's file as the image reader reads it, keeping where each
// byte it gave the reader came from and a digest of them all, in their
// order. On a share the kernel answers with the file's attributes as they
// were a while ago: a copy over it in place of the same length, made while
// it is read, leaves the length and the time it shows as they were. Its
// bytes read again tell it. A QFile still, so that the reader takes the
// file's suffix into account as it did.
class RecordedFile : public QFile
{
public:
    using QFile::QFile;

    bool seek(qint64 offset) override
    {
        if (!QFile::seek(offset))
            return false;
        at = offset;
        return true;
    }

    // Whether the file, opened anew (a share answers an open with the file
    // as it is, not from what it keeps of it), holds at each place read
    // the bytes the reader was given.
    bool sameBytesNow() const
    {
        QFile again(fileName());
        if (!again.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return false;
        QCryptographicHash now(QCryptographicHash::Md4);
        // Large reads: the kernel asks a share for their parts side by side.
        QByteArray chunk(1024 * 1024, Qt::Uninitialized);
        for (const Span &span : spans) {
            if (!again.seek(span.from))
                return false;
            for (qint64 left = span.length; left > 0;) {
                const qint64 length = again.read(chunk.data(), std::min<qint64>(left, chunk.size()));
                if (length <= 0)
                    return false;
                now.addData(chunk.constData(), int(length));
                left -= length;
            }
        }
        return now.result() == given.result();
    }

protected:
    qint64 readData(char *data, qint64 most) override
    {
        const qint64 length = QFile::readData(data, most);
        if (length <= 0)
            return length;
        if (!spans.isEmpty() && spans.last().from + spans.last().length == at)
            spans.last().length += length;
        else
            spans.append({at, length});
        given.addData(data, int(length));
        at += length;
        return length;
    }

    // Every byte through readData(), lines too.
    qint64 readLineData(char *data, qint64 most) override
    {
        return QIODevice::readLineData(data, most);
    }

private:
    struct Span
    {
        qint64 from;
        qint64 length;
    };
    // The file's own offset, where its next read starts: its reads are
    // buffered, so the reader's position may stand before it.
    qint64 at = 0;
    QVector<Span> spans;
    // A change to notice, not a forger to resist: the quickest digest.
    QCryptographicHash given{QCryptographicHash::Md4};
};

int decodeToStdout(const QString &file, const QSize &size)
{
    // The decoder alone looks at the operator's file: a share that stopped
    // answering holds this process, never the console.
    if (!QFileInfo(file).isFile())
        return NoFile;
    QFile out;
    RecordedFile input(file);
    if (!out.open(stdout, QIODevice::WriteOnly) || !input.open(QIODevice::ReadOnly))
        return NotAPicture;
    const QByteArray before = fileStamp(input);
    if (input.size() > largestFileBytes) {
        out.write(QByteArray::number(input.size()));
        return TooLong;
    }
    QImageReader reader(&input);
    errno = 0;
    QImage image = readScaled(reader, size);
    if (before.isEmpty() || fileStamp(input) != before || !input.sameBytesNow())
        return Changed;
    if (!image.isNull())
        image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return allocationFailed || errno == ENOMEM ? OutOfMemory : NotAPicture;
    return writeAll(out, image) ? Decoded : NotAPicture;
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

void setCpuLimitSeconds(int seconds)
{
    cpuLimit = seconds;
}

void setStallLimitMs(int ms)
{
    stallLimit = ms;
}

void setProgram(const QString &program)
{
    decoderProgram = program;
}

int decodersAlive()
{
    return alive;
}

} // namespace PictureDecoder

using namespace PictureDecoder;

PictureDecode::PictureDecode(const QString &file, const QSize &size, QObject *parent)
    : QObject(parent)
    , path(file)
    , wanted(size)
{
}

PictureDecode::~PictureDecode()
{
    releaseProcess();
}

void PictureDecode::start()
{
    if (process || done || waiting.contains(this))
        return;
    if (wanted.isEmpty() || wanted.width() > largestSide || wanted.height() > largestSide) {
        QTimer::singleShot(0, this, [this] { conclude(QImage(), QString()); });
        return;
    }
    if (alive >= mostAlive) {
        waiting.append(this);
        return;
    }
    launch();
}

void PictureDecode::launch()
{
    // Not a child of this decode: a decoder that does not end at once when
    // killed outlives it, and goes only when it has ended (its QProcess would
    // wait for it when deleted).
    process = new LimitedProcess;
    ++alive;
    connect(process, &QObject::destroyed, QCoreApplication::instance(), [] {
        --alive;
        while (alive < mostAlive && !waiting.isEmpty()) {
            const QPointer<PictureDecode> next = waiting.takeFirst();
            if (next)
                next->launch();
        }
    });
    connect(process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), process, &QObject::deleteLater);
    connect(process, &QProcess::readyReadStandardOutput, this, &PictureDecode::drain);
    connect(process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this, &PictureDecode::ended);
    // Reported from within start(): answered from the event loop, as every other end.
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            QTimer::singleShot(0, this, [this] { conclude(QImage(), refused(QStringLiteral("its decoder could not be started"), path)); });
    });
    // A decoder is given up when it has used no CPU time for its stall
    // limit (a read that does not return), never while it works, however
    // slowly a busy machine lets it: its CPU time has a bound of its own.
    stallAllowedMs = stallLimit;
    cpuTicks = -1;
    sinceWork.start();
    watch = new QTimer(this);
    connect(watch, &QTimer::timeout, this, &PictureDecode::watchWork);
    watch->start(std::clamp(stallLimit / 4, 50, 1000));
#if defined(__SANITIZE_ADDRESS__)
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString options = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       options + QStringLiteral(":allocator_may_return_null=1:quarantine_size_mb=0:max_allocation_size_mb=%1")
                                     .arg(memoryLimitBytes / (1024 * 1024)));
    process->setProcessEnvironment(environment);
#endif
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    // The path is made absolute as text: looking at the file is the decoder's.
    process->start(decoderProgram.isEmpty() ? runningProgram() : decoderProgram,
                   {QLatin1String(decoderSwitch), QDir::cleanPath(QDir::current().absoluteFilePath(path)),
                    QString::number(wanted.width()), QString::number(wanted.height())},
                   QIODevice::ReadOnly);
}

void PictureDecode::drain()
{
    // Drained as it comes, never past what was asked: a decoder that writes
    // more is not believed, and goes now.
    const qint64 room = std::max<qint64>(qint64(wanted.width()) * wanted.height() * 4, longestNote);
    pixels += process->read(room + 1 - pixels.size());
    if (pixels.size() > room)
        conclude(QImage(), refused(QStringLiteral("it is not a picture that can be read"), path));
}

void PictureDecode::ended()
{
    drain();
    if (done)
        return;
    const int code = process->exitCode();
    if (process->exitStatus() != QProcess::NormalExit) {
        conclude(QImage(), refused(killedForTime(code) ? QStringLiteral("it takes too long to decode")
                                                       : QStringLiteral("it is not a picture that can be read"),
                                   path));
        return;
    }
    const qint64 expected = qint64(wanted.width()) * wanted.height() * 4;
    bool numeric = false;
    const qint64 length = pixels.size() <= longestNote ? pixels.toLongLong(&numeric) : 0;
    if (code == Decoded && pixels.size() == expected) {
        QImage image(wanted, QImage::Format_ARGB32);
        if (!image.isNull())
            for (int y = 0; y < wanted.height(); ++y)
                std::memcpy(image.scanLine(y), pixels.constData() + qint64(y) * wanted.width() * 4,
                            size_t(wanted.width()) * 4);
        conclude(image, QString());
    } else if (code == OutOfMemory) {
        conclude(QImage(), refused(QStringLiteral("it takes too much memory to decode"), path));
    } else if (code == TooLong && numeric && length > largestFileBytes) {
        conclude(QImage(), refused(QStringLiteral("a file of %1 MB is too long to read").arg(length / 1000000), path));
    } else if (code == Changed && pixels.isEmpty()) {
        conclude(QImage(), refused(QStringLiteral("the file changed while it was read"), path));
    } else if (code == NoFile && pixels.isEmpty()) {
        conclude(QImage(), QString());
    } else {
        conclude(QImage(), refused(QStringLiteral("it is not a picture that can be read"), path));
    }
}

void PictureDecode::watchWork()
{
    const qint64 ticks = process ? cpuTicksOf(process->processId()) : -1;
    if (ticks >= 0 && ticks != cpuTicks) {
        cpuTicks = ticks;
        sinceWork.start();
    } else if (sinceWork.elapsed() >= stallAllowedMs) {
        giveUp();
    }
}

void PictureDecode::giveUp()
{
    if (!done)
        conclude(QImage(), refused(QStringLiteral("it takes too long to decode"), path));
}

void PictureDecode::conclude(const QImage &image, const QString &reason)
{
    if (done)
        return;
    done = true;
    if (watch)
        watch->stop();
    picture = image;
    why = reason;
    pixels.clear();
    releaseProcess();
    emit finished();
}

void PictureDecode::releaseProcess()
{
    if (!process)
        return;
    process->disconnect(this);
    // A decoder past its time, or writing more than asked, is killed; it is
    // deleted once it has ended, which a read inside the kernel may hold back.
    if (process->state() == QProcess::NotRunning)
        process->deleteLater();
    else
        process->kill();
    process = nullptr;
}
