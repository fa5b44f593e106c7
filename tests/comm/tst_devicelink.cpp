#include <QtTest>

#include <memory>

#include "communication.h"
#include "globalobject.h"
#include "ptypair.h"
#include "tcpcaptureserver.h"
#include "testmain.h"

// The main link object on real devices: a socat pty pair for the serial
// adapter and a local TCP server for the wireless bridge. Every check looks
// at the bytes that reached the far end and at the echoes.
class TestDeviceLink : public QObject
{
    Q_OBJECT

public:
    enum Kind { Serial, Wireless };
    Q_ENUM(Kind)

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void framesArriveInOrder_data();
    void framesArriveInOrder();
    void modeChangeMovesLaterFrames_data();
    void modeChangeMovesLaterFrames();
    void manyFramesWithoutWait_data();
    void manyFramesWithoutWait();
    void linkLostMidCommand_data();
    void linkLostMidCommand();
    void closedDuringWait_data();
    void closedDuringWait();
    void commandDuringWait_data();
    void commandDuringWait();
    void linkClosed_data();
    void linkClosed();
    void emptyFrameList();
    void rawSend_data();
    void rawSend();
    void echoWithoutText();
    void openSerialPort_data();
    void openSerialPort();

private:
    struct Echo
    {
        QString text;
        bool result;
        qint64 atMs;
    };

    bool openLink(Kind kind);
    void closeLink(Kind kind);
    const CaptureLog &farEnd(Kind kind) const { return kind == Serial ? pty->log() : server.log(); }
    QList<bool> results() const;
    QStringList echoTexts() const;

    std::unique_ptr<PtyPair> pty;
    TcpCaptureServer server;
    QList<Echo> echoes;
    QElapsedTimer clock;
};

#define REQUIRE_LINK(kind)                                                  \
    do {                                                                    \
        if ((kind) == Serial && !PtyPair::socatAvailable())                 \
            QSKIP(qPrintable(PtyPair::missingSocatMessage()));              \
        QVERIFY(openLink(kind));                                            \
    } while (false)

namespace {

PortSettingRecord portSettings(int dataBitsIndex = 3)
{
    PortSettingRecord settings;
    settings.baudRate = 9600;
    settings.dataBitsIndex = dataBitsIndex;
    return settings;
}

// Frames that tell themselves apart: C6 <index high> <index low> 01 02 BB.
QList<QByteArray> numberedFrames(int count)
{
    QList<QByteArray> frames;
    for (int i = 0; i < count; ++i)
        frames.append(QByteArray("\xC6") + char(i >> 8) + char(i & 0xFF) + QByteArray("\x01\x02\xBB", 3));
    return frames;
}

QStringList textsOf(const QList<QByteArray> &frames)
{
    QStringList texts;
    for (const QByteArray &frame : frames)
        texts.append(QString::fromLatin1(frame.toHex().toUpper()));
    return texts;
}

QByteArray joined(const QList<QByteArray> &frames)
{
    QByteArray bytes;
    for (const QByteArray &frame : frames)
        bytes += frame;
    return bytes;
}

void addKindRows(const char *serialRow, const char *wirelessRow)
{
    QTest::addColumn<TestDeviceLink::Kind>("kind");
    QTest::newRow(serialRow) << TestDeviceLink::Serial;
    QTest::newRow(wirelessRow) << TestDeviceLink::Wireless;
}

} // namespace

void TestDeviceLink::initTestCase()
{
    QVERIFY(server.listen());
    connect(&lcdCommunication, &Communication::sendComData, this, [this](const QString &text, bool result) {
        echoes.append({text, result, clock.elapsed()});
    });
}

void TestDeviceLink::init()
{
    pty = std::make_unique<PtyPair>();
    echoes.clear();
    server.clearLog();
    server.closeAfterBytes(0);
    GlobalObject::linkOpen = false;
    GlobalObject::wirelessMode = false;
    clock.start();
}

void TestDeviceLink::cleanup()
{
    lcdCommunication.closeSerialPort();
    lcdCommunication.closeTcp();
    pty.reset();
    GlobalObject::linkOpen = false;
    GlobalObject::wirelessMode = false;
}

bool TestDeviceLink::openLink(Kind kind)
{
    bool opened = false;
    if (kind == Serial) {
        opened = pty->start() && pty->openFarEnd()
                 && lcdCommunication.openSerialPort(portSettings(), pty->devicePath());
    } else {
        opened = lcdCommunication.connectTcp(server.host(), server.port());
    }
    GlobalObject::linkOpen = opened;
    GlobalObject::wirelessMode = kind == Wireless;
    return opened;
}

void TestDeviceLink::closeLink(Kind kind)
{
    if (kind == Serial)
        lcdCommunication.closeSerialPort();
    else
        lcdCommunication.closeTcp();
}

QList<bool> TestDeviceLink::results() const
{
    QList<bool> list;
    for (const Echo &echo : echoes)
        list.append(echo.result);
    return list;
}

QStringList TestDeviceLink::echoTexts() const
{
    QStringList list;
    for (const Echo &echo : echoes)
        list.append(echo.text);
    return list;
}

void TestDeviceLink::framesArriveInOrder_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("interval");
    QTest::newRow("serial, 20 ms apart") << Serial << 20;
    QTest::newRow("serial, back to back") << Serial << 0;
    QTest::newRow("wireless, 20 ms apart") << Wireless << 20;
    QTest::newRow("wireless, back to back") << Wireless << 0;
}

void TestDeviceLink::framesArriveInOrder()
{
    QFETCH(Kind, kind);
    QFETCH(int, interval);
    REQUIRE_LINK(kind);

    GlobalObject::targetAddressList = {"11", "21", "12"};
    lcdCommunication.sendData(lcdCommunication.makeCommand("06", "01", true, 0), interval, false);

    const QByteArray wire("\xC6\x11\x11\x06\x01\xBB"
                          "\xC6\x21\x21\x06\x01\xBB"
                          "\xC6\x12\x12\x06\x01\xBB");
    QTRY_COMPARE(farEnd(kind).bytes(), wire);
    QCOMPARE(echoTexts(), QStringList({"C611110601BB", "C621210601BB", "C612120601BB"}));
    QCOMPARE(results(), QList<bool>({true, true, true}));
}

void TestDeviceLink::modeChangeMovesLaterFrames_data()
{
    addKindRows("serial first, then wireless", "wireless first, then serial");
}

void TestDeviceLink::modeChangeMovesLaterFrames()
{
    QFETCH(Kind, kind);
    const Kind other = kind == Serial ? Wireless : Serial;
    REQUIRE_LINK(other);
    REQUIRE_LINK(kind);

    // The flag flips right after the second frame's echo.
    const QMetaObject::Connection flip = connect(&lcdCommunication, &Communication::sendComData, this, [&] {
        if (echoes.size() == 2)
            GlobalObject::wirelessMode = other == Wireless;
    });
    const QList<QByteArray> frames = numberedFrames(4);
    lcdCommunication.sendMatrixData(frames, textsOf(frames), 10);
    disconnect(flip);

    QTRY_COMPARE(farEnd(other).bytes(), frames[2] + frames[3]);
    QCOMPARE(farEnd(kind).bytes(), frames[0] + frames[1]);
    QCOMPARE(results(), QList<bool>({true, true, true, true}));
}

void TestDeviceLink::manyFramesWithoutWait_data()
{
    addKindRows("ten thousand frames on serial", "ten thousand frames on wireless");
}

void TestDeviceLink::manyFramesWithoutWait()
{
    QFETCH(Kind, kind);
    REQUIRE_LINK(kind);

    const QList<QByteArray> frames = numberedFrames(10000);
    lcdCommunication.sendMatrixData(frames, textsOf(frames), 0);

    const QByteArray wire = joined(frames);
    QTRY_COMPARE_WITH_TIMEOUT(farEnd(kind).bytes().size(), wire.size(), 60000);
    QVERIFY(farEnd(kind).bytes() == wire);
    QCOMPARE(echoes.size(), frames.size());
    QVERIFY(!results().contains(false));
}

void TestDeviceLink::linkLostMidCommand_data()
{
    addKindRows("serial adapter pulled after three frames", "bridge closes after three frames");
}

void TestDeviceLink::linkLostMidCommand()
{
    QFETCH(Kind, kind);
    REQUIRE_LINK(kind);
    QSignalSpy failed(&lcdCommunication, &Communication::linkFailed);

    const QList<QByteArray> frames = numberedFrames(10);
    if (kind == Serial)
        pty->stopAfterBytes(3 * 6);
    else
        server.closeAfterBytes(3 * 6);
    lcdCommunication.sendMatrixData(frames, textsOf(frames), 100);

    QCOMPARE(results(), QList<bool>({true, true, true}));
    QCOMPARE(farEnd(kind).bytes(), frames[0] + frames[1] + frames[2]);
    QCOMPARE(failed.count(), 1);
    const QString where = kind == Serial ? pty->devicePath() : QStringLiteral("127.0.0.1:%1").arg(server.port());
    QVERIFY2(failed.at(0).at(0).toString().contains(where), qPrintable(failed.at(0).at(0).toString()));

    // Opened again (a new cable, the bridge back), the link works.
    if (kind == Serial)
        pty = std::make_unique<PtyPair>();
    else
        server.closeAfterBytes(0);
    QVERIFY(openLink(kind));
    echoes.clear();
    const QList<QByteArray> more = numberedFrames(2);
    lcdCommunication.sendMatrixData(more, textsOf(more), 0);
    QTRY_VERIFY(farEnd(kind).bytes().endsWith(more[0] + more[1]));
    QCOMPARE(results(), QList<bool>({true, true}));

    // A deliberate close is no failure.
    closeLink(kind);
    QTest::qWait(50);
    QCOMPARE(failed.count(), 1);
}

void TestDeviceLink::closedDuringWait_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("closeDevice");
    QTest::addColumn<QList<bool>>("expected");
    QTest::addColumn<int>("framesArriving");
    QTest::newRow("serial port closed after the first frame") << Serial << true << QList<bool>{true, false, false} << 1;
    QTest::newRow("socket closed after the first frame") << Wireless << true << QList<bool>{true, false, false} << 1;
    QTest::newRow("link flag cleared after the first frame") << Serial << false << QList<bool>{true, true, true} << 3;
}

void TestDeviceLink::closedDuringWait()
{
    QFETCH(Kind, kind);
    QFETCH(bool, closeDevice);
    QFETCH(QList<bool>, expected);
    QFETCH(int, framesArriving);
    REQUIRE_LINK(kind);
    QSignalSpy failed(&lcdCommunication, &Communication::linkFailed);

    // The link flag is read once, when sending begins: clearing it later
    // stops nothing. A device closed under the command shows in the results.
    const QMetaObject::Connection closer = connect(&lcdCommunication, &Communication::sendComData, this, [&] {
        if (closeDevice)
            closeLink(kind);
        else
            GlobalObject::linkOpen = false;
    });
    const QList<QByteArray> frames = numberedFrames(3);
    lcdCommunication.sendMatrixData(frames, textsOf(frames), 20);
    disconnect(closer);

    QCOMPARE(results(), expected);
    QCOMPARE(failed.count(), 0);
    if (kind == Wireless || !closeDevice)
        QTRY_COMPARE(farEnd(kind).bytes(), joined(frames.mid(0, framesArriving)));
}

void TestDeviceLink::commandDuringWait_data()
{
    QTest::addColumn<QStringList>("selection");
    QTest::addColumn<bool>("perScreen");
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("secondTexts");
    QTest::newRow("one fixed-target frame in between")
        << QStringList{"11"} << false << 3 << QStringList{"C6FF220A0BBB"};
    QTest::newRow("two per-screen frames in between")
        << QStringList{"31", "32"} << true << 0 << QStringList{"C631310A0BBB", "C632320A0BBB"};
}

void TestDeviceLink::commandDuringWait()
{
    QFETCH(QStringList, selection);
    QFETCH(bool, perScreen);
    QFETCH(int, target);
    QFETCH(QStringList, secondTexts);
    REQUIRE_LINK(Serial);

    // The second command starts from the event loop during the wait that
    // follows the first command's second frame.
    const QMetaObject::Connection starter = connect(&lcdCommunication, &Communication::sendComData, this, [&] {
        if (echoes.size() != 2)
            return;
        QTimer::singleShot(0, this, [&] {
            GlobalObject::targetAddressList = selection;
            lcdCommunication.sendData(lcdCommunication.makeCommand("0A", "0B", perScreen, target), 20, false);
        });
    });
    // Lower case, so that the echo of a kept text differs from the frame's
    // own hex.
    GlobalObject::targetAddressList = {"11", "12", "13", "14", "15"};
    lcdCommunication.sendData(lcdCommunication.makeCommand("06", "0e", true, 0), 40, false);
    disconnect(starter);

    const QStringList first{"C61111060eBB", "C61212060eBB", "C61313060eBB", "C61414060eBB", "C61515060eBB"};
    const QStringList expected = first.mid(0, 2) + secondTexts + first.mid(2);
    QCOMPARE(echoTexts(), expected);
    QCOMPARE(results(), QVector<bool>(expected.size(), true).toList());
    QTRY_COMPARE(pty->log().bytes(), joined(lcdCommunication.hexListToBytes(expected)));
}

void TestDeviceLink::linkClosed_data()
{
    addKindRows("serial port open, link closed", "bridge connected, link closed");
}

void TestDeviceLink::linkClosed()
{
    QFETCH(Kind, kind);
    REQUIRE_LINK(kind);
    GlobalObject::linkOpen = false;

    const QList<QByteArray> frames = numberedFrames(3);
    const qint64 start = clock.elapsed();
    lcdCommunication.sendMatrixData(frames, textsOf(frames), 50);
    const qint64 took = clock.elapsed() - start;

    QCOMPARE(results(), QList<bool>({false, false, false}));
    QVERIFY2(echoes[1].atMs - echoes[0].atMs >= 49, "frames must stay paced on a closed link");
    QVERIFY2(echoes[2].atMs - echoes[1].atMs >= 49, "frames must stay paced on a closed link");
    QVERIFY2(took >= 150 && took < 2000, qPrintable(QString::number(took)));
    QTest::qWait(100);
    QVERIFY(farEnd(kind).bytes().isEmpty());
}

void TestDeviceLink::emptyFrameList()
{
    GlobalObject::linkOpen = true;
    QElapsedTimer took;
    took.start();
    lcdCommunication.sendData({}, 1000, false);
    lcdCommunication.sendMatrixData({}, {"unused"}, 1000);
    QVERIFY(took.elapsed() < 500);
    QVERIFY(echoes.isEmpty());
}

void TestDeviceLink::rawSend_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("open");
    QTest::newRow("serial, link closed") << Serial << false;
    QTest::newRow("serial, link open") << Serial << true;
    QTest::newRow("wireless, link open") << Wireless << true;
}

void TestDeviceLink::rawSend()
{
    QFETCH(Kind, kind);
    QFETCH(bool, open);
    REQUIRE_LINK(kind);
    GlobalObject::linkOpen = open;
    QSignalSpy debug(&lcdCommunication, &Communication::sendDebug);

    const QByteArray bytes("\xC6\x11\xFF\x50\x00\xBB", 6);
    lcdCommunication.sendRaw(bytes);

    QCOMPARE(debug.count(), 1);
    QCOMPARE(debug.at(0).at(0).toBool(), open);
    QVERIFY(echoes.isEmpty());
    if (open)
        QTRY_COMPARE(farEnd(kind).bytes(), bytes);
    QTest::qWait(50);
    QCOMPARE(farEnd(kind).bytes(), open ? bytes : QByteArray());
}

void TestDeviceLink::echoWithoutText()
{
    // More frames than texts: the frame's own bytes stand in for the text.
    const QList<QByteArray> frames{QByteArray("\xC6\x11\x11\x10\x01\xBB"), QByteArray("\x0a\x0b")};
    lcdCommunication.sendMatrixData(frames, {"first"}, 0);
    QCOMPARE(echoTexts(), QStringList({"first", "0A0B"}));

    lcdCommunication.lcdTexts.clear();
    lcdCommunication.sendData(frames, 0, false);
    QCOMPARE(echoTexts().mid(2), QStringList({"C611111001BB", "0A0B"}));
}

void TestDeviceLink::openSerialPort_data()
{
    // A pty takes five or eight data bits only.
    QTest::addColumn<int>("beforeIndex");
    QTest::addColumn<int>("dataBitsIndex");
    QTest::addColumn<int>("dataBits");
    QTest::newRow("index 0 gives five data bits") << 3 << 0 << int(QSerialPort::Data5);
    QTest::newRow("index 3 gives eight data bits") << 0 << 3 << int(QSerialPort::Data8);
    QTest::newRow("index 4 leaves five data bits") << 0 << 4 << int(QSerialPort::Data5);
    QTest::newRow("index 4 leaves eight data bits") << 3 << 4 << int(QSerialPort::Data8);
}

void TestDeviceLink::openSerialPort()
{
    QFETCH(int, beforeIndex);
    QFETCH(int, dataBitsIndex);
    QFETCH(int, dataBits);
    if (!PtyPair::socatAvailable())
        QSKIP(qPrintable(PtyPair::missingSocatMessage()));
    QVERIFY(pty->start());

    // Leave other settings behind, then open again.
    PortSettingRecord before = portSettings(beforeIndex);
    before.baudRate = 19200;
    before.stopBitsIndex = 1;
    QVERIFY(lcdCommunication.openSerialPort(before, pty->devicePath()));
    lcdCommunication.closeSerialPort();

    // A port that cannot be opened gets no setting at all.
    QVERIFY(!lcdCommunication.openSerialPort(portSettings(dataBitsIndex), QDir::current().filePath("no-such-port")));
    QVERIFY(!lcdCommunication.serial->isOpen());
    QCOMPARE(int(lcdCommunication.serial->baudRate()), 19200);
    QCOMPARE(lcdCommunication.serial->stopBits(), QSerialPort::TwoStop);

    QVERIFY(lcdCommunication.openSerialPort(portSettings(dataBitsIndex), pty->devicePath()));
    QVERIFY(lcdCommunication.serial->isOpen());
    QCOMPARE(int(lcdCommunication.serial->dataBits()), dataBits);
    QCOMPARE(int(lcdCommunication.serial->baudRate()), 9600);
    QCOMPARE(lcdCommunication.serial->parity(), QSerialPort::NoParity);
    QCOMPARE(lcdCommunication.serial->stopBits(), QSerialPort::OneStop);
}

VW_TEST_MAIN(TestDeviceLink)
#include "tst_devicelink.moc"
