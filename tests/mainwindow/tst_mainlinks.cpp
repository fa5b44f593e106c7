#include <memory>

#include "consoletest.h"
#include "portsettingwindows.h"

using namespace WindowTest;

// Opening and closing the links from the main window, on socat pty pairs
// standing in for the serial adapters and a local TCP server for the
// wireless bridge; a link that dies under a command.
class TestMainLinks : public ConsoleTest
{
    Q_OBJECT

    enum Port { MainPty, VideoPty, RgbPty, Missing, LowerCaseCom };
    std::unique_ptr<PtyPair> ptys[3];
    std::unique_ptr<MessageBoxCatcher> catcher;

    QString portName(Port port) const
    {
        return port == Missing ? QDir::current().filePath("no-such-port")
               : port == LowerCaseCom ? QStringLiteral("com5") : ptys[port]->devicePath();
    }
    void start(Port lcd, Port video, Port rgb, bool videoLink, bool rgbLink, bool wireless = false)
    {
        writePortConfig({portName(lcd), portName(video), portName(rgb)}, videoLink, rgbLink, wireless ? bridge.port() : 0);
        build();
        selectCells(ui->cent_tablewidget, 0, 0, 0, 0);
    }
    // The link flags, the open serial ports and the enabled link buttons as
    // words, so that a mismatch shows them all.
    QString state() const
    {
        QStringList words;
        const std::pair<bool, const char *> items[] = {
            {GlobalObject::linkOpen, "link"}, {GlobalObject::wirelessMode, "wireless"},
            {GlobalObject::videoMatrixPortOpen, "videoFlag"}, {GlobalObject::rgbMatrixPortOpen, "rgbFlag"},
            {lcdCommunication.serial->isOpen(), "mainPort"}, {videoMatrixCommunication.serial->isOpen(), "videoPort"},
            {rgbMatrixCommunication.serial->isOpen(), "rgbPort"}, {ui->port_open_btn->isEnabled(), "openButton"},
            {ui->off_btn->isEnabled() && ui->beginplan_btn->isEnabled() && ui->port_close_btn->isEnabled(), "buttons"}};
        for (const auto &item : items)
            if (item.first)
                words.append(QLatin1String(item.second));
        return words.join(' ');
    }
    QString label(const char *word) const { return window->portSetWindow->getPortDescription() + word; }

private slots:
    void init()
    {
        VW_REQUIRE_SOCAT();
        for (auto &pty : ptys) {
            pty = std::make_unique<PtyPair>();
            QVERIFY(pty->startListening());
        }
        bridge.clearLog();
        bridge.closeAfterBytes(0);
        catcher = std::make_unique<MessageBoxCatcher>();
    }
    void cleanup()
    {
        ConsoleTest::cleanup();
        catcher.reset();
        for (auto &pty : ptys)
            pty.reset();
    }

    void serialRoad_data() { goldenRows(QStringLiteral("serialroad.tsv")); }
    void serialRoad()
    {
        QFETCH(QString, lcd);
        QFETCH(QString, video);
        QFETCH(QString, rgb);
        QFETCH(QString, refusal);
        const QStringList names{"MainPty", "VideoPty", "RgbPty", "Missing", "LowerCaseCom"}; // as Port counts
        start(Port(names.indexOf(lcd)), Port(names.indexOf(video)), Port(names.indexOf(rgb)), true, true);
        QCOMPARE(ui->show_comstatus->text(), label("Closed"));
        window->openSerial();
        QTEST(state(), "state");
        const QString failing = lcd == "Missing" ? lcd : rgb == "Missing" ? rgb : video;
        QCOMPARE(catcher->lastText(), refusal.arg(portName(Port(names.indexOf(failing))).toUpper()));
        if (!refusal.isEmpty())
            return;
        QCOMPARE(ui->show_comstatus->text(), label("Opened"));
        ui->off_btn->click();
        QTRY_COMPARE(ptys[MainPty]->log().bytes(), wire({"C611111000BB"}));
        QCOMPARE(log(), QStringList{">C6,11,11,10,00,BB(OK)"});
        window->closeSerial();
        window->closeSerial(); // twice must not turn the flags back on
        QCOMPARE(state() + ' ' + ui->show_comstatus->text(), "openButton " + label("Closed"));
        // Closed, the next command is logged without "(OK)" and goes nowhere.
        ui->software_btn->click();
        QCOMPARE(log().last(), QStringLiteral(">C6,11,11,5F,01,BB"));
        QTest::qWait(50);
        QVERIFY(ptys[MainPty]->log().bytes().size() == 6 && catcher->count() == 0);
    }

    void wirelessRoad()
    {
        start(MainPty, VideoPty, RgbPty, true, true, true);
        window->openSerial();
        QCOMPARE(state(), QStringLiteral("link wireless buttons"));
        QCOMPARE(ui->show_comstatus->text(), QStringLiteral("WIRELESS Opened"));
        // A Standby pressed during a delayed Boot ends the Boot, which switches
        // no further screen on.
        selectCells(ui->cent_tablewidget, 0, 0, 0, 1);
        enter(window, {"retard_btn=1", "set_sec=1"});
        QTimer::singleShot(300, ui->off_btn, &QAbstractButton::click);
        ui->on_btn->click();
        QTRY_COMPARE(bridge.log().bytes(), wire({"C611111001BB", "C611211000BB"}));
        QCOMPARE(log(), (QStringList{">C6,11,11,10,01,BB(OK)", ">C6,11,21,10,00,BB(OK)"}));
        window->closeSerial();
        QCOMPARE(state(), QStringLiteral("openButton"));
        QTRY_VERIFY(!bridge.hasClient());
        QTest::qWait(100); // a deliberate close is no lost link
        QCOMPARE(catcher->count(), 0);
        QCOMPARE(ptys[MainPty]->log().bytes(), QByteArray());
    }

    void labelFollowsTheLanguageAndTheSettings()
    {
        start(MainPty, VideoPty, RgbPty, false, false);
        window->openSerial();
        window->languageSwitch();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(ui->show_comstatus->text(), label("开启"));
        auto *lcdBox = child<QComboBox>(window->portSetWindow, "lcd_port_cb");
        const auto confirm = [&](Port pty) {
            lcdBox->setCurrentIndex(lcdBox->findText(portName(pty)));
            emit window->portSetWindow->comSelectChange();
        };
        // Another main port confirmed while open: the label shows what is open.
        confirm(VideoPty);
        QCOMPARE(ui->show_comstatus->text(), portName(MainPty) + QStringLiteral(" 开启"));
        window->closeSerial();
        QCOMPARE(ui->show_comstatus->text(), portName(VideoPty) + QStringLiteral(" 关闭"));
        // While closed, the label follows the confirmed port at once.
        confirm(MainPty);
        QCOMPARE(ui->show_comstatus->text(), portName(MainPty) + QStringLiteral(" 关闭"));
    }

    // The link's own tests drop both kinds of link; here one serial row.
    void linkDroppedDuringCommand()
    {
        PtyPair &pty = *ptys[MainPty];
        start(MainPty, VideoPty, RgbPty, false, false);
        window->getJoinSettingWindowsData({{"joinrow", "3"}, {"joincolumn", "3"}});
        selectCells(ui->cent_tablewidget, 0, 0, 2, 2);
        window->openSerial();
        pty.stopAfterBytes(6);
        ui->run_btn->click(); // nine frames, one per screen, 50 ms apart

        QCOMPARE(catcher->count(), 1);
        QVERIFY(catcher->lastText().contains(portName(MainPty)));
        QCOMPARE(state() + ' ' + ui->show_comstatus->text(), "openButton " + label("Closed"));

        // The cable is back: the operator reopens.
        QVERIFY(pty.startListening());
        pty.clearLog();
        ui->com_textedit->clear();
        window->openSerial();
        ui->off_btn->click();
        QTRY_COMPARE(pty.log().bytes(), wire({"C611331000BB"}));
        QCOMPARE(log(), QStringList{">C6,11,33,10,00,BB(OK)"});
        QCOMPARE(catcher->count(), 1);
    }

    void cablesPulledTogetherGiveOneMessage()
    {
        start(MainPty, VideoPty, RgbPty, true, false);
        window->openSerial();
        QCOMPARE(state(), QStringLiteral("link videoFlag mainPort videoPort buttons"));
        ptys[VideoPty]->stop();
        ptys[MainPty]->stop();
        QTRY_COMPARE(catcher->count(), 1);
        QTest::qWait(300);
        QCOMPARE(QString::number(catcher->count()) + ' ' + state(), QStringLiteral("1 openButton"));
    }
};

VW_TEST_MAIN(TestMainLinks)
#include "tst_mainlinks.moc"
