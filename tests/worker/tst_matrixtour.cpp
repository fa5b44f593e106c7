#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <iterator>

#include "globalobject.h"
#include "testmain.h"
#include "threadworker.h"

// One matrix tour pass per golden row, run in the test's thread with pauses
// of no length: the steps, their conversion type and their link.
class TestMatrixTour : public QObject
{
    Q_OBJECT

private slots:
    void pass_data();
    void pass();
    void passWithoutStepWaitsOnePause();
};

void TestMatrixTour::pass_data()
{
    static const char *const columns[] = {"signal", "model", "address", "bIn", "eIn", "bOut",
                                          "eOut", "rgbOpen", "type", "link", "steps"};
    for (const char *column : columns)
        QTest::addColumn<QString>(column);
    QFile golden(QStringLiteral(MATRIX_TOUR_GOLDEN));
    QVERIFY(golden.open(QIODevice::ReadOnly | QIODevice::Text));
    while (!golden.atEnd()) {
        const QStringList fields = QString::fromUtf8(golden.readLine()).remove(QLatin1Char('\n')).split('\t');
        if (fields.first().startsWith(QLatin1Char('#')))
            continue;
        QCOMPARE(fields.size(), int(std::size(columns)) + 1);
        QTestData &row = QTest::newRow(qPrintable(fields.first()));
        for (int i = 1; i < fields.size(); ++i)
            row << fields.at(i);
    }
}

void TestMatrixTour::pass()
{
    QFETCH(QString, signal);
    QFETCH(QString, model);
    QFETCH(QString, address);
    QFETCH(QString, bIn);
    QFETCH(QString, eIn);
    QFETCH(QString, bOut);
    QFETCH(QString, eOut);
    QFETCH(QString, rgbOpen);
    QFETCH(QString, type);
    QFETCH(QString, link);
    QFETCH(QString, steps);
    // Each address field but the signal type's own holds a decoy.
    MATRIXBROWSEDATA record{signal, model, "77", "77", "77", "77", 25};
    (signal == "VIDEO" ? record.videoId : signal == "DVI" ? record.dviId
     : signal == "VGA" ? record.vgaId : record.hdmiId) = address;
    GlobalObject::rgbMatrixPortOpen = rgbOpen == "1";
    ThreadWorker worker;
    worker.setPauseUnit(0);
    QSignalSpy stepSpy(&worker, &ThreadWorker::MatrixDelayOver);
    QSignalSpy endSpy(&worker, &ThreadWorker::SignalMatrixOver);
    worker.matrixToBrowse(bIn.toInt(), eIn.toInt(), bOut.toInt(), eOut.toInt(), 1, record);
    GlobalObject::rgbMatrixPortOpen = false;

    QStringList seen;
    for (const QList<QVariant> &step : qAsConst(stepSpy)) {
        seen << QStringList(step.at(0).value<QList<QString>>()).join(' ');
        QCOMPARE(step.at(1).toString(), type);
        QCOMPARE(step.at(2).toString(), link);
        QCOMPARE(step.at(3).toInt(), 25);
    }
    QCOMPARE(seen.isEmpty() ? QStringLiteral("-") : seen.join('|'), steps);
    QCOMPARE(endSpy.count(), 1);
}

void TestMatrixTour::passWithoutStepWaitsOnePause()
{
    ThreadWorker worker;
    worker.setPauseUnit(60);
    QSignalSpy endSpy(&worker, &ThreadWorker::SignalMatrixOver);
    QElapsedTimer clock;
    clock.start();
    worker.matrixToBrowse(1, 3, 1, 2, 1, MATRIXBROWSEDATA{"VIDEO2", "CREATEK", {}, {}, {}, {}, 0});
    QVERIFY(clock.elapsed() >= 55);
    QCOMPARE(endSpy.count(), 1);
}

VW_TEST_MAIN(TestMatrixTour)
#include "tst_matrixtour.moc"
