#ifndef PICTUREDECODER_H
#define PICTUREDECODER_H

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

class QProcess;
class QTimer;

// An operator's picture file is decoded in a short-lived process of the
// executable's own, under limits on its memory and its CPU time that the
// operating system holds: whatever a file makes an image reader do, the
// console only ever receives the pixels it asked for. The console itself
// never looks at the file (a share that stopped answering would hold it): the
// decoder judges it, and the console never waits for the decoder. Pictures of
// the program's own resources need none of this.
namespace PictureDecoder {

// The largest file decoded: a 64-megapixel camera photo takes some 30 MB,
// and every byte of a file can be one a decoder reads and skips.
constexpr qint64 largestFileBytes = 100 * 1000 * 1000;
// What the decoding process may take besides the executable's own code: a
// progressive photo of 30 megapixels that keeps every chroma sample (4:4:4)
// holds the coefficients of the whole picture, and needs 189 MiB of it;
// with the code, the decoder stays within 250 MB.
constexpr qint64 memoryLimitBytes = 208 * 1024 * 1024;
// The decoder's CPU time: what a picture costs, whatever else the machine does.
constexpr int defaultCpuLimitSeconds = 2;
// How long a decoder may use no CPU time at all before it is given up: a
// read that does not return (a share that stopped answering). One that
// works, however slowly a busy machine lets it, is bounded by its CPU time.
constexpr int defaultStallLimitMs = 10000;

// Whether the command line asks for the decoder; then decoderMain() is the
// whole of the process: call both before any application object exists.
bool isDecoderCall(int argc, char **argv);
int decoderMain(int argc, char **argv);

// The bounds of the decodes started from now on; the defaults unless set.
void setCpuLimitSeconds(int seconds);
void setStallLimitMs(int ms);

// The decoders started and not yet ended and reaped: a decoder given up
// stays among them until its process has ended.
int decodersAlive();

// The program started as the decoder, with the decoder's switch, the file
// and the size: the running executable itself unless set (tests set a stand-in).
void setProgram(const QString &program);

} // namespace PictureDecoder

// One decode of an operator's picture file, scaled to a size (ignoring its
// aspect). start() returns at once; finished() follows from the event loop,
// once, when the decoder has answered or has been given up. A decoder that
// does not end at once when killed (a read inside the kernel) is left to end
// on its own, and reaped then.
class PictureDecode : public QObject
{
    Q_OBJECT

public:
    PictureDecode(const QString &file, const QSize &size, QObject *parent = nullptr);
    ~PictureDecode() override;

    void start();

    QString file() const { return path; }
    QSize size() const { return wanted; }
    bool isFinished() const { return done; }
    // The picture, null when none is shown: then refusal() tells why in one
    // line naming the file, or is empty when there is no such regular file.
    QImage image() const { return picture; }
    QString refusal() const { return why; }

signals:
    void finished();

private:
    void launch();
    void drain();
    void ended();
    void watchWork();
    void giveUp();
    void conclude(const QImage &image, const QString &reason);
    void releaseProcess();

    QString path;
    QSize wanted;
    QProcess *process = nullptr;
    QByteArray pixels;
    bool overrun = false;
    bool stalled = false;
    QTimer *watch = nullptr;
    int stallAllowedMs = 0;
    qint64 cpuTicks = -1;   // the decoder's CPU time when last looked at
    QElapsedTimer sinceWork; // since its CPU time last grew, or its start
    bool done = false;
    QImage picture;
    QString why;
};

#endif // PICTUREDECODER_H
