#include "consoletest.h"
#include "initext.h"
#include "warningsof.h"

using namespace WindowTest;

// Consoles sharing one config.ini: what one leaves of the others' changes
// and a hand's, and how long its close waits for a lock another holds.
class TestSharedConfig : public ConsoleTest
{
    Q_OBJECT

private slots:
    void init() { start(); }

    // A console that changed nothing, on a config.ini that lacked every key
    // when it started, leaves another console's keys as that one saved them
    // meanwhile, every window shown and closed.
    void consoleThatChangedNothingLeavesAnotherOnesKeys()
    {
        const QStringList windows{"PortSettingWindows", "MatrixConfigurationWindows", "FontSetWindows",
                                  "TimingSetWindows", "AlienAdjustWindows", "EdgeMeltingWindows",
                                  "PictureControlWindows"};
        const auto showAllAndClose = [&] {
            for (const QString &className : windows)
                onlyWindowOf(className)->show();
            window->close();
        };
        buildOn(QByteArray());
        showAllAndClose();
        IniText::Keys other = IniText::read(readConfig());
        QCOMPARE(other.lastKey().section('/', 0, 0), QStringLiteral("TimingConfig")); // every group written
        for (IniText::Value &value : other)
            for (QString &part : value.parts)
                part.prepend(QStringLiteral("other "));
        const QByteArray saved = IniText::write(other);

        buildOn(QByteArray());
        QVERIFY(writeConfig(saved, false)); // the other console's close, after this one's start
        showAllAndClose();
        QCOMPARE(readConfig(), saved);
    }

    // Two consoles started on a config.ini that lacked the keys they change
    // (a first run), each changing another: the second close keeps the first
    // one's change, as it keeps a hand's.
    void secondConsoleKeepsTheFirstOnesChange_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("Delayed, then linkage") << "retard_btn" << "link_cb";
        QTest::newRow("linkage, then Delayed") << "link_cb" << "retard_btn";
        QTest::newRow("a hand's DelayOn=1, then linkage") << "" << "link_cb";
    }
    void secondConsoleKeepsTheFirstOnesChange()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        const QByteArray lacking = "[MainSetting]\nRow=2\nColumn=2\n";
        QByteArray firstSaved = lacking + "DelayOn=1\n";
        if (!first.isEmpty()) {
            buildOn(lacking);
            clickByHand(child<QAbstractButton>(window, first));
            window->close();
            firstSaved = readConfig();
        }
        buildOn(lacking);
        QVERIFY(writeConfig(firstSaved, false)); // the first closed after the second started
        clickByHand(child<QAbstractButton>(window, second));
        window->close();
        const IniText::Keys keys = IniText::read(readConfig());
        QCOMPARE(keys.value(QStringLiteral("MainSetting/DelayOn")).parts.value(0)
                     + keys.value(QStringLiteral("MainSetting/MatrixSelect")).parts.value(0),
                 QStringLiteral("11"));
    }

    // A number a window saves as it read it, in a hand's spelling ("03"),
    // is no change: the file keeps its spelling, and a value another hand
    // wrote after the start stays, while the operator's own change lands.
    void handSpellingIsNoChange_data()
    {
        QTest::addColumn<QByteArray>("other"); // config.ini after the start
        QTest::addColumn<QString>("timing");   // a field of Timing set by hand, or none
        QTest::addColumn<QStringList>("saved"); // Row, Column, StartHour and DelayOn as written
        QTest::newRow("another hand's Row")
            << QByteArray("[MainSetting]\nColumn=04\nRow=5\n\n[TimingConfig]\nStartHour=07\n") << ""
            << QStringList{"5", "04", "07", "1"};
        QTest::newRow("another hand's StartHour")
            << QByteArray("[MainSetting]\nColumn=04\nRow=+3\n\n[TimingConfig]\nStartHour=09\n") << ""
            << QStringList{"+3", "04", "09", "1"};
        QTest::newRow("the operator's StartHour")
            << QByteArray("[MainSetting]\nColumn=04\nRow=5\n\n[TimingConfig]\nStartHour=09\n") << "bhour_sb=8"
            << QStringList{"5", "04", "8", "1"};
    }
    void handSpellingIsNoChange()
    {
        QFETCH(QByteArray, other);
        QFETCH(QString, timing);
        QFETCH(QStringList, saved);
        buildOn("[MainSetting]\nColumn=04\nRow=+3\n\n[TimingConfig]\nStartHour=07\n");
        QCOMPARE(ui->cent_tablewidget->rowCount(), 3);
        QVERIFY(writeConfig(other, false));
        QWidget *timingWindow = onlyWindowOf(QStringLiteral("TimingSetWindows"));
        timingWindow->show();
        if (!timing.isEmpty())
            enter(timingWindow, {timing});
        clickByHand(child<QAbstractButton>(timingWindow, "close_pbtn"));
        clickByHand(child<QAbstractButton>(window, "retard_btn"));
        QCOMPARE(warningsOf([this] { window->close(); }), QString());
        const IniText::Keys keys = IniText::read(readConfig());
        QStringList written;
        for (const char *key : {"MainSetting/Row", "MainSetting/Column", "TimingConfig/StartHour", "MainSetting/DelayOn"})
            written << keys.value(QLatin1String(key)).parts.value(0);
        QCOMPARE(written, saved);
    }

    // A window that shows what it read in a form of its own (a value its
    // field refuses shown empty, a text it normalises, a result worked out
    // again), opened and closed untouched, leaves the value another hand
    // wrote after the start.
    void windowClosedUntouchedKeepsAnotherHandsValue_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("read");  // the key's value at the start
        QTest::addColumn<QString>("other"); // another hand's, after it
        QTest::newRow("Port Setting, a port it refuses")
            << "PortSettingWindows" << "PortConfig/Port" << "08080" << "9000";
        QTest::newRow("Port Setting, an address it refuses")
            << "PortSettingWindows" << "PortConfig/Addr" << "010.010.100.254" << "10.0.0.9";
        QTest::newRow("Subtitle, a no-break space") << "FontSetWindows" << "FontSetting/Text"
                                                    << "first\\xa0line" << "a new caption";
        QTest::newRow("Subtitle, a line break of two") << "FontSetWindows" << "FontSetting/Text"
                                                       << "first\\r\\nline" << "a new caption";
        QTest::newRow("Subtitle, a line separator") << "FontSetWindows" << "FontSetting/Text"
                                                    << "first\\x2028line" << "a new caption";
        QTest::newRow("Special regulation, a start in a hand's spelling")
            << "AlienAdjustWindows" << "AlienSetting/HorizontalStart" << "0019" << "30";
    }
    void windowClosedUntouchedKeepsAnotherHandsValue()
    {
        QFETCH(QString, className);
        QFETCH(QString, key);
        QFETCH(QString, read);
        QFETCH(QString, other);
        const auto ini = [&key](const QString &value) {
            return QStringLiteral("[%1]\n%2=%3\n").arg(key.section('/', 0, 0), key.section('/', 1), value).toUtf8();
        };
        buildOn(ini(read));
        QVERIFY(writeConfig(ini(other), false));
        QWidget *shown = onlyWindowOf(className);
        shown->show();
        clickByHand(child<QAbstractButton>(shown, "close_pbtn"));
        QCOMPARE(warningsOf([this] { window->close(); }), QString());
        QCOMPARE(IniText::read(readConfig()).value(key).parts, QStringList(other));
    }

    // A close with three windows' changes while another process holds the
    // lock waits for it once (about 2 s, where a wait for each window takes
    // 6 s), says so in one line and leaves config.ini as it was; the changes
    // land with the next save.
    void closeWaitsOnceForAHeldLock()
    {
        QWidget *ports = onlyWindowOf(QStringLiteral("PortSettingWindows"));
        QWidget *matrix = onlyWindowOf(QStringLiteral("MatrixConfigurationWindows"));
        ports->show();
        matrix->show();
        clickByHand(child<QAbstractButton>(ports, "auto_cb"));
        enter(matrix, {"video_id=7"});
        clickByHand(child<QAbstractButton>(window, "retard_btn"));
        const QByteArray before = readConfig();
        QLockFile held(ConfigFile::path() + QStringLiteral(".lock"));
        QVERIFY(held.tryLock(0));
        QElapsedTimer clock;
        clock.start();
        const QString warnings = warningsOf([this] { window->close(); });
        const qint64 closeMs = clock.elapsed();
        QVERIFY2(closeMs >= 2000 && closeMs < 4000, qPrintable(QString::number(closeMs)));
        QVERIFY2(QRegularExpression("^Settings not saved, [^|]* another process \\(\\d+\\) holds its lock$")
                     .match(warnings)
                     .hasMatch(),
                 qPrintable(warnings));
        QCOMPARE(readConfig(), before);
        held.unlock();
        QVERIFY(ConfigFile::save(*ConfigFile::open()));
        const IniText::Keys keys = IniText::read(readConfig());
        QCOMPARE(QStringList({keys.value(QStringLiteral("PortConfig/AutoOpen")).parts.value(0),
                              keys.value(QStringLiteral("MatrixConfig/VideoId")).parts.value(0),
                              keys.value(QStringLiteral("MainSetting/DelayOn")).parts.value(0)}),
                 QStringList({"1", "7", "1"}));
    }
};

VW_TEST_MAIN(TestSharedConfig)
#include "tst_sharedconfig.moc"
