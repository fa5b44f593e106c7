#include "appinit.h"
#include "ui_velmar_windows.h"
#include "velmar_windows.h"
#include "windowtest.h"

using namespace WindowTest;

// One sender of each kind of the command dispatcher, checked at the far end
// of a socat pty pair and in the log pane. Screens 11 and 21 are selected
// (one row of the 2 x 2 wall), so a range frame runs from 11 to 21.
class TestMainDispatch : public QObject
{
    Q_OBJECT

    PtyPair pty;
    Velmar_Windows *window = nullptr;
    Ui_Velmar_Windows *ui = nullptr;

    QStringList log() const { return logLines(ui->com_textedit); }
    void fire(const QString &name, const QStringList &ticked)
    {
        for (const QString &box : ticked)
            window->findChild<QAbstractButton *>(box)->setChecked(true);
        if (name == QLatin1String("Multi screen"))
            window->multiScreenAction->trigger();
        else if (name == QLatin1String("Still"))
            window->stillAction->trigger();
        else
            window->findChild<QAbstractButton *>(name)->click();
    }
    void addRow(const char *row, const char *sender, const QStringList &ticked, const QStringList &lines)
    {
        QTest::newRow(row) << sender << ticked << lines;
    }

private slots:
    void initTestCase()
    {
        new AppInit(this);
        VW_REQUIRE_SOCAT();
        QVERIFY(startPty(pty));
    }
    void init()
    {
        resetShared();
        PortConfig config;
        config.lcdPort = pty.devicePath();
        writePortConfig(config);
        window = new Velmar_Windows;
        ui = window->ui;
        window->openSerial();
        QVERIFY(GlobalObject::linkOpen);
        selectCells(ui->cent_tablewidget, 0, 0, 0, 1);
        pty.clearLog();
        new MessageBoxCatcher(window); // an unexpected message must not block
    }
    void cleanup() { endTest(window); }

    // Expected log lines written out; the wire carries the same frames.
    void senders_data()
    {
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QStringList>("lines");
        addRow("power off, a range frame", "off_btn", {}, {">C6,11,21,10,00,BB(OK)"});
        addRow("power on, 4K to the fixed pair 00-FF", "on_btn", {"_4k_btn"}, {">C6,00,FF,10,01,BB(OK)"});
        addRow("fan close, a chosen radio", "fan_apply", {"fan_close"}, {">C6,11,21,56,02,BB(OK)"});
        addRow("bit depth, nothing chosen", "ad_apply", {}, {});
        addRow("get sequence, an address frame", "getnum_btn1", {}, {">C6,FF,22,00,00,BB(OK)"});
        addRow("menu: still", "Still", {}, {">C6,11,21,51,01,BB(OK)"});
        addRow("menu: multi screen, literal 02", "Multi screen", {}, {">C6,11,21,FC,02,BB(OK)"});
        addRow("single signal, per screen", "run_btn", {}, {">C6,11,11,20,00,BB(OK)", ">C6,21,21,20,00,BB(OK)"});
    }
    void senders()
    {
        QFETCH(QString, sender);
        QFETCH(QStringList, ticked);
        QFETCH(QStringList, lines);
        fire(sender, ticked);
        QCOMPARE(log(), lines);
        const QString hex = lines.join(QString()).remove(QRegularExpression("[>,]|\\(OK\\)"));
        QTRY_COMPARE(pty.log().bytes(), QByteArray::fromHex(hex.toLatin1()));
        QTest::qWait(50);
        QCOMPARE(pty.log().bytes(), QByteArray::fromHex(hex.toLatin1()));
    }

    void fanManualSendsThreePacedFrames()
    {
        ui->fan_manual->setChecked(true);
        ui->fan_sp1->setValue(10);
        ui->fan_sp2->setValue(255);
        ui->fan_apply->click();
        QTRY_COMPARE(pty.log().bytes(), wire({"C611215603BB", "C61121560ABB", "C6112156FFBB"}));
        QVERIFY(arrivalMs(pty.log(), 17) - arrivalMs(pty.log(), 11) >= 40);
    }

    void delayedPowerOn()
    {
        ui->retard_btn->setChecked(true);
        ui->set_sec->setValue(1);
        QElapsedTimer took;
        took.start();
        ui->on_btn->click();
        // The slot returns only after the wait behind the last frame.
        QVERIFY2(took.elapsed() >= 1800 && took.elapsed() < 4000, qPrintable(QString::number(took.elapsed())));
        QTRY_COMPARE(pty.log().bytes(), wire({"C611111001BB", "C621211001BB"}));
        const qint64 gap = arrivalMs(pty.log(), 6) - arrivalMs(pty.log(), 0);
        QVERIFY2(gap >= 900 && gap < 3000, qPrintable(QString::number(gap)));
    }

    void setAddressThroughTheAddressBuilder()
    {
        ui->x_le1->setText("5");
        ui->num_le1->setText("300");
        ui->setadder_btn1->click();
        QTRY_COMPARE(pty.log().bytes(), wire({"C6FF23012CBB", "C6FF200501BB", "C6FF210001BB"}));
    }

    void emptySelectionSendsNoRange_data()
    {
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QStringList>("ticked");
        QTest::newRow("power off") << "off_btn" << QStringList();
        QTest::newRow("delayed power on, without its wait") << "on_btn" << QStringList{"retard_btn"};
        QTest::newRow("fan manual") << "fan_apply" << QStringList{"fan_manual"};
        QTest::newRow("lock address") << "lock_btn1" << QStringList();
        QTest::newRow("single signal, per screen") << "run_btn" << QStringList();
        QTest::newRow("menu: multi screen") << "Multi screen" << QStringList();
    }
    void emptySelectionSendsNoRange()
    {
        QFETCH(QString, sender);
        QFETCH(QStringList, ticked);
        ui->cent_tablewidget->clearSelection();
        QElapsedTimer took;
        took.start();
        fire(sender, ticked);
        QVERIFY2(took.elapsed() < 500, qPrintable(QString::number(took.elapsed())));
        QTest::qWait(50);
        QCOMPARE(pty.log().bytes(), QByteArray());
        QCOMPARE(log(), QStringList());
    }

    void logKeepsTenThousandLines()
    {
        for (int i = 0; i < 10005; ++i)
            window->updateTextEditContent(QStringLiteral("C6%1BB").arg(i, 4, 16, QLatin1Char('0')).toUpper(), true, false);
        QCOMPARE(ui->com_textedit->document()->blockCount(), 10000);
        QCOMPARE(log().first(), QStringLiteral(">C6,00,05,BB(OK)"));
        QCOMPARE(log().last(), QStringLiteral(">C6,27,14,BB(OK)"));
        window->updateTextEditContent(QStringLiteral("3V1."), true, true);
        window->updateTextEditContent(QStringLiteral("3V1."), false, true);
        window->updateTextEditContent(QStringLiteral("C611"), false, false);
        QCOMPARE(log().mid(9997), QStringList({"3V1. (OK)", "3V1. ", ">C6,11"}));
    }
};

VW_TEST_MAIN(TestMainDispatch)
#include "tst_maindispatch.moc"
