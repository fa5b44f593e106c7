#include <QAbstractButton>
#include <QDateTime>
#include <QSpinBox>
#include <QTimerEvent>

#include "configfile.h"
#include "playbacktest.h"
#include "testmain.h"
#include "timingsetwindows.h"

using namespace PlaybackTest;

// The schedule on a clock of the test's own: each tick is one time of day.
class TestPowerSchedule : public QObject
{
    Q_OBJECT

    TcpCaptureServer bridge;
    QDateTime now;

    // "closed " before the time: the link is down during that tick.
    void tickAt(TimingSetWindows &window, const QString &tick)
    {
        const bool closed = tick.startsWith(QLatin1String("closed "));
        GlobalObject::linkOpen = !closed;
        now = QDateTime::fromString(tick.mid(closed ? 7 : 0), QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
        QTimerEvent event(window.timerId);
        QCoreApplication::sendEvent(&window, &event);
        GlobalObject::linkOpen = true;
    }

    static void writeSchedule(int model, int onHour, int onMin, int offHour, int offMin)
    {
        const auto settings = ConfigFile::open();
        settings->beginGroup(QStringLiteral("TimingConfig"));
        const QPair<const char *, int> keys[] = {{"Model", model},     {"StartHour", onHour}, {"StartMin", onMin},
                                                 {"EndHour", offHour}, {"EndMin", offMin},    {"Switch", 1}};
        for (const auto &key : keys)
            settings->setValue(QLatin1String(key.first), key.second);
        settings->endGroup();
    }

private slots:
    void initTestCase() { QVERIFY(openBridge(bridge)); }
    void cleanupTestCase() { closeBridge(); }

    void firesOncePerEventAndDay_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<QByteArray>("wire");
        const QByteArray on = QByteArray::fromHex("C611FF1001BB");
        const QByteArray off = QByteArray::fromHex("C611FF1000BB");
        QTest::newRow("daily: ticks at :59.9 and :00.4, then twice more in the minute")
            << 0 << QStringList{"2026-03-02 08:29:59.900", "2026-03-02 08:30:00.400", "2026-03-02 08:30:00.950",
                                "2026-03-02 08:30:01.400", "2026-03-02 18:00:59.900"}
            << on + off;
        QTest::newRow("daily: a minute whose second 0 gets no tick still fires")
            << 0 << QStringList{"2026-03-02 08:29:59.600", "2026-03-02 08:30:01.100", "2026-03-02 18:00:37.000"}
            << on + off;
        QTest::newRow("daily: across midnight the next day fires again")
            << 0 << QStringList{"2026-03-02 08:30:05.000", "2026-03-02 23:59:59.900", "2026-03-03 00:00:00.400",
                                "2026-03-03 08:30:00.400"}
            << on + on;
        QTest::newRow("daily: the clock set back does not fire twice")
            << 0 << QStringList{"2026-03-02 08:30:00.200", "2026-03-02 08:29:59.500", "2026-03-02 08:30:00.300"}
            << on;
        QTest::newRow("once: off then on completes the pair and stops")
            << 1 << QStringList{"2026-03-02 18:00:00.000", "2026-03-03 08:30:00.000", "2026-03-03 18:00:00.000",
                                "2026-03-04 08:30:00.000"}
            << off + on;
        QTest::newRow("once: a frame sent on a closed link does not count")
            << 1 << QStringList{"closed 2026-03-02 08:30:00.000", "2026-03-02 18:00:00.000",
                                "2026-03-03 08:30:00.000", "2026-03-03 18:00:00.000"}
            << off + on;
    }

    void firesOncePerEventAndDay()
    {
        QFETCH(int, model);
        QFETCH(QStringList, ticks);
        QFETCH(QByteArray, wire);
        writeSchedule(model, 8, 30, 18, 0);
        TimingSetWindows window;
        window.setClock([this] { return now; });
        child<QAbstractButton>(&window, "starttime_btn")->click();
        bridge.clearLog();

        for (const QString &tick : ticks)
            tickAt(window, tick);

        QTRY_COMPARE_WITH_TIMEOUT(bridge.log().bytes(), wire, 5000);
    }

    void sameMinuteSendsOnThenOff()
    {
        writeSchedule(1, 12, 0, 12, 0);
        TimingSetWindows window;
        window.setClock([this] { return now; });
        child<QAbstractButton>(&window, "starttime_btn")->click();
        bridge.clearLog();

        tickAt(window, QStringLiteral("2026-03-02 12:00:00.200"));
        tickAt(window, QStringLiteral("2026-03-03 12:00:00.200"));

        QTRY_COMPARE_WITH_TIMEOUT(bridge.log().bytes(), QByteArray::fromHex("C611FF1001BBC611FF1000BB"), 5000);
    }

    void openWindowSavesAtExit()
    {
        QFile::remove(ConfigFile::path());
        TimingSetWindows window;
        window.show();
        child<QSpinBox>(&window, "bhour_sb")->setValue(7);

        QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit");

        QCOMPARE(ConfigFile::open()->value(QStringLiteral("TimingConfig/StartHour")).toInt(), 7);
        QCOMPARE(ConfigFile::open()->value(QStringLiteral("TimingConfig/EndHour")).toInt(), 18);
    }
};

VW_TEST_MAIN(TestPowerSchedule)
#include "tst_powerschedule.moc"
