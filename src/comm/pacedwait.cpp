#include "pacedwait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>

#include <algorithm>

void pacedWait(int ms, const SendGuard &goOn)
{
    if (ms <= 0)
        return;

    // A monotonic clock, so a wait across midnight or a clock adjustment
    // still lasts its interval.
    QElapsedTimer clock;
    clock.start();
    const qint64 intervalNs = qint64(ms) * 1000000;
    for (;;) {
        qint64 leftNs = intervalNs - clock.nsecsElapsed();
        if (leftNs <= 0)
            return;
        // One dispatch never takes new events for longer than 100 ms; a
        // handler already running (a nested command) finishes first.
        const qint64 leftMs = (leftNs + 999999) / 1000000;
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(std::min<qint64>(leftMs, 100)));
        if (goOn && !goOn())
            return;

        leftNs = intervalNs - clock.nsecsElapsed();
        if (leftNs <= 0)
            return;
        // The 1 ms sleep keeps the processor idle during the wait; the last
        // one is cut to what is left, so the next frame does not go out late.
        QThread::usleep(unsigned(std::min<qint64>(leftNs / 1000, 1000)));
    }
}
