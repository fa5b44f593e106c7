#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextEdit>

#include "appinit.h"
#include "consoletest.h"
#include "ptypair.h"
#include "testmain.h"
#include "ui_velmar_windows.h"
#include "velmar_windows.h"

using namespace ConsoleTest;

// The console in wireless mode through a real serial-to-network bridge:
// ser2net listens on a loopback port and forwards to a socat pty, whose far
// end is the wall.
class TestMainBridge : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void commandsCrossTheBridge();

private:
    bool startBridge(const QString &device);

    QProcess bridge;
    QTemporaryDir folder;
    quint16 bridgePort = 0;
    Velmar_Windows *window = nullptr;
};

namespace {

QString ser2netPath()
{
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("ser2net"));
    if (!onPath.isEmpty())
        return onPath;
    return QStandardPaths::findExecutable(QStringLiteral("ser2net"),
                                          {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
}

quint16 freeLoopbackPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

bool acceptsConnections(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    const bool connected = socket.waitForConnected(200);
    socket.abort();
    return connected;
}

} // namespace

void TestMainBridge::initTestCase()
{
    new AppInit(this);
    QVERIFY(folder.isValid());
}

void TestMainBridge::cleanup()
{
    endTest(window);
    if (bridge.state() != QProcess::NotRunning) {
        bridge.terminate();
        if (!bridge.waitForFinished(3000)) {
            bridge.kill();
            bridge.waitForFinished(3000);
        }
    }
}

bool TestMainBridge::startBridge(const QString &device)
{
    bridgePort = freeLoopbackPort();
    const QString config = folder.filePath(QStringLiteral("ser2net.yaml"));
    QFile file(config);
    if (bridgePort == 0 || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    // Plain TCP, no telnet: the bytes pass unchanged. "local" ignores the
    // modem lines, which a pty does not have.
    file.write(QStringLiteral("%YAML 1.1\n"
                              "---\n"
                              "connection: &wall\n"
                              "  accepter: tcp,127.0.0.1,%1\n"
                              "  connector: serialdev,%2,9600n81,local\n")
                   .arg(bridgePort)
                   .arg(device)
                   .toUtf8());
    file.close();

    bridge.setProcessChannelMode(QProcess::MergedChannels);
    bridge.setStandardOutputFile(folder.filePath(QStringLiteral("ser2net.log")));
    // Foreground, no lock files, a pid file of its own.
    bridge.start(ser2netPath(), {QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-P"),
                                 folder.filePath(QStringLiteral("ser2net.pid")), QStringLiteral("-c"), config});
    if (!bridge.waitForStarted(5000))
        return false;
    // Listening once a connection is taken; the device is opened per
    // connection, so probing before the pty exists leaves nothing behind.
    return QTest::qWaitFor([this] { return acceptsConnections(bridgePort); }, 5000);
}

void TestMainBridge::commandsCrossTheBridge()
{
    resetShared();
    if (ser2netPath().isEmpty())
        QSKIP("ser2net is not installed; install it (e.g. apt-get install ser2net) to run the bridge test");
    if (!PtyPair::socatAvailable())
        QSKIP(qPrintable(PtyPair::missingSocatMessage()));
    PtyPair pty;
    QVERIFY2(startBridge(pty.devicePath()), "ser2net did not start listening");
    QVERIFY(startPty(pty));

    PortConfig port;
    port.wireless = true;
    port.tcpPort = bridgePort;
    writePortConfig(port);
    MatrixConfig matrix;
    matrix.responseTime = 100;
    matrix.intervalTime = 50;
    QVERIFY(writeMatrixConfig(matrix));
    window = new Velmar_Windows;
    Ui_Velmar_Windows *ui = window->ui;
    selectCells(ui->cent_tablewidget, 0, 0, 0, 1);
    window->openSerial();
    QVERIFY(GlobalObject::linkOpen);
    QVERIFY(GlobalObject::wirelessMode);

    ui->on_btn->click();
    const QByteArray power = wire({"C611211001BB"});
    QTRY_COMPARE_WITH_TIMEOUT(pty.log().bytes(), power, 5000);

    // VGA input 3 to outputs 1 and 2, the screen command first.
    ui->signal_type_cb->setCurrentIndex(1);
    ui->matrix_type_cb->setCurrentIndex(2);
    ui->link_cb->setChecked(true);
    ui->single_btn->click();
    const QByteArray linked = wire({"C611212001BB"}) + asciiWire({"3V1.", "3V2."});
    QTRY_COMPARE_WITH_TIMEOUT(pty.log().bytes(), power + linked, 5000);
    QCOMPARE(logLines(ui->com_textedit),
             QStringList({">C6,11,21,10,01,BB(OK)", ">C6,11,21,20,01,BB(OK)", "3V1. (OK)", "3V2. (OK)"}));

    window->closeSerial();
    QVERIFY(!GlobalObject::linkOpen);
    QTest::qWait(100);
    QCOMPARE(pty.log().bytes(), power + linked);
}

VW_TEST_MAIN(TestMainBridge)
#include "tst_mainbridge.moc"
