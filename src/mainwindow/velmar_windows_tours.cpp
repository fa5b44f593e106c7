// The scene tour and the matrix tour: each runs in a worker thread of its
// own, one of each kind at a time, and repeats pass after pass until it is
// stopped. Their steps are sent here, in the GUI thread, one after another;
// a worker makes its next step only when told that its last one has gone.

#include "velmar_windows.h"
#include "ui_velmar_windows.h"

#include <QThread>

#include "matrixconfigurationwindows.h"
#include "threadworker.h"

namespace {

// How long the exit waits for a tour thread; a stopped pass ends at once.
constexpr unsigned long kTourJoinMs = 3000;

} // namespace

ThreadWorker *Velmar_Windows::startTourWorker(QPointer<QThread> &thread, quint64 &run)
{
    run = ++lastTourRun;
    thread = new QThread;
    auto *worker = new ThreadWorker;
    worker->setPauseUnit(tourPauseUnitMs);
    worker->moveToThread(thread);
    connect(thread, &QThread::finished, worker, &QObject::deleteLater, Qt::UniqueConnection);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater, Qt::UniqueConnection);
    tourThreads.removeAll(nullptr);
    tourThreads.append(thread);
    return worker;
}

void Velmar_Windows::postTourStep(const quint64 &currentRun, ThreadWorker *const &worker, quint64 run,
                                  std::function<void()> send)
{
    // A step still queued when its run is stopped or replaced is dropped.
    tourQueue.post([this, &currentRun, &worker, run, send = std::move(send)] {
        if (currentRun != run)
            return;
        send();
        if (currentRun == run)
            worker->stepSent();
    });
}

void Velmar_Windows::stopTour(ThreadWorker *&worker, QPointer<QThread> &thread, quint64 &run)
{
    if (!worker)
        return;
    run = 0;
    // No further pass request may reach the old worker.
    disconnect(this, nullptr, worker, nullptr);
    worker->stop();
    worker = nullptr;
    if (thread)
        thread->quit();
}

void Velmar_Windows::startThreads()
{
    if (planWorker)
        return;
    planWorker = startTourWorker(planThread, planRun);
    connect(this, &Velmar_Windows::planBrowse, planWorker, &ThreadWorker::plansToBrowse, Qt::UniqueConnection);
    connect(planWorker, &ThreadWorker::SignalPlanOver, this, [this, run = planRun] {
        if (planRun == run)
            activationPlanTask();
    });
    connect(planWorker, &ThreadWorker::PlanDelayOver, this, [this, run = planRun](QString d5) {
        postTourStep(planRun, planWorker, run, [this, d5] { sendPlanCom(d5); });
    });
    planThread->start(QThread::InheritPriority);
    emit planBrowse(ui->bscene_cb->currentIndex(), ui->sscene_cb->currentIndex(), ui->scene_sec->value());
    ui->beginplan_btn->setEnabled(false);
    ui->stopplan_btn->setEnabled(true);
}

void Velmar_Windows::stopThreads()
{
    stopTour(planWorker, planThread, planRun);
    ui->beginplan_btn->setEnabled(true);
    ui->stopplan_btn->setEnabled(false);
}

void Velmar_Windows::activationPlanTask()
{
    if (!planWorker)
        return;
    emit planBrowse(ui->bscene_cb->currentIndex(), ui->sscene_cb->currentIndex(), ui->scene_sec->value());
}

void Velmar_Windows::readMatrixTour(int *b_in, int *e_in, int *b_out, int *e_out, MATRIXBROWSEDATA *record) const
{
    *b_in = ui->matrix_bin_le->text().toInt();
    *e_in = ui->matrix_ein_le->text().toInt();
    *b_out = ui->matrix_bout_le->text().toInt();
    *e_out = ui->matrix_eout_le->text().toInt();
    *record = matrixSetWindow->getMatrixBrowseData(ui->signal_type_cb->currentText(), ui->linktitle_lb_2->text());
}

void Velmar_Windows::startMatrixThreads()
{
    int b_in, e_in, b_out, e_out;
    MATRIXBROWSEDATA record;
    readMatrixTour(&b_in, &e_in, &b_out, &e_out, &record);
    if (matrixWorker || b_in >= e_in || b_out >= e_out)
        return;
    matrixWorker = startTourWorker(matrixThread, matrixRun);
    connect(this, &Velmar_Windows::matrixBrowse, matrixWorker, &ThreadWorker::matrixToBrowse,
            Qt::UniqueConnection);
    connect(matrixWorker, &ThreadWorker::SignalMatrixOver, this, [this, run = matrixRun] {
        if (matrixRun == run)
            activationMatrixTask();
    });
    connect(matrixWorker, &ThreadWorker::MatrixDelayOver, this,
            [this, run = matrixRun](QList<QString> texts, int type, int signal, int msec) {
                postTourStep(matrixRun, matrixWorker, run, [=] { sendMatrixCom(texts, type, signal, msec); });
            });
    matrixThread->start(QThread::InheritPriority);
    emit matrixBrowse(b_in, e_in, b_out, e_out, ui->matrix_sec->value(), record);
    ui->beginmatrix_btn->setEnabled(false);
    ui->stopmatrix_btn->setEnabled(true);
}

void Velmar_Windows::stopMatrixThreads()
{
    stopTour(matrixWorker, matrixThread, matrixRun);
    ui->beginmatrix_btn->setEnabled(true);
    ui->stopmatrix_btn->setEnabled(false);
}

void Velmar_Windows::activationMatrixTask()
{
    if (!matrixWorker)
        return;
    int b_in, e_in, b_out, e_out;
    MATRIXBROWSEDATA record;
    readMatrixTour(&b_in, &e_in, &b_out, &e_out, &record);
    emit matrixBrowse(b_in, e_in, b_out, e_out, ui->matrix_sec->value(), record);
}

void Velmar_Windows::endTours()
{
    // Before the window and the link objects go: no worker may run on.
    stopTour(planWorker, planThread, planRun);
    stopTour(matrixWorker, matrixThread, matrixRun);
    tourQueue.clear();
    for (const QPointer<QThread> &thread : qAsConst(tourThreads)) {
        if (thread && thread->wait(kTourJoinMs))
            delete thread;
    }
    tourThreads.clear();
}
