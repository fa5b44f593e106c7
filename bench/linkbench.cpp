// Sends 200 frames at the 50 ms interval over a socat pty pair and over a
// local TCP server and reports, as measured at the receiving end, how far the
// gaps stray from 50 ms, how much processor the paced waits use, and how fast
// makeCommand builds frames.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <cmath>
#include <ctime>

#include "benchkit.h"
#include "communication.h"
#include "globalobject.h"
#include "ptypair.h"
#include "tcpcaptureserver.h"

namespace {

const int frameCount = 200;
const int intervalMs = 50;
const int frameSize = 6;

QTextStream out(stdout);

QList<QByteArray> numberedFrames()
{
    QList<QByteArray> frames;
    for (int i = 0; i < frameCount; ++i)
        frames.append(QByteArray("\xC6\x11") + char(i) + QByteArray("\x01\x02\xBB", 3));
    return frames;
}

// Sends the frames on the open link, waits for the far end to have them all
// and prints one result line.
bool measure(const QString &name, const CaptureLog &farEnd)
{
    const QList<QByteArray> frames = numberedFrames();
    QStringList texts;
    for (const QByteArray &frame : frames)
        texts.append(QString::fromLatin1(frame.toHex()));

    QElapsedTimer wall;
    wall.start();
    // std::clock() is the process's processor time on Linux and macOS; on
    // Windows it is wall time and the share below means nothing there.
    const std::clock_t cpuStart = std::clock();
    lcdCommunication.sendMatrixData(frames, texts, intervalMs);
    const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double wallSeconds = wall.nsecsElapsed() / 1e9;

    QByteArray expected;
    for (const QByteArray &frame : frames)
        expected += frame;
    QElapsedTimer settle;
    settle.start();
    while (farEnd.bytes().size() < expected.size() && settle.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (farEnd.bytes() != expected) {
        out << name << ": the far end did not receive the frames intact\n";
        return false;
    }

    const QList<qint64> arrivals = farEnd.frameArrivals(frameSize);
    std::vector<double> errors;
    for (int i = 1; i < arrivals.size(); ++i)
        errors.push_back(std::abs((arrivals[i] - arrivals[i - 1]) / 1e6 - intervalMs));
    const double medianError = median(errors);
    const double p99 = percentile(errors, 0.99);
    const double cpuShare = 100.0 * cpuSeconds / wallSeconds;

    out << QString::asprintf("%-4s median |gap-50ms| %.3f ms  p99 %.3f ms  CPU %.2f %% of one core  (%d frames, %.2f s)\n",
                             qPrintable(name), medianError, p99, cpuShare, frameCount, wallSeconds);
    return medianError <= 1.0 && p99 <= 5.0 && cpuShare <= 5.0;
}

double framesPerSecond(const QStringList &selection, bool perScreen)
{
    GlobalObject::targetAddressList = selection;
    QElapsedTimer clock;
    clock.start();
    qint64 frames = 0;
    while (clock.elapsed() < 1000)
        frames += lcdCommunication.makeCommand(QStringLiteral("06"), QStringLiteral("01"), perScreen, 0).size();
    return frames * 1e9 / clock.nsecsElapsed();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    bool met = true;

    PtyPair pty;
    PortSettingRecord settings;
    settings.baudRate = 9600;
    settings.dataBitsIndex = 3;
    if (!PtyPair::socatAvailable()) {
        out << PtyPair::missingSocatMessage() << "\n";
        met = false;
    } else if (!pty.start() || !pty.openFarEnd() || !lcdCommunication.openSerialPort(settings, pty.devicePath())) {
        out << "pty: could not open the pty pair\n";
        met = false;
    } else {
        GlobalObject::linkOpen = true;
        GlobalObject::wirelessMode = false;
        met = measure(QStringLiteral("pty"), pty.log()) && met;
        lcdCommunication.closeSerialPort();
    }

    TcpCaptureServer server;
    if (!server.listen() || !lcdCommunication.connectTcp(server.host(), server.port())) {
        out << "tcp: could not connect to the local server\n";
        met = false;
    } else {
        GlobalObject::linkOpen = true;
        GlobalObject::wirelessMode = true;
        met = measure(QStringLiteral("tcp"), server.log()) && met;
        lcdCommunication.closeTcp();
    }
    GlobalObject::linkOpen = false;

    const QStringList wall = wallAddresses(4, 4);
    out << QString::asprintf("makeCommand: %.0f frames/s (range form), %.0f frames/s (per screen, 16 screens)\n",
                             framesPerSecond(wall, false), framesPerSecond(wall, true));
    out << "targets (median <= 1 ms, p99 <= 5 ms, CPU <= 5 %): " << (met ? "met" : "MISSED") << "\n";
    out.flush();
    return met ? 0 : 1;
}
