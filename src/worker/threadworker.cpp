#include "threadworker.h"

#include "globalobject.h"
#include "matrixtour.h"

namespace {

// Scene numbers go into the recall frame as two decimal digits, as the
// manual save and load write them; other numbers would corrupt the frame.
constexpr int kFirstScene = 1;
constexpr int kLastScene = 99;

} // namespace

ThreadWorker::ThreadWorker(QObject *parent)
    : QObject(parent)
{
}

ThreadWorker::~ThreadWorker() = default;

void ThreadWorker::stop()
{
    QMutexLocker lock(&mutex);
    stopFlag = true;
    stopWake.wakeAll();
}

void ThreadWorker::stepSent()
{
    QMutexLocker lock(&mutex);
    stepPending = false;
    stopWake.wakeAll();
}

void ThreadWorker::stepMade()
{
    QMutexLocker lock(&mutex);
    stepPending = true;
}

void ThreadWorker::setPauseUnit(int milliseconds)
{
    pauseUnitMs = milliseconds;
}

bool ThreadWorker::stopped() const
{
    return stopFlag;
}

bool ThreadWorker::pauseUntilNext(QDeadlineTimer &due, int sec)
{
    const qint64 ms = qint64(sec) * pauseUnitMs;
    QMutexLocker lock(&mutex);
    while (!stopFlag && stepPending)
        stopWake.wait(&mutex);
    if (ms <= 0)
        return !stopFlag;
    // After a stall longer than a pause (a step slower to send than the
    // pause, a suspended machine) the tour goes on from now instead of
    // catching up with steps at once.
    const QDeadlineTimer now = QDeadlineTimer::current(Qt::PreciseTimer);
    if (now.deadlineNSecs() - due.deadlineNSecs() > ms * 1000000)
        due = now;
    due += ms;
    while (!stopFlag && !due.hasExpired())
        stopWake.wait(&mutex, due);
    return !stopFlag;
}

void ThreadWorker::plansToBrowse(int begin, int end, int sec)
{
    QDeadlineTimer due = QDeadlineTimer::current(Qt::PreciseTimer);
    const int step = begin <= end ? 1 : -1;
    for (int scene = begin + 1;; scene += step) {
        if (!pauseUntilNext(due, sec))
            return;
        if (scene >= kFirstScene && scene <= kLastScene) {
            stepMade();
            emit PlanDelayOver(QStringLiteral("%1").arg(scene, 2, 10, QLatin1Char('0')));
        }
        if (scene == end + 1)
            break;
    }
    if (!stopped())
        emit SignalPlanOver();
}

void ThreadWorker::matrixToBrowse(int b_in, int e_in, int b_out, int e_out, int sec,
                                  MATRIXBROWSEDATA matrixborwsedata)
{
    QDeadlineTimer due = QDeadlineTimer::current(Qt::PreciseTimer);
    const TourModel model = findTourModel(matrixborwsedata);
    if (!model.row || b_in > e_in) {
        // Nothing to step: the next pass still comes one pause later, so a
        // tour without steps never spins.
        if (pauseUntilNext(due, sec))
            emit SignalMatrixOver();
        return;
    }
    QList<QString> texts;
    for (qint64 input = b_in; input <= e_in; ++input) {
        texts = tourStepTexts(model, int(input), b_out, e_out);
        // This model's matrix listens on its own port only.
        const bool gateOpen = !model.ownPortOnly || GlobalObject::rgbMatrixPortOpen;
        if (stopped())
            return;
        if (gateOpen) {
            stepMade();
            emit MatrixDelayOver(texts, model.conversion, model.link, matrixborwsedata.intervalTime);
        }
        if (!pauseUntilNext(due, sec))
            return;
    }
    emit SignalMatrixOver();
}
