#ifndef THREADWORKER_H
#define THREADWORKER_H

#include <QDeadlineTimer>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QWaitCondition>

#include <atomic>

#include "matrixbrowsedata.h"

// Runs one tour pass at a time in the thread it was moved to. It only counts,
// builds texts, pauses and emits queued signals: it reads no widget and
// writes no link object. The main window calls stop() from the GUI thread;
// everything else reaches it through queued calls.
class ThreadWorker : public QObject
{
    Q_OBJECT

public:
    explicit ThreadWorker(QObject *parent = nullptr);
    ~ThreadWorker() override;

    // Ends the pass under way promptly: a pause in progress wakes, no further
    // step, pause or end-of-pass follows. Final: a stopped worker stays so.
    void stop();

    // The receiver's word that the step emitted last has gone out (or was
    // dropped). A tour's next pause starts only after it, so at most one
    // step of a tour waits to be sent however slow the link: when sending
    // takes longer than the pause, the tour stretches instead of piling up
    // steps. Every receiver of the step signals must call it.
    void stepSent();

    // The unit of the tours' pauses: a second in the product, shorter in
    // tests and benchmarks.
    void setPauseUnit(int milliseconds);

signals:
    void SignalMatrixOver();
    void SignalPlanOver();
    void PlanDelayOver(QString);
    void MatrixDelayOver(QList<QString>, int, int, int);

public slots:
    void plansToBrowse(int begin, int end, int sec);
    void matrixToBrowse(int b_in, int e_in, int b_out, int e_out, int sec, MATRIXBROWSEDATA matrixborwsedata);

private:
    bool stopped() const;
    // Marks a step as emitted and not yet sent; called right before the
    // emission, so that a quick answer cannot come before it.
    void stepMade();
    // Waits for the step emitted last to be sent, then until due moves sec
    // units on; false when stopped. Pauses are chained on one monotonic
    // deadline, so a pass does not drift while the link keeps up.
    bool pauseUntilNext(QDeadlineTimer &due, int sec);

    // Written under the mutex so that a pause cannot miss its wake-up; atomic
    // so that the tours may test it without the lock.
    std::atomic<bool> stopFlag{false};
    QMutex mutex;
    QWaitCondition stopWake; // a stop, or the step sent
    bool stepPending = false; // under the mutex
    std::atomic<int> pauseUnitMs{1000};
};

#endif // THREADWORKER_H
