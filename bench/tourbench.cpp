// Runs a matrix tour of 101 steps (inputs 0 to 100, one output each) at a
// 50 ms pause unit through the tour worker, the tour queue and the main link
// object over TCP to a local server, as the main window sends tour steps,
// and reports:
// - the drift of the last step against 100 x 50 ms after the first, as it
//   arrived at the far end;
// - the stop latency: from stop() in the middle of a pause to the end of the
//   worker's thread, worst of 20;
// - the worker thread's processor time over the tour, almost all of it
//   pauses, as a share of one core;
// - a lagging tour: with the product's timing (a 1 s pause) and steps that
//   take longer to send than the pause (16 outputs, 100 ms between frames),
//   run for 60 s (`tourbench N` for N s): the steps made less the steps sent,
//   worst over the run, and the memory the program holds as it goes.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <QThread>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#ifdef Q_OS_LINUX
#include <pthread.h>
#include <sys/resource.h>
#include <time.h>
#endif

#include <atomic>

#include "benchkit.h"
#include "communication.h"
#include "globalobject.h"
#include "tcpcaptureserver.h"
#include "threadworker.h"
#include "tourqueue.h"

namespace {

const int pauseUnitMs = 50;
const int lastInput = 100; // steps for inputs 0..100
const int stopRuns = 20;

QTextStream out(stdout);

struct TourThread
{
    QThread thread;
    ThreadWorker *worker = new ThreadWorker;

    TourThread()
    {
        worker->setPauseUnit(pauseUnitMs);
        worker->moveToThread(&thread);
        QObject::connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
        thread.start();
    }
    ~TourThread() { end(); }
    // Stops the tour and joins its thread, which deletes the worker.
    void end()
    {
        if (!worker)
            return;
        worker->stop();
        worker = nullptr;
        thread.quit();
        thread.wait();
    }
    void pass(int firstInput, int lastInputOfPass)
    {
        const MATRIXBROWSEDATA record{"VIDEO", "CREATEK", "01", "01", "01", "01", 0};
        QMetaObject::invokeMethod(worker, [=] { worker->matrixToBrowse(firstInput, lastInputOfPass, 1, 1, 1, record); });
    }
};

// Processor seconds of a thread so far, read through its clock; -1 where
// there is none.
double threadCpuSeconds(const clockid_t *clock)
{
#ifdef Q_OS_LINUX
    timespec spent{};
    if (clock && clock_gettime(*clock, &spent) == 0)
        return spent.tv_sec + spent.tv_nsec / 1e9;
#endif
    Q_UNUSED(clock)
    return -1;
}

// Anonymous resident memory now, in kB: what the program itself holds, not
// the pages of the libraries it maps; -1 where not known.
qint64 residentKb()
{
#ifdef Q_OS_LINUX
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("RssAnon:"))
                return line.mid(8).trimmed().split(' ').first().toLongLong();
        }
    }
#endif
    return -1;
}

qint64 peakResidentKb()
{
#ifdef Q_OS_LINUX
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        return usage.ru_maxrss;
#endif
    return -1;
}

// The lagging tour: 16 outputs at 100 ms a frame (1.6 s a step) against a
// 1 s pause, pass after pass as the main window repeats them. True when no
// more than one step was ever made and not yet sent, and the memory held
// after the first 10 s grew by less than 1 MB.
bool laggingTour(int seconds)
{
    const int outputs = 16;
    const int frameGapMs = 100;
    // A far end of its own that drops what arrives: the capture server keeps
    // every chunk it reads, which would show here as memory held.
    QTcpServer sink;
    if (!sink.listen(QHostAddress::LocalHost, 0))
        return false;
    QObject::connect(&sink, &QTcpServer::newConnection, [&sink] {
        while (QTcpSocket *peer = sink.nextPendingConnection())
            QObject::connect(peer, &QTcpSocket::readyRead, peer, [peer] { peer->readAll(); });
    });
    if (!lcdCommunication.connectTcp(QStringLiteral("127.0.0.1"), sink.serverPort()))
        return false;
    std::atomic<int> made{0};
    int sent = 0;
    int worstBacklog = 0;
    qint64 settledKb = -1;
    qint64 lastKb = -1;
    TourQueue queue;
    QThread thread;
    auto *worker = new ThreadWorker;
    worker->moveToThread(&thread);
    QObject::connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
    thread.start();
    const MATRIXBROWSEDATA record{"DVI", "ANTAI", "01", "01", "01", "01", frameGapMs};
    const auto pass = [&] {
        QMetaObject::invokeMethod(worker, [=] { worker->matrixToBrowse(1, outputs, 1, outputs, 1, record); });
    };
    QObject::connect(worker, &ThreadWorker::MatrixDelayOver, worker, [&] { ++made; }, Qt::DirectConnection);
    QObject::connect(worker, &ThreadWorker::MatrixDelayOver, QCoreApplication::instance(),
                     [&](QList<QString> texts, int, int, int msec) {
                         queue.post([&, texts, msec] {
                             lcdCommunication.sendMatrixData(lcdCommunication.asciiListToBytes(texts), texts, msec);
                             ++sent;
                             worker->stepSent();
                         });
                     });
    QObject::connect(worker, &ThreadWorker::SignalMatrixOver, QCoreApplication::instance(), pass);
    QElapsedTimer clock;
    clock.start();
    int madeAtEnd = 0;
    int sentAtEnd = 0;
    bool over = false;
    qint64 nextReport = 10000;
    // Sampled by a timer, which the sender's paced wait serves too; the end
    // comes from here as well, since a backlog would keep the sender busy
    // for ever.
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        worstBacklog = std::max(worstBacklog, made - sent);
        lastKb = residentKb();
        if (settledKb < 0 && clock.elapsed() >= 10000)
            settledKb = lastKb;
        if (clock.elapsed() >= nextReport) {
            out << QString::asprintf("  %3lld s: %d steps made, %d sent, anonymous memory %.2f MB\n",
                                     nextReport / 1000, int(made), sent, lastKb / 1024.0);
            out.flush();
            nextReport += 10000;
        }
        if (clock.elapsed() < seconds * 1000LL)
            return;
        sampler.stop();
        madeAtEnd = made;
        sentAtEnd = sent;
        worker->stop();
        queue.clear();
        over = true;
    });
    sampler.start(100);
    pass();
    while (!over)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 100);
    thread.quit();
    thread.wait();

    out << QString::asprintf("lagging tour over %d s: %d steps made, %d sent, made less sent at most %d "
                             "(%d at the end)\n",
                             seconds, madeAtEnd, sentAtEnd, worstBacklog, madeAtEnd - sentAtEnd);
    out << QString::asprintf("anonymous memory %.2f MB after 10 s, %.2f MB at the end; peak resident %.1f MB\n",
                             settledKb / 1024.0, lastKb / 1024.0, peakResidentKb() / 1024.0);
    return worstBacklog <= 1 && (settledKb < 0 || lastKb - settledKb < 1024);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    TcpCaptureServer server;
    if (!server.listen() || !lcdCommunication.connectTcp(server.host(), server.port())) {
        out << "could not connect to the local server\n";
        return 1;
    }
    GlobalObject::linkOpen = true;
    GlobalObject::wirelessMode = true;
    TourQueue queue;

    double cpuSeconds = -1;
    QElapsedTimer wall;
    {
        TourThread tour;
        clockid_t clock{};
        bool haveClock = false;
#ifdef Q_OS_LINUX
        QMetaObject::invokeMethod(tour.worker, [&] { haveClock = pthread_getcpuclockid(pthread_self(), &clock) == 0; },
                                  Qt::BlockingQueuedConnection);
#endif
        bool over = false;
        QObject::connect(tour.worker, &ThreadWorker::MatrixDelayOver, &app,
                         [&](QList<QString> texts, int, int, int msec) {
                             queue.post([&, texts, msec] {
                                 lcdCommunication.sendMatrixData(lcdCommunication.asciiListToBytes(texts), texts, msec);
                                 tour.worker->stepSent();
                             });
                         });
        QObject::connect(tour.worker, &ThreadWorker::SignalMatrixOver, &app, [&] { over = true; });
        const double cpuStart = threadCpuSeconds(haveClock ? &clock : nullptr);
        wall.start();
        tour.pass(0, lastInput);
        while (!over)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
        if (haveClock)
            cpuSeconds = threadCpuSeconds(&clock) - cpuStart;
    }
    const double wallSeconds = wall.nsecsElapsed() / 1e9;
    QElapsedTimer settle;
    settle.start();
    while (server.log().chunks().size() < lastInput + 1 && settle.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const QList<CapturedChunk> chunks = server.log().chunks();
    if (chunks.size() != lastInput + 1) {
        out << "the far end saw " << chunks.size() << " writes, not one per step\n";
        return 1;
    }
    const double driftMs = (chunks.last().atNs - chunks.first().atNs) / 1e6 - lastInput * pauseUnitMs;
    const double driftShare = 100.0 * std::abs(driftMs) / (lastInput * pauseUnitMs);

    std::vector<double> stops;
    for (int i = 0; i < stopRuns; ++i) {
        TourThread tour;
        // Every step counts as sent at once: the stops fall in pauses.
        QObject::connect(tour.worker, &ThreadWorker::MatrixDelayOver, tour.worker, &ThreadWorker::stepSent,
                         Qt::DirectConnection);
        tour.pass(1, 1000);
        QThread::msleep(pauseUnitMs / 2 + 3 * i);
        QElapsedTimer latency;
        latency.start();
        tour.end();
        stops.push_back(latency.nsecsElapsed() / 1e6);
    }
    const double worstStop = percentile(stops, 1.0);
    const double cpuShare = cpuSeconds < 0 ? -1 : 100.0 * cpuSeconds / wallSeconds;

    out << QString::asprintf("drift of the last step %+.3f ms against %d x %d ms (%.3f %%)\n", driftMs, lastInput,
                             pauseUnitMs, driftShare);
    out << QString::asprintf("stop latency worst %.3f ms  median %.3f ms  (%d stops mid-pause)\n", worstStop,
                             median(stops), stopRuns);
    if (cpuShare < 0)
        out << "worker processor time: no thread clock here\n";
    else
        out << QString::asprintf("worker processor time %.3f ms over %.2f s: %.4f %% of one core\n",
                                 cpuSeconds * 1000, wallSeconds, cpuShare);
    out.flush();
    const int lagSeconds = argc > 1 ? std::max(11, QString::fromLocal8Bit(argv[1]).toInt()) : 60;
    const bool lagMet = laggingTour(lagSeconds);
    const bool met = driftShare <= 0.5 && worstStop <= 100 && cpuShare <= 2.0 && lagMet;
    out << "targets (drift <= 0.5 %, stop <= 100 ms, processor <= 2 %, lagging: made less sent <= 1, "
           "memory < +1 MB after 10 s): "
        << (met ? "met" : "MISSED") << "\n";
    lcdCommunication.closeTcp();
    GlobalObject::linkOpen = false;
    return met ? 0 : 1;
}
