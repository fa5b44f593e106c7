#include <QSerialPort>
#include <QTcpServer>

#include "communication.h"
#include "globalobject.h"
#include "goldenrows.h"
#include "ptypair.h"
#include "tcpcaptureserver.h"
#include "testmain.h"

// A link whose device talks back or floods, and one that fails under a
// command while the operator opens it again at once.
class TestLinkHardening : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { GlobalObject::linkOpen = GlobalObject::wirelessMode = false; }

    void floodIsDropped_data() { goldenRows(QStringLiteral("linkkinds.tsv")); }

    void floodIsDropped()
    {
        const bool wireless = golden("kind") == QLatin1String("wireless");
        Communication link;
        PtyPair pty;
        QSerialPort farEnd;
        QTcpServer bridge;
        QIODevice *talker = &farEnd;
        QIODevice *listener = link.serial;
        if (wireless) {
            QVERIFY(bridge.listen(QHostAddress::LocalHost));
            QVERIFY(link.connectTcp(QStringLiteral("127.0.0.1"), bridge.serverPort()));
            QVERIFY(bridge.waitForNewConnection(5000));
            talker = bridge.nextPendingConnection();
            listener = link.socket;
        } else {
            VW_REQUIRE_SOCAT();
            QVERIFY(pty.start());
            farEnd.setPortName(pty.farPath());
            QVERIFY(farEnd.open(QIODevice::ReadWrite));
            QVERIFY(link.openSerialPort(PortSettingRecord(), pty.devicePath()));
        }
        QSignalSpy arrived(listener, &QIODevice::readyRead);
        QCOMPARE(talker->write(QByteArray(4 << 20, '\x55')), qint64(4 << 20));
        // Whenever the link is looked at, what has come is gone already.
        QTRY_VERIFY_WITH_TIMEOUT(arrived.count() >= 3 && listener->bytesAvailable() == 0, 20000);
    }

    void bridgeAddress_data() { goldenRows(QStringLiteral("bridgeaddress.tsv")); }

    // The bridge is dialled at the address as the operator reads it, and
    // nothing that is not an address and a port is dialled at all.
    void bridgeAddress()
    {
        QTcpServer bridge;
        QVERIFY(bridge.listen(QHostAddress(golden("listening"))));
        Communication link;
        int attempts = 0;
        connect(link.socket, &QAbstractSocket::stateChanged, this, [&](QAbstractSocket::SocketState state) {
            attempts += state == QAbstractSocket::HostLookupState || state == QAbstractSocket::ConnectingState;
        });
        const quint16 port = golden("port") == QLatin1String("bridge") ? bridge.serverPort() : golden("port").toUShort();
        const bool connected = link.connectTcp(golden("typed").trimmed(), port);
        QCOMPARE(connected ? link.socket->peerAddress().toString() : attempts ? QStringLiteral("refused") : QStringLiteral("nothing"),
                 golden("dialled"));
        if (connected)
            QVERIFY(bridge.waitForNewConnection(5000));
    }

    // A bridge that hangs while the link still has bytes for it: closed and
    // opened again, the link dials at the first try and the next command
    // reaches the bridge.
    void stalledBridgeOpensAgainAtOnce()
    {
        TcpCaptureServer bridge;
        QVERIFY(bridge.listen());
        Communication link;
        QVERIFY(link.connectTcp(bridge.host(), bridge.port()));
        GlobalObject::linkOpen = GlobalObject::wirelessMode = true;
        QTRY_VERIFY(bridge.hasClient());
        bridge.stopReading();
        // Far more than the kernel holds for a peer that does not read.
        const qint64 flood = 64 << 20;
        link.sendRaw(QByteArray(flood, '\x55'));
        QTRY_VERIFY(link.socket->bytesToWrite() < flood);
        QVERIFY(link.socket->bytesToWrite() > 0);
        link.closeTcp();
        QVERIFY(link.connectTcp(bridge.host(), bridge.port()));
        bridge.clearLog();
        QVERIFY(link.sendData({QByteArray::fromHex("C611FF5001BB")}, 0, false));
        QTRY_COMPARE(bridge.log().bytes(), QByteArray::fromHex("C611FF5001BB"));
    }

    void failureEndsCommand()
    {
        TcpCaptureServer bridge;
        QVERIFY(bridge.listen());
        Communication link;
        QVERIFY(link.connectTcp(bridge.host(), bridge.port()));
        GlobalObject::linkOpen = GlobalObject::wirelessMode = true;
        int echoes = 0;
        int echoesAtFailure = -1;
        QByteArray arrivedAtFailure;
        connect(&link, &Communication::sendComData, this, [&] { ++echoes; });
        // The bridge drops the first connection after a frame; the link is
        // opened again as soon as the failure has been told, while the command
        // still waits to send the rest.
        bridge.closeAfterBytes(6);
        connect(&link, &Communication::linkFailed, this, [&] {
            echoesAtFailure = echoes;
            arrivedAtFailure = bridge.log().bytes();
            bridge.closeAfterBytes(0);
            QTimer::singleShot(0, this, [&] { QVERIFY(link.connectTcp(bridge.host(), bridge.port())); });
        });
        link.sendData(QVector<QByteArray>(20, QByteArray::fromHex("C611112000BB")).toList(), 50, false);
        QCOMPARE(echoes, echoesAtFailure);
        link.sendRaw("after");
        QTRY_VERIFY(bridge.log().bytes().endsWith("after"));
        QCOMPARE(bridge.log().bytes(), arrivedAtFailure + "after");
    }
};

VW_TEST_MAIN(TestLinkHardening)
#include "tst_linkhardening.moc"
