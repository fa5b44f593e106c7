#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

#include "appinit.h"
#include "consoletest.h"
#include "messageboxcatcher.h"
#include "portsettingwindows.h"
#include "ptypair.h"
#include "tcpcaptureserver.h"
#include "testmain.h"
#include "ui_velmar_windows.h"
#include "velmar_windows.h"

using namespace ConsoleTest;

// Opening and closing the links from the main window, on socat pty pairs
// standing in for the serial adapters and a local TCP server for the
// wireless bridge; a link that dies under a command.
class TestMainLinks : public QObject
{
    Q_OBJECT

public:
    enum Port { MainPty, VideoPty, RgbPty, Missing, LowerCaseCom };
    Q_ENUM(Port)

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void serialRoad_data();
    void serialRoad();
    void serialPortFails_data();
    void serialPortFails();
    void wirelessRoad_data();
    void wirelessRoad();
    void wirelessBridgeUnreachable_data();
    void wirelessBridgeUnreachable();
    void labelInBothLanguages_data();
    void labelInBothLanguages();
    void settingsChangedWhileOpen();
    void linkDroppedDuringCommand_data();
    void linkDroppedDuringCommand();
    void cablesPulledTogetherGiveOneMessage();

private:
    bool startPtys();
    QString portName(Port port) const;
    PortConfig serialConfig(Port lcd, Port video, Port rgb, bool videoLink, bool rgbLink) const;
    void build(const PortConfig &config);
    void switchLanguage();
    QString linkState() const;
    QString linkButtons() const;
    static QString linkButtons(bool open);
    QString description() const;
    QStringList log() const { return logLines(ui->com_textedit); }

    std::unique_ptr<PtyPair> ptys[3];
    TcpCaptureServer server;
    std::unique_ptr<MessageBoxCatcher> catcher;
    Velmar_Windows *window = nullptr;
    Ui_Velmar_Windows *ui = nullptr;
};

#define REQUIRE_PTYS()                                             \
    do {                                                           \
        if (!PtyPair::socatAvailable())                            \
            QSKIP(qPrintable(PtyPair::missingSocatMessage()));     \
        QVERIFY(startPtys());                                      \
    } while (false)

void TestMainLinks::initTestCase()
{
    new AppInit(this);
    QVERIFY(server.listen());
}

void TestMainLinks::init()
{
    resetShared();
    for (auto &pty : ptys)
        pty = std::make_unique<PtyPair>();
    server.clearLog();
    server.closeAfterBytes(0);
    catcher = std::make_unique<MessageBoxCatcher>();
}

void TestMainLinks::cleanup()
{
    endTest(window);
    ui = nullptr;
    catcher.reset();
    for (auto &pty : ptys)
        pty.reset();
}

bool TestMainLinks::startPtys()
{
    for (auto &pty : ptys) {
        if (!startPty(*pty))
            return false;
    }
    return true;
}

QString TestMainLinks::portName(Port port) const
{
    switch (port) {
    case MainPty:
    case VideoPty:
    case RgbPty:
        return ptys[port]->devicePath();
    case Missing:
        return QDir::current().filePath(QStringLiteral("no-such-port"));
    case LowerCaseCom:
        return QStringLiteral("com5");
    }
    return QString();
}

PortConfig TestMainLinks::serialConfig(Port lcd, Port video, Port rgb, bool videoLink, bool rgbLink) const
{
    PortConfig config;
    config.lcdPort = portName(lcd);
    config.videoPort = portName(video);
    config.rgbPort = portName(rgb);
    config.videoLink = videoLink;
    config.rgbLink = rgbLink;
    return config;
}

void TestMainLinks::build(const PortConfig &config)
{
    writePortConfig(config);
    window = new Velmar_Windows;
    ui = window->ui;
    selectCells(ui->cent_tablewidget, 0, 0, 0, 0);
}

void TestMainLinks::switchLanguage()
{
    window->languageSwitch();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

// The four link flags and the three serial ports, as the words of those that
// are set or open, so that a mismatch shows them all.
QString TestMainLinks::linkState() const
{
    const struct
    {
        bool on;
        const char *word;
    } items[] = {{GlobalObject::linkOpen, "link"},
                 {GlobalObject::wirelessMode, "wireless"},
                 {GlobalObject::videoMatrixPortOpen, "videoFlag"},
                 {GlobalObject::rgbMatrixPortOpen, "rgbFlag"},
                 {lcdCommunication.serial->isOpen(), "mainPort"},
                 {videoMatrixCommunication.serial->isOpen(), "videoPort"},
                 {rgbMatrixCommunication.serial->isOpen(), "rgbPort"}};
    QStringList words;
    for (const auto &item : items) {
        if (item.on)
            words.append(QLatin1String(item.word));
    }
    return words.join(QLatin1Char(' '));
}

// Which of the buttons that follow the link are enabled, as text, so that a
// mismatch shows them all.
QString TestMainLinks::linkButtons() const
{
    QStringList enabled;
    for (QWidget *button : std::initializer_list<QWidget *>{ui->port_open_btn, ui->port_close_btn, ui->on_btn,
                                                           ui->off_btn, ui->beginplan_btn, ui->beginmatrix_btn,
                                                           ui->stopplan_btn, ui->stopmatrix_btn}) {
        if (button->isEnabled())
            enabled.append(button->objectName());
    }
    return enabled.join(QLatin1Char(' '));
}

QString TestMainLinks::linkButtons(bool open)
{
    // The tours' stop buttons are not the links' business.
    return open ? QStringLiteral("port_close_btn on_btn off_btn beginplan_btn beginmatrix_btn")
                : QStringLiteral("port_open_btn");
}

QString TestMainLinks::description() const
{
    return window->portSetWindow->getPortDescription();
}

void TestMainLinks::serialRoad_data()
{
    QTest::addColumn<Port>("video");
    QTest::addColumn<Port>("rgb");
    QTest::addColumn<bool>("videoLink");
    QTest::addColumn<bool>("rgbLink");
    QTest::addColumn<QString>("state"); // empty: the opening is refused

    QTest::newRow("main port alone") << VideoPty << RgbPty << false << false << "link mainPort";
    QTest::newRow("video matrix on its own port") << VideoPty << RgbPty << true << false
                                                  << "link videoFlag mainPort videoPort";
    QTest::newRow("RGB matrix on its own port") << VideoPty << RgbPty << false << true
                                                << "link rgbFlag mainPort rgbPort";
    QTest::newRow("both matrices on their own ports")
        << VideoPty << RgbPty << true << true << "link videoFlag rgbFlag mainPort videoPort rgbPort";
    QTest::newRow("video matrix shares the main port") << MainPty << RgbPty << true << false << "link mainPort";
    QTest::newRow("RGB matrix shares the main port") << VideoPty << MainPty << false << true << "link mainPort";
    QTest::newRow("video shares the main port, RGB on its own")
        << MainPty << RgbPty << true << true << "link rgbFlag mainPort rgbPort";
    QTest::newRow("unticked matrices may name one port") << VideoPty << VideoPty << false << false
                                                         << "link mainPort";
    QTest::newRow("both matrices on one port conflict") << VideoPty << VideoPty << true << true << QString();
    QTest::newRow("both matrices on the main port conflict") << MainPty << MainPty << true << true << QString();
}

void TestMainLinks::serialRoad()
{
    QFETCH(Port, video);
    QFETCH(Port, rgb);
    QFETCH(bool, videoLink);
    QFETCH(bool, rgbLink);
    QFETCH(QString, state);
    REQUIRE_PTYS();
    build(serialConfig(MainPty, video, rgb, videoLink, rgbLink));
    const QString closedLabel = description() + QStringLiteral("Closed");
    QCOMPARE(ui->show_comstatus->text(), closedLabel);

    window->openSerial();

    QCOMPARE(linkState(), state);
    if (state.isEmpty()) {
        QCOMPARE(catcher->count(), 1);
        QCOMPARE(catcher->lastTitle(), QStringLiteral("Warning"));
        QCOMPARE(catcher->lastText(), QStringLiteral("The video matrix port conflicts with the RGB matrix port!"));
        QCOMPARE(ui->show_comstatus->text(), closedLabel);
        QCOMPARE(portStatusText, QStringLiteral("Closed"));
        QCOMPARE(linkButtons(), linkButtons(false));
        return;
    }

    QCOMPARE(catcher->count(), 0);
    QCOMPARE(portStatusText, QStringLiteral("Opened"));
    QCOMPARE(ui->show_comstatus->text(), description() + QStringLiteral("Opened"));
    QCOMPARE(linkButtons(), linkButtons(true));

    ui->off_btn->click();
    QTRY_COMPARE(ptys[MainPty]->log().bytes(), wire({"C611111000BB"}));
    QCOMPARE(log(), QStringList{">C6,11,11,10,00,BB(OK)"});

    // A second open while open changes nothing.
    window->openSerial();
    QCOMPARE(catcher->count(), 0);
    QVERIFY(GlobalObject::linkOpen);

    window->closeSerial();
    QCOMPARE(linkState(), QString());
    QCOMPARE(ui->show_comstatus->text(), closedLabel);
    QCOMPARE(linkButtons(), linkButtons(false));
    // Closing twice must not turn the flags back on.
    window->closeSerial();
    QCOMPARE(linkState(), QString());
    QCOMPARE(ui->show_comstatus->text(), closedLabel);

    // Closed, the next command is logged without "(OK)" and goes nowhere.
    ui->software_btn->click();
    QCOMPARE(log().last(), QStringLiteral(">C6,11,11,5F,01,BB"));
    QTest::qWait(50);
    QCOMPARE(ptys[MainPty]->log().bytes().size(), 6);
}

void TestMainLinks::serialPortFails_data()
{
    QTest::addColumn<Port>("lcd");
    QTest::addColumn<Port>("video");
    QTest::addColumn<Port>("rgb");
    QTest::addColumn<QString>("named");

    QTest::newRow("main port missing") << Missing << VideoPty << RgbPty << "main";
    QTest::newRow("video port missing, RGB linked too") << MainPty << Missing << RgbPty << "video";
    QTest::newRow("RGB port missing, video on its own port") << MainPty << VideoPty << Missing << "rgb";
    QTest::newRow("video port typed in lower case") << MainPty << LowerCaseCom << RgbPty << "video";
}

void TestMainLinks::serialPortFails()
{
    QFETCH(Port, lcd);
    QFETCH(Port, video);
    QFETCH(Port, rgb);
    QFETCH(QString, named);
    REQUIRE_PTYS();
    const PortConfig config = serialConfig(lcd, video, rgb, true, true);
    build(config);
    const QString label = ui->show_comstatus->text();

    window->openSerial();

    const QString failing = named == QLatin1String("main") ? config.lcdPort
                            : named == QLatin1String("video") ? config.videoPort
                                                                : config.rgbPort;
    QCOMPARE(catcher->count(), 1);
    QCOMPARE(catcher->lastTitle(), QStringLiteral("Prompt"));
    QCOMPARE(catcher->lastText(),
             QStringLiteral("Please confirm whether %1 exists or has been occupied!").arg(failing.toUpper()));
    if (lcd == LowerCaseCom || video == LowerCaseCom)
        QVERIFY(catcher->lastText().contains(QStringLiteral("COM5")));
    QCOMPARE(linkState(), QString());
    QCOMPARE(portStatusText, QStringLiteral("Closed"));
    QCOMPARE(ui->show_comstatus->text(), label);
    QCOMPARE(linkButtons(), linkButtons(false));
}

void TestMainLinks::wirelessRoad_data()
{
    QTest::addColumn<bool>("matrixLinks");
    QTest::newRow("bridge reachable") << false;
    QTest::newRow("bridge reachable, matrix linkage ticked") << true;
}

void TestMainLinks::wirelessRoad()
{
    QFETCH(bool, matrixLinks);
    REQUIRE_PTYS();
    PortConfig config = serialConfig(MainPty, VideoPty, RgbPty, matrixLinks, matrixLinks);
    config.wireless = true;
    config.tcpPort = server.port();
    build(config);
    QCOMPARE(ui->show_comstatus->text(), QStringLiteral("WIRELESS Closed"));
    const int connections = server.connectionCount();

    window->openSerial();

    QCOMPARE(catcher->count(), 0);
    QCOMPARE(linkState(), QStringLiteral("link wireless"));
    QCOMPARE(portStatusText, QStringLiteral("Opened"));
    QCOMPARE(ui->show_comstatus->text(), QStringLiteral("WIRELESS Opened"));
    QCOMPARE(linkButtons(), linkButtons(true));
    QTRY_COMPARE(server.connectionCount(), connections + 1);

    ui->on_btn->click();
    QTRY_COMPARE(server.log().bytes(), wire({"C611111001BB"}));
    QCOMPARE(log(), QStringList{">C6,11,11,10,01,BB(OK)"});
    QCOMPARE(ptys[MainPty]->log().bytes(), QByteArray());

    window->closeSerial();
    QCOMPARE(linkState(), QString());
    QCOMPARE(ui->show_comstatus->text(), QStringLiteral("WIRELESS Closed"));
    QCOMPARE(linkButtons(), linkButtons(false));
    QTRY_VERIFY(!server.hasClient());
    // A deliberate close is not reported as a lost link.
    QTest::qWait(100);
    QCOMPARE(catcher->count(), 0);
}

void TestMainLinks::wirelessBridgeUnreachable_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("label");
    QTest::newRow("English") << false << "Prompt" << "Please confirm that the IP address or port is correct!"
                             << "WIRELESS Closed";
    QTest::newRow("Chinese") << true << "提示" << "请确认IP地址或端口是否正确！" << "WIRELESS 关闭";
}

void TestMainLinks::wirelessBridgeUnreachable()
{
    QFETCH(bool, chinese);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QString, label);
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 deadPort = probe.serverPort();
    probe.close();

    PortConfig config;
    config.wireless = true;
    config.tcpPort = deadPort;
    build(config);
    if (chinese)
        switchLanguage();

    window->openSerial();

    QCOMPARE(catcher->count(), 1);
    QCOMPARE(catcher->lastTitle(), title);
    QCOMPARE(catcher->lastText(), text);
    QCOMPARE(linkState(), QString());
    QCOMPARE(ui->show_comstatus->text(), label);
    QCOMPARE(linkButtons(), linkButtons(false));
}

void TestMainLinks::labelInBothLanguages_data()
{
    QTest::addColumn<bool>("wireless");
    QTest::addColumn<bool>("switchWhileOpen");
    QTest::newRow("serial, Chinese before opening") << false << false;
    QTest::newRow("serial, Chinese while open") << false << true;
    QTest::newRow("wireless, Chinese before opening") << true << false;
}

void TestMainLinks::labelInBothLanguages()
{
    QFETCH(bool, wireless);
    QFETCH(bool, switchWhileOpen);
    REQUIRE_PTYS();
    PortConfig config = serialConfig(MainPty, VideoPty, RgbPty, false, false);
    config.wireless = wireless;
    config.tcpPort = server.port();
    build(config);
    const QString where = description();

    if (!switchWhileOpen)
        switchLanguage();
    QCOMPARE(ui->show_comstatus->text(), switchWhileOpen ? where + "Closed" : where + QStringLiteral("关闭"));
    window->openSerial();
    QVERIFY(GlobalObject::linkOpen);
    if (switchWhileOpen) {
        QCOMPARE(ui->show_comstatus->text(), where + QStringLiteral("Opened"));
        switchLanguage();
    }
    QCOMPARE(portStatusText, QStringLiteral("开启"));
    QCOMPARE(ui->show_comstatus->text(), where + QStringLiteral("开启"));

    window->closeSerial();
    QCOMPARE(portStatusText, QStringLiteral("关闭"));
    QCOMPARE(ui->show_comstatus->text(), where + QStringLiteral("关闭"));

    // And back: the stored word follows the language.
    switchLanguage();
    QCOMPARE(ui->show_comstatus->text(), where + QStringLiteral("Closed"));
    QCOMPARE(catcher->count(), 0);
}

void TestMainLinks::settingsChangedWhileOpen()
{
    REQUIRE_PTYS();
    const PortConfig config = serialConfig(MainPty, VideoPty, RgbPty, false, false);
    build(config);
    window->openSerial();
    QVERIFY(GlobalObject::linkOpen);
    const QString openLabel = ui->show_comstatus->text();

    // The operator picks another main port and confirms the port window.
    auto *lcdBox = window->portSetWindow->findChild<QComboBox *>(QStringLiteral("lcd_port_cb"));
    QVERIFY(lcdBox);
    lcdBox->setCurrentIndex(lcdBox->findText(config.videoPort));
    emit window->portSetWindow->comSelectChange();
    QCOMPARE(ui->show_comstatus->text(), openLabel);

    window->closeSerial();
    QCOMPARE(ui->show_comstatus->text(), config.videoPort + QStringLiteral(" Closed"));
    emit window->portSetWindow->comSelectChange();
    QCOMPARE(ui->show_comstatus->text(), config.videoPort + QStringLiteral(" Closed"));
}

void TestMainLinks::linkDroppedDuringCommand_data()
{
    QTest::addColumn<bool>("wireless");
    QTest::newRow("serial cable pulled after the first frame") << false;
    QTest::newRow("bridge drops the connection after the first frame") << true;
}

void TestMainLinks::linkDroppedDuringCommand()
{
    QFETCH(bool, wireless);
    REQUIRE_PTYS();
    PtyPair &pty = *ptys[MainPty];
    PortConfig config = serialConfig(MainPty, VideoPty, RgbPty, false, false);
    config.wireless = wireless;
    config.tcpPort = server.port();
    build(config);
    window->getJoinSettingWindowsData({{"joinrow", "3"}, {"joincolumn", "3"}});
    selectCells(ui->cent_tablewidget, 0, 0, 2, 2);
    QCOMPARE(GlobalObject::targetAddressList.size(), 9);
    window->openSerial();
    QVERIFY(GlobalObject::linkOpen);
    const QString where = wireless ? QStringLiteral("127.0.0.1:%1").arg(server.port()) : config.lcdPort;

    int linesAtFailure = -1;
    connect(&lcdCommunication, &Communication::linkFailed, window, [&] { linesAtFailure = log().size(); });
    if (wireless)
        server.closeAfterBytes(6);
    else
        pty.stopAfterBytes(6);
    // Nine frames, one per screen, 50 ms apart: the link dies under them.
    ui->run_btn->click();

    const CaptureLog &farEnd = wireless ? server.log() : pty.log();
    QVERIFY(farEnd.bytes().startsWith(wire({"C611112000BB"})));
    QCOMPARE(catcher->count(), 1);
    QCOMPARE(catcher->lastTitle(), QStringLiteral("Prompt"));
    QVERIFY2(catcher->lastText().contains(where), qPrintable(catcher->lastText()));
    const QStringList lines = log();
    QCOMPARE(lines.size(), linesAtFailure);
    QVERIFY2(linesAtFailure >= 1 && linesAtFailure < 9, qPrintable(QString::number(linesAtFailure)));
    QVERIFY(lines.first().endsWith(QStringLiteral("(OK)")));
    for (int i = linesAtFailure; i < lines.size(); ++i)
        QVERIFY2(!lines.at(i).endsWith(QStringLiteral("(OK)")), qPrintable(lines.at(i)));
    QCOMPARE(linkState(), QString());
    QCOMPARE(ui->show_comstatus->text(), description() + QStringLiteral("Closed"));
    QCOMPARE(linkButtons(), linkButtons(false));

    // The cable is back (the bridge answers again): the operator reopens.
    if (wireless) {
        server.closeAfterBytes(0);
    } else {
        QVERIFY(startPty(pty));
    }
    server.clearLog();
    pty.clearLog();
    ui->com_textedit->clear();
    window->openSerial();
    QCOMPARE(catcher->count(), 1);
    QCOMPARE(linkState(), wireless ? QStringLiteral("link wireless") : QStringLiteral("link mainPort"));
    QCOMPARE(ui->show_comstatus->text(), description() + QStringLiteral("Opened"));
    ui->off_btn->click();
    QTRY_COMPARE((wireless ? server.log() : pty.log()).bytes(), wire({"C611331000BB"}));
    QCOMPARE(log(), QStringList{">C6,11,33,10,00,BB(OK)"});
}

void TestMainLinks::cablesPulledTogetherGiveOneMessage()
{
    REQUIRE_PTYS();
    build(serialConfig(MainPty, VideoPty, RgbPty, true, false));
    window->openSerial();
    QCOMPARE(linkState(), QStringLiteral("link videoFlag mainPort videoPort"));

    ptys[VideoPty]->stop();
    ptys[MainPty]->stop();

    QTRY_COMPARE_WITH_TIMEOUT(catcher->count(), 1, 5000);
    QTest::qWait(300);
    QCOMPARE(catcher->count(), 1);
    QCOMPARE(catcher->lastTitle(), QStringLiteral("Prompt"));
    QCOMPARE(linkState(), QString());
    QCOMPARE(ui->show_comstatus->text(), description() + QStringLiteral("Closed"));
    QCOMPARE(linkButtons(), linkButtons(false));
}

VW_TEST_MAIN(TestMainLinks)
#include "tst_mainlinks.moc"
