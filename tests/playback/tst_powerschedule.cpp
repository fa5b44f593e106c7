#include <QAbstractButton>
#include <QDateTime>
#include <QSpinBox>
#include <QTimerEvent>

#include "communication.h"
#include "configfile.h"
#include "globalobject.h"
#include "tcpcaptureserver.h"
#include "testmain.h"
#include "timingsetwindows.h"

// The schedule on a clock of the test's own: each tick is one time of day.
class TestPowerSchedule : public QObject
{
    Q_OBJECT

    TcpCaptureServer bridge;
    QDateTime now;

private slots:
    void initTestCase()
    {
        QVERIFY(bridge.listen() && lcdCommunication.connectTcp(bridge.host(), bridge.port()));
        GlobalObject::wirelessMode = true;
    }

    void firesOncePerEventAndDay_data()
    {
        QTest::addColumn<QString>("schedule"); // model, on and off hour and minute
        QTest::addColumn<QString>("ticks"); // "closed" before a time: the link is down during that tick
        QTest::addColumn<QString>("frames");
        const QString on = QStringLiteral("C611FF1001BB");
        const QString off = QStringLiteral("C611FF1000BB");
        QTest::newRow("daily: ticks at :59.9 and :00.4, then twice more in the minute")
            << "0 8 30 18 0" << "03-02T08:29:59.900 03-02T08:30:00.400 03-02T08:30:00.950 03-02T08:30:01.400 "
                                "03-02T18:00:59.900" << on + off;
        QTest::newRow("daily: a minute whose second 0 gets no tick still fires")
            << "0 8 30 18 0" << "03-02T08:29:59.600 03-02T08:30:01.100 03-02T18:00:37.000" << on + off;
        QTest::newRow("daily: across midnight the next day fires again")
            << "0 8 30 18 0" << "03-02T08:30:05.000 03-02T23:59:59.900 03-03T00:00:00.400 03-03T08:30:00.400"
            << on + on;
        QTest::newRow("daily: the clock set back does not fire twice")
            << "0 8 30 18 0" << "03-02T08:30:00.200 03-02T08:29:59.500 03-02T08:30:00.300" << on;
        QTest::newRow("once: off then on completes the pair and stops")
            << "1 8 30 18 0" << "03-02T18:00:00.000 03-03T08:30:00.000 03-03T18:00:00.000 03-04T08:30:00.000"
            << off + on;
        QTest::newRow("once: a frame sent on a closed link does not count")
            << "1 8 30 18 0" << "closed03-02T08:30:00.000 03-02T18:00:00.000 03-03T08:30:00.000 03-03T18:00:00.000"
            << off + on;
        QTest::newRow("once: on and off in the same minute") << "1 12 0 12 0"
                                                             << "03-02T12:00:00.200 03-03T12:00:00.200" << on + off;
    }

    void firesOncePerEventAndDay()
    {
        QFETCH(QString, schedule);
        QFETCH(QString, ticks);
        QFETCH(QString, frames);
        const QStringList numbers = schedule.split(' ');
        const char *keys[] = {"Model", "StartHour", "StartMin", "EndHour", "EndMin"};
        const auto settings = ConfigFile::open();
        for (int i = 0; i < 5; ++i)
            settings->setValue(QStringLiteral("TimingConfig/") + keys[i], numbers[i].toInt());
        settings->setValue(QStringLiteral("TimingConfig/Switch"), 1);
        settings->sync();
        TimingSetWindows window;
        window.setClock([this] { return now; });
        GlobalObject::linkOpen = true;
        window.findChild<QAbstractButton *>("starttime_btn")->click();
        bridge.clearLog();

        for (QString tick : ticks.split(' ')) {
            GlobalObject::linkOpen = !tick.startsWith(QLatin1String("closed"));
            now = QDateTime::fromString("2026-" + tick.remove("closed"), QStringLiteral("yyyy-MM-ddThh:mm:ss.zzz"));
            QTimerEvent event(window.timerId);
            QCoreApplication::sendEvent(&window, &event);
        }
        GlobalObject::linkOpen = true;
        QTRY_COMPARE_WITH_TIMEOUT(bridge.log().bytes(), QByteArray::fromHex(frames.toLatin1()), 5000);
    }

    void openWindowSavesAtExit()
    {
        QFile::remove(ConfigFile::path());
        TimingSetWindows window;
        window.show();
        window.findChild<QSpinBox *>("bhour_sb")->setValue(7);
        QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit");
        QCOMPARE(ConfigFile::open()->value(QStringLiteral("TimingConfig/StartHour")).toInt(), 7);
        QCOMPARE(ConfigFile::open()->value(QStringLiteral("TimingConfig/EndHour")).toInt(), 18);
    }
};

VW_TEST_MAIN(TestPowerSchedule)
#include "tst_powerschedule.moc"
