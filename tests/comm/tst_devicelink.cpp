#include <memory>

#include "communication.h"
#include "globalobject.h"
#include "goldenrows.h"
#include "ptypair.h"
#include "tcpcaptureserver.h"
#include "testmain.h"

// The main link on real devices: a socat pty pair for the serial adapter and
// a local TCP server for the wireless bridge. Every check looks at the bytes
// that reached the far end and at the echoes.
class TestDeviceLink : public QObject
{
    Q_OBJECT

    enum Kind { Serial, Wireless };
    std::unique_ptr<PtyPair> pty;
    TcpCaptureServer server;
    QStringList texts;
    QList<bool> results;
    QList<qint64> times;
    QElapsedTimer clock;

    bool openLink(Kind kind)
    {
        PortSettingRecord settings;
        settings.baudRate = 9600;
        settings.dataBitsIndex = 3;
        const bool open = kind == Serial ? (pty->isRunning() || pty->startListening()) && lcdCommunication.openSerialPort(settings, pty->devicePath())
                                         : server.openMainLink();
        GlobalObject::linkOpen = open;
        GlobalObject::wirelessMode = kind == Wireless;
        return open;
    }
    const CaptureLog &farEnd(Kind kind) const { return kind == Serial ? pty->log() : server.log(); }
    // Frames that tell themselves apart: C6 <index high> <index low> 01 02 BB.
    static QByteArrayList frames(int count, int first = 0)
    {
        QByteArrayList list;
        for (int i = first; i < first + count; ++i)
            list.append(QByteArray("\xC6") + char(i >> 8) + char(i & 0xFF) + QByteArray("\x01\x02\xBB", 3));
        return list;
    }
    void send(const QList<QByteArray> &list, int interval) { lcdCommunication.sendMatrixData(list, {}, interval); }
    static Kind rowKind() { return golden("kind") == QLatin1String("wireless") ? Wireless : Serial; }

private slots:
    void initTestCase()
    {
        QVERIFY(server.listen());
        connect(&lcdCommunication, &Communication::sendComData, this, [this](const QString &text, bool result) {
            texts.append(text);
            results.append(result);
            times.append(clock.elapsed());
        });
    }
    void init()
    {
        VW_REQUIRE_SOCAT();
        pty = std::make_unique<PtyPair>();
        texts.clear();
        results.clear();
        times.clear();
        server.clearLog();
        server.closeAfterBytes(0);
        clock.start();
    }
    void cleanup()
    {
        lcdCommunication.closeSerialPort();
        lcdCommunication.closeTcp();
        pty.reset();
        GlobalObject::linkOpen = GlobalObject::wirelessMode = false;
    }

    void tenThousandFramesWithoutWait_data() { goldenRows(QStringLiteral("linkkinds.tsv")); }
    void tenThousandFramesWithoutWait()
    {
        const Kind kind = rowKind();
        QVERIFY(openLink(kind));
        const QList<QByteArray> list = frames(10000);
        send(list, 0);
        QTRY_COMPARE_WITH_TIMEOUT(farEnd(kind).bytes().size(), 60000, 60000);
        QVERIFY(farEnd(kind).bytes() == list.join());
        QCOMPARE(results.count(true), 10000);
        QCOMPARE(texts.last(), QStringLiteral("C6270F0102BB")); // no text given: the frame's hex
    }

    void linkLostMidCommand_data() { goldenRows(QStringLiteral("linkkinds.tsv")); }
    void linkLostMidCommand()
    {
        const Kind kind = rowKind();
        QVERIFY(openLink(kind));
        QSignalSpy failed(&lcdCommunication, &Communication::linkFailed);
        if (kind == Serial)
            pty->stopAfterBytes(3 * 6);
        else
            server.closeAfterBytes(3 * 6);
        // The fourth frame goes out only once the pull is noticed: a far end
        // that reads late on a busy machine must not let it through unseen.
        const auto pulled = connect(&lcdCommunication, &Communication::sendComData, this, [&] {
            if (results.size() == 3)
                (void)QTest::qWaitFor([&] { return failed.count() > 0; }, 5000);
        });
        send(frames(6), 100);
        disconnect(pulled);

        QCOMPARE(results, QList<bool>({true, true, true}));
        QCOMPARE(farEnd(kind).bytes(), frames(3).join());
        QCOMPARE(failed.count(), 1);
        const QString where = kind == Serial ? pty->devicePath() : QStringLiteral("127.0.0.1:%1").arg(server.port());
        QVERIFY2(failed.at(0).at(0).toString().contains(where), qPrintable(failed.at(0).at(0).toString()));

        // Opened again (a new cable, the bridge back), the link works.
        pty = std::make_unique<PtyPair>();
        server.closeAfterBytes(0);
        QVERIFY(openLink(kind));
        send(frames(2, 7), 0);
        QTRY_VERIFY(farEnd(kind).bytes().endsWith(frames(2, 7).join()));
        QCOMPARE(results.mid(3), QList<bool>({true, true}));
    }

    // Success only when written: a device closed under the command shows in
    // the results; the link flag is read once, when sending begins.
    void successOnlyWhenWritten()
    {
        const std::pair<Kind, void (*)()> closers[] = {{Wireless, [] { lcdCommunication.closeTcp(); }},
                                                       {Serial, [] { lcdCommunication.closeSerialPort(); }},
                                                       {Serial, [] { GlobalObject::linkOpen = false; }}};
        for (const auto &closer : closers) {
            QVERIFY(openLink(closer.first));
            const auto connection = connect(&lcdCommunication, &Communication::sendComData, this, closer.second);
            send(frames(2), 20);
            disconnect(connection);
        }
        QCOMPARE(results, QList<bool>({true, false, true, false, true, true}));
    }

    // Closed, a command is paced and echoed but not written, and tells so; a
    // name missing from the instruction table (an empty code) gives no frame.
    void closedLinkStaysPacedAndSilent()
    {
        QVERIFY(openLink(Wireless));
        GlobalObject::linkOpen = false;
        send(frames(3), 50);
        QCOMPARE(results, QList<bool>({false, false, false}));
        QVERIFY2(times[2] - times[0] >= 98 && times[2] - times[0] < 2000, qPrintable(QString::number(times[2])));
        QVERIFY(!sendLcdCommand("50", "00", false, 1) && !sendLcdCommand({}, "01", false, 1));
        // A raw send reports the closed link and sends nothing either; open, it sends.
        QSignalSpy debug(&lcdCommunication, &Communication::sendDebug);
        lcdCommunication.sendRaw(QByteArray::fromHex("C611FF5000BB"));
        GlobalObject::linkOpen = true;
        QVERIFY(!sendLcdCommand("50", {}, false, 1) && sendLcdCommand("50", "01", false, 1));
        lcdCommunication.sendRaw(QByteArray::fromHex("C611FF5002BB"));
        QCOMPARE(debug.count(), 2);
        QVERIFY(!debug.at(0).at(0).toBool() && debug.at(1).at(0).toBool());
        QTRY_COMPARE(server.log().bytes(), QByteArray::fromHex("C611FF5001BBC611FF5002BB"));
        QCOMPARE(texts.mid(3), QStringList({"C611FF5000BB", "C611FF5001BB"})); // raw sends echo nothing
    }

    // A handler that runs past the end of the wait after a frame: the next
    // frame goes out as soon as it returns, not a sleep later. Each frame's
    // moment is taken at its send; a busy machine may hold the program between
    // the handler's end and the next send, so one prompt frame of seven is
    // enough, where a sleep after the wait would hold back every one by 1 ms.
    void frameAfterAWaitOutlastedGoesAtOnce()
    {
        QVERIFY(openLink(Wireless));
        const qint64 intervalNs = 3000000;
        QElapsedTimer since; // on one clock: the sends and the handlers' ends
        since.start();
        qint64 lastSend = 0, handlerEnd = -1;
        QList<qint64> gaps, afterHandler; // ns from a send, and from the handler's end, to the next send
        const auto outlast = connect(&lcdCommunication, &Communication::sendComData, this, [&] {
            const qint64 now = since.nsecsElapsed();
            if (handlerEnd >= 0) {
                gaps.append(now - lastSend);
                afterHandler.append(now - handlerEnd);
            }
            lastSend = now;
            // Runs in the wait, and sleeps until 0.1 ms past its end.
            QTimer::singleShot(0, this, [&] {
                while (since.nsecsElapsed() - lastSend < intervalNs + 100000)
                    QThread::usleep(50);
                handlerEnd = since.nsecsElapsed();
            });
        });
        send(frames(8), int(intervalNs / 1000000));
        disconnect(outlast);
        QCOMPARE(gaps.size(), 7);
        QVERIFY(*std::min_element(gaps.begin(), gaps.end()) >= intervalNs);
        const qint64 promptest = *std::min_element(afterHandler.begin(), afterHandler.end());
        QVERIFY2(promptest < 1000000, qPrintable(QStringLiteral("the promptest frame went %1 us after the handler").arg(promptest / 1000)));
        QTRY_COMPARE(server.log().bytes(), frames(8).join());
    }

    // Events that never stop coming during a wait (a tour's timer, a stream
    // of redraws) are taken only until the wait is over: the next frame is
    // not held back by a dispatch that outlasts it. Timed from the sends,
    // the promptest of three tries, so that a busy machine cannot fail it.
    void frameNotLateInAFloodOfEvents()
    {
        QVERIFY(openLink(Wireless));
        bool flooding = true;
        std::function<void()> again;
        QObject flood; // goes first, and the call it still has posted with it
        again = [&] {
            if (flooding)
                QMetaObject::invokeMethod(&flood, again, Qt::QueuedConnection);
        };
        qint64 promptest = std::numeric_limits<qint64>::max();
        for (int i = 0; i < 3; ++i) {
            times.clear();
            again();
            send(frames(2), 150);
            promptest = std::min(promptest, times.at(1) - times.at(0));
        }
        flooding = false;
        QVERIFY2(promptest >= 150 && promptest < 185, qPrintable(QStringLiteral("%1 ms between the frames").arg(promptest)));
        QTRY_COMPARE(server.log().bytes(), QByteArrayList(frames(2) + frames(2) + frames(2)).join());
    }

    void commandDuringWait()
    {
        QVERIFY(openLink(Serial));
        // The second command starts from the event loop during the wait that
        // follows the first command's second frame.
        const auto starter = connect(&lcdCommunication, &Communication::sendComData, this, [&] {
            if (results.size() == 2)
                QTimer::singleShot(0, this, [] {
                    GlobalObject::targetAddressList = {"31", "32"};
                    lcdCommunication.sendData(lcdCommunication.makeCommand("0A", "0B", true, 0), 20, false);
                });
        });
        GlobalObject::targetAddressList = {"11", "12", "13"};
        lcdCommunication.sendData(lcdCommunication.makeCommand("06", "0e", true, 0), 40, false);
        disconnect(starter);
        // Lower case: the echo is the kept text, not the frame's own hex.
        const QStringList expected{"C61111060eBB", "C61212060eBB", "C631310A0BBB", "C632320A0BBB", "C61313060eBB"};
        QCOMPARE(texts, expected);
        QTRY_COMPARE(pty->log().bytes(), QByteArrayList(lcdCommunication.hexListToBytes(expected)).join());
    }

    void openSerialPortSettings()
    {
        QVERIFY(pty->start());
        PortSettingRecord settings;
        settings.baudRate = 19200;
        settings.stopBitsIndex = 1;
        QVERIFY(lcdCommunication.openSerialPort(settings, pty->devicePath()));
        lcdCommunication.closeSerialPort();
        // A port that cannot be opened gets no setting at all, and after a
        // deliberate close its failure is no lost link.
        QSignalSpy failed(&lcdCommunication, &Communication::linkFailed);
        settings = PortSettingRecord();
        settings.baudRate = 9600;
        settings.dataBitsIndex = 4; // no such index: the data bits stay
        QVERIFY(!lcdCommunication.openSerialPort(settings, QDir::current().filePath("no-such-port"))
                && lcdCommunication.serial->baudRate() == 19200 && failed.isEmpty());
        QVERIFY(lcdCommunication.openSerialPort(settings, pty->devicePath()));
        QVERIFY(lcdCommunication.serial->baudRate() == 9600 && lcdCommunication.serial->dataBits() == QSerialPort::Data5
                && lcdCommunication.serial->stopBits() == QSerialPort::OneStop);
    }
};

VW_TEST_MAIN(TestDeviceLink)
#include "tst_devicelink.moc"
