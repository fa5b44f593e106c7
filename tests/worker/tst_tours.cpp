#include "consoletest.h"
#include "matrixconfigurationwindows.h"
#include "threadworker.h"

using namespace WindowTest;

// The matrix tour's steps by a golden file, on the worker alone; then the
// main window's tours over the wireless link to a local server: scene frames
// and their spacing, one tour at a time, and the end of both tours by their
// Stop buttons or by the window going away (the lifecycle group).
class TestTours : public ConsoleTest
{
    Q_OBJECT

    // Which of a tour's two buttons the operator can press: "start", "stop"
    // (or both, or none, written out).
    static QString pressable(const QAbstractButton *start, const QAbstractButton *stop)
    {
        return QStringList{start->isEnabled() ? "start" : "", stop->isEnabled() ? "stop" : ""}.join(' ').trimmed();
    }

private slots:
    void init()
    {
        writePortConfig({}, false, false, bridge.port());
        QVERIFY(writeMatrixConfig(MatrixConfig()));
        build();
        // The previous test's client may still look connected from here:
        // wait for this window's own connection.
        const int connections = bridge.connectionCount();
        window->openSerial();
        QTRY_VERIFY(bridge.connectionCount() > connections && bridge.hasClient());
        bridge.clearLog();
    }

    void matrixPass_data() { goldenRows(QStringLiteral("matrixtour.tsv")); }

    // One pass in the test's thread with a 20 ms pause unit: the steps, their
    // conversion type, link and gap, and the time the pass took.
    void matrixPass()
    {
        // Each address field but the signal type's own holds a decoy.
        MATRIXBROWSEDATA record{golden("signal"), golden("model"), "77", "77", "77", "77", 25};
        (golden("signal") == "VIDEO" ? record.videoId : golden("signal") == "DVI" ? record.dviId
         : golden("signal") == "VGA" ? record.vgaId : record.hdmiId) = golden("address");
        GlobalObject::rgbMatrixPortOpen = golden("rgbOpen") == "1";
        ThreadWorker worker;
        worker.setPauseUnit(20);
        connect(&worker, &ThreadWorker::MatrixDelayOver, &worker, &ThreadWorker::stepSent);
        QSignalSpy stepSpy(&worker, &ThreadWorker::MatrixDelayOver);
        QSignalSpy endSpy(&worker, &ThreadWorker::SignalMatrixOver);
        QElapsedTimer clock;
        clock.start();
        worker.matrixToBrowse(golden("firstIn").toInt(), golden("lastIn").toInt(), golden("firstOut").toInt(),
                              golden("lastOut").toInt(), 1, record);
        GlobalObject::rgbMatrixPortOpen = false;

        QStringList steps;
        for (const QList<QVariant> &step : qAsConst(stepSpy)) {
            steps << QStringList(step[0].value<QList<QString>>()).join(' ');
            QCOMPARE(step[1].toString() + step[2].toString() + step[3].toString(),
                     golden("conversion") + golden("link") + "25");
        }
        QCOMPARE(steps.isEmpty() ? QStringLiteral("-") : steps.join('|'), golden("steps"));
        QCOMPARE(endSpy.count(), 1);
        // A pass without a step also lasts one pause: a tour never spins.
        QVERIFY(clock.elapsed() >= 20 * qMax(1, steps.size()) - 2);
    }

    void sceneTour_data() { goldenRows(QStringLiteral("scenetour.tsv")); }
    void sceneTour()
    {
        const QStringList frames = goldenList(golden("frames"));
        window->tourPauseUnitMs = 100;
        enter(window, {"bscene_cb=" + golden("begin"), "sscene_cb=" + golden("end")});
        // Started, stopped in its first pause and started again: one tour.
        ui->beginplan_btn->click();
        QCOMPARE(pressable(ui->beginplan_btn, ui->stopplan_btn), QStringLiteral("stop"));
        ui->stopplan_btn->click();
        QCOMPARE(pressable(ui->beginplan_btn, ui->stopplan_btn), QStringLiteral("start"));
        const qint64 started = bridge.log().nowNs();
        ui->beginplan_btn->click();
        // A second start and a link that opens again leave the running tour alone.
        const QThread *running = window->planThread;
        window->startThreads();
        window->setLinkWidgets(true);
        QVERIFY(window->planThread == running && !ui->beginplan_btn->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(bridge.log().bytes().size() >= 6 * frames.size(), 5000);
        ui->stopplan_btn->click();
        QCOMPARE(bridge.log().bytes().left(6 * frames.size()), wire(frames));
        // Each frame follows a pause of its own.
        const QList<qint64> after = bridge.log().msAfter(started, 6);
        for (int i = 0; i < frames.size(); ++i)
            QVERIFY2(after[i] >= 100 * (i + 1) && after[i] < 100 * (i + 1) + 600, qPrintable(QString::number(after[i])));
    }

    void endingJoinsBothTours_data() { goldenRows(QStringLiteral("tourending.tsv")); }
    void endingJoinsBothTours()
    {
        // A pause of minutes: a thread that ended did not wait for it.
        window->tourPauseUnitMs = 600000;
        // As the form starts: VIDEO, inputs and outputs 01 to 02.
        ui->beginplan_btn->click();
        ui->beginmatrix_btn->click();
        QCOMPARE(pressable(ui->beginmatrix_btn, ui->stopmatrix_btn), QStringLiteral("stop"));
        // The matrix tour's first step goes out at once; then both tours pause.
        QTRY_COMPARE(bridge.log().bytes(), QByteArray("1V1.1V2."));
        // A second Start leaves the running matrix tour alone.
        const QThread *running = window->matrixThread;
        window->startMatrixThreads();
        QVERIFY(window->matrixThread == running);
        const QPointer<QThread> threads[] = {window->planThread, window->matrixThread};
        if (golden("ending") == "window gone") {
            endTest(window);
        } else {
            ui->stopplan_btn->click();
            ui->stopmatrix_btn->click();
            QCOMPARE(pressable(ui->beginmatrix_btn, ui->stopmatrix_btn), QStringLiteral("start"));
        }
        // Generous, for a busy machine: only a tour that waits out its pause reaches it.
        for (const QPointer<QThread> &thread : threads)
            QVERIFY(!thread || thread->wait(60000));
        QTRY_VERIFY(!threads[0] && !threads[1]);
        QCOMPARE(bridge.log().bytes(), QByteArray("1V1.1V2."));
    }

    void lagNeitherPilesUpNorOutlivesTheClose_data() { goldenRows(QStringLiteral("tourlag.tsv")); }
    // Steps slower to send than the pause: at most one made and not yet
    // sent, every input in turn; a close in the middle of a step joins both
    // tours at once and cuts the gap under way, and no frame follows it.
    // The scene tour's first step (at 1 s) waits behind a matrix step; a
    // Stop and a Start of the scene tour meanwhile drop it for good.
    void lagNeitherPilesUpNorOutlivesTheClose()
    {
        const int lastOut = golden("lastOut").toInt();
        window->tourPauseUnitMs = 20;
        enter(window, {"matrix_eout_le=" + golden("lastOut"), "scene_sec=50"});
        enter(window->matrixSetWindow, {"itime=" + golden("gap")});
        window->show();
        ui->beginplan_btn->click();
        ui->beginmatrix_btn->click();
        std::atomic<int> made{0};
        connect(window->matrixWorker, &ThreadWorker::MatrixDelayOver, this, [&made] { ++made; }, Qt::DirectConnection);
        QStringList sent;
        QElapsedTimer sinceClose;
        int frames = 0;
        connect(&lcdCommunication, &Communication::sendComData, window, [&] {
            if (++frames == golden("restartAfter").toInt())
                QTimer::singleShot(0, window, [this] { ui->stopplan_btn->click(), ui->beginplan_btn->click(); });
            if (frames == golden("closeAfter").toInt())
                QTimer::singleShot(0, window, [&] { sent = log(), sinceClose.start(), window->close(); });
        });
        QApplication::exec();
        endTest(window);
        // Neither a join given up on (after 3 s) nor the gap under way
        // waited out (5 s at the longest): generous for a busy machine.
        QVERIFY2(sinceClose.elapsed() < 2500, qPrintable(QString::number(sinceClose.elapsed())));
        QVERIFY(made <= sent.size() / lastOut + 1);
        for (int i = 0; i < sent.size(); ++i)
            QCOMPARE(sent[i], QStringLiteral("%1V%2. (OK)").arg(i / lastOut % 2 + 1).arg(i % lastOut + 1));
        QTest::qWait(100);
        QCOMPARE(bridge.log().bytes(), sent.join(QString()).remove(" (OK)").toLatin1());
    }

    void matrixStartNeedsRisingRanges_data() { goldenRows(QStringLiteral("matrixranges.tsv")); }
    void matrixStartNeedsRisingRanges()
    {
        enter(window, goldenList(golden("range")));
        ui->beginmatrix_btn->click();
        QVERIFY(!window->matrixThread && ui->beginmatrix_btn->isEnabled());
    }

    // Scene numbers above two digits would corrupt the frame: skipped, their
    // pause kept.
    void scenesAbove99AreSkipped()
    {
        ThreadWorker worker;
        worker.setPauseUnit(20);
        connect(&worker, &ThreadWorker::PlanDelayOver, &worker, &ThreadWorker::stepSent);
        QSignalSpy scenes(&worker, &ThreadWorker::PlanDelayOver);
        QElapsedTimer clock;
        clock.start();
        worker.plansToBrowse(98, 100, 1);
        QCOMPARE(QList<QVariantList>(scenes), QList<QVariantList>{{QStringLiteral("99")}});
        QVERIFY(clock.elapsed() >= 3 * 20 - 2);
    }
};

VW_TEST_MAIN(TestTours)
#include "tst_tours.moc"
