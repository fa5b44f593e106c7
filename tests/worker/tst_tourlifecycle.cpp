#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>

#include "appinit.h"
#include "consoletest.h"
#include "tcpcaptureserver.h"
#include "testmain.h"
#include "ui_velmar_windows.h"
#include "velmar_windows.h"

using namespace ConsoleTest;

// The main window's tours over the wireless link to a local server: scene
// frames and their spacing, stop, restart, and the exit with tours running.
class TestTourLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { endTest(window); }
    void sceneTour_data();
    void sceneTour();
    void stopEndsThePassAtOnce();
    void startStopStartIsOneTour();
    void exitJoinsBothTours();

private:
    void startBoth();

    TcpCaptureServer server;
    Velmar_Windows *window = nullptr;
    Ui_Velmar_Windows *ui = nullptr;
};

void TestTourLifecycle::initTestCase()
{
    new AppInit(this);
    QVERIFY(server.listen());
}

void TestTourLifecycle::init()
{
    resetShared();
    PortConfig port;
    port.wireless = true;
    port.tcpPort = server.port();
    writePortConfig(port);
    QVERIFY(writeMatrixConfig(MatrixConfig()));
    window = new Velmar_Windows;
    ui = window->ui;
    window->openSerial();
    QTRY_VERIFY(server.hasClient());
    server.clearLog();
}

void TestTourLifecycle::sceneTour_data()
{
    QTest::addColumn<int>("begin");
    QTest::addColumn<int>("end");
    QTest::addColumn<QStringList>("frames");
    QTest::newRow("ascending") << 0 << 2 << QStringList{"C611FF5A01BB", "C611FF5A02BB", "C611FF5A03BB"};
    QTest::newRow("descending, scene 10 in decimal")
        << 9 << 7 << QStringList{"C611FF5A10BB", "C611FF5A09BB", "C611FF5A08BB"};
}

void TestTourLifecycle::sceneTour()
{
    QFETCH(int, begin);
    QFETCH(int, end);
    QFETCH(QStringList, frames);
    window->tourPauseUnitMs = 100;
    ui->bscene_cb->setCurrentIndex(begin);
    ui->sscene_cb->setCurrentIndex(end);
    ui->beginplan_btn->click();
    QTRY_VERIFY_WITH_TIMEOUT(server.log().bytes().size() >= 18, 5000);
    ui->stopplan_btn->click();
    QCOMPARE(server.log().bytes().left(18), wire(frames));
    const QList<qint64> at = server.log().frameArrivals(6);
    for (int i = 1; i < 3; ++i)
        QVERIFY2(at[i] - at[i - 1] > 80000000 && at[i] - at[i - 1] < 250000000, "one pause apart");
}

void TestTourLifecycle::startBoth()
{
    ui->signal_type_cb->setCurrentText(QStringLiteral("VIDEO"));
    QCOMPARE(ui->linktitle_lb_2->text(), QStringLiteral("CREATEK"));
    for (auto edit : {ui->matrix_bin_le, ui->matrix_bout_le})
        edit->setText(QStringLiteral("1"));
    for (auto edit : {ui->matrix_ein_le, ui->matrix_eout_le})
        edit->setText(QStringLiteral("2"));
    ui->beginplan_btn->click();
    ui->beginmatrix_btn->click();
    // The matrix tour's first step goes out at once, then both pause.
    QTRY_COMPARE(server.log().bytes(), QByteArray("1V1.1V2."));
}

void TestTourLifecycle::stopEndsThePassAtOnce()
{
    window->tourPauseUnitMs = 5000;
    startBoth();
    const QPointer<QThread> threads[] = {window->planThread, window->matrixThread};
    ui->stopplan_btn->click();
    ui->stopmatrix_btn->click();
    QVERIFY(threads[0]->wait(100));
    QVERIFY(threads[1]->wait(100));
    QTRY_VERIFY(!threads[0] && !threads[1]);
    QCOMPARE(server.log().bytes(), QByteArray("1V1.1V2."));
}

void TestTourLifecycle::startStopStartIsOneTour()
{
    window->tourPauseUnitMs = 60;
    ui->bscene_cb->setCurrentIndex(0);
    ui->sscene_cb->setCurrentIndex(1);
    ui->beginplan_btn->click();
    ui->stopplan_btn->click();
    ui->beginplan_btn->click();
    const QThread *running = window->planThread;
    // A second start and a link that opens again leave the running tour alone.
    window->startThreads();
    window->setLinkWidgets(true);
    QCOMPARE(window->planThread.data(), running);
    QVERIFY(!ui->beginplan_btn->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(server.log().bytes().size() >= 24, 5000);
    ui->stopplan_btn->click();
    QCOMPARE(server.log().bytes().left(24), wire({"C611FF5A01BB", "C611FF5A02BB", "C611FF5A01BB", "C611FF5A02BB"}));
}

void TestTourLifecycle::exitJoinsBothTours()
{
    window->tourPauseUnitMs = 5000;
    startBoth();
    const QPointer<QThread> threads[] = {window->planThread, window->matrixThread};
    QElapsedTimer clock;
    clock.start();
    delete window;
    window = nullptr;
    QVERIFY(clock.elapsed() < 1000);
    QVERIFY(!threads[0] && !threads[1]);
}

VW_TEST_MAIN(TestTourLifecycle)
#include "tst_tourlifecycle.moc"
