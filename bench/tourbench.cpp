// Runs a matrix tour of 101 steps (inputs 0 to 100, one output each) at a
// 50 ms pause unit through the tour worker, the tour queue and the main link
// object over TCP to a local server, as the main window sends tour steps,
// and reports:
// - the drift of the last step against 100 x 50 ms after the first, as it
//   arrived at the far end;
// - the stop latency: from stop() in the middle of a pause to the end of the
//   worker's thread, worst of 20;
// - the worker thread's processor time over the tour, almost all of it
//   pauses, as a share of one core.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>

#ifdef Q_OS_LINUX
#include <pthread.h>
#include <time.h>
#endif

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
    const bool met = driftShare <= 0.5 && worstStop <= 100 && cpuShare <= 2.0;
    out << "targets (drift <= 0.5 %, stop <= 100 ms, processor <= 2 %): " << (met ? "met" : "MISSED") << "\n";
    lcdCommunication.closeTcp();
    GlobalObject::linkOpen = false;
    return met ? 0 : 1;
}
