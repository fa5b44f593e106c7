#include <QtTest>
#include <QtWidgets>

#include "communication.h"
#include "configfile.h"
#include "globalobject.h"
#include "goldenrows.h"
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
        QVERIFY(bridge.openMainLink());
    }

    void firesOncePerEventAndDay_data() { goldenRows(QStringLiteral("powerschedule.tsv")); }

    void firesOncePerEventAndDay()
    {
        QFETCH(QString, schedule);
        QFETCH(QString, ticks);
        QFETCH(QString, frames);
        const auto settings = ConfigFile::open();
        for (const QString &entry : schedule.split(' '))
            settings->setValue("TimingConfig/" + entry.section('=', 0, 0), entry.section('=', 1));
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

    void repeatOutsideTheListReadsAsEverydayAndTheSwitchEnablesTheTimes()
    {
        ConfigFile::open()->setValue(QStringLiteral("TimingConfig/Model"), 2);
        TimingSetWindows window;
        QCOMPARE(window.findChild<QComboBox *>("model_cb")->currentIndex(), 0);
        auto *onOff = window.findChild<QCheckBox *>("on_off_btn");
        for (const bool on : {true, false}) {
            onOff->setChecked(on);
            QCOMPARE(window.findChild<QSpinBox *>("bhour_sb")->isEnabled(), on);
        }
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
