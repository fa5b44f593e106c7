#include <QAbstractButton>
#include <QSignalSpy>

#include "playbacktest.h"
#include "playsetwindows.h"
#include "remotecontrolwindows.h"
#include "testmain.h"

using namespace PlaybackTest;

// Every command button of the playback and remote windows, on the wire.
class TestPlaybackKeys : public QObject
{
    Q_OBJECT

    TcpCaptureServer bridge;

private slots:
    void initTestCase() { QVERIFY(openBridge(bridge)); }
    void cleanupTestCase() { closeBridge(); }

    void buttonSendsItsFrame_data()
    {
        QTest::addColumn<bool>("remote");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("selection");
        QTest::addColumn<QByteArray>("wire");
        const QStringList one{"11"};
        const struct
        {
            const char *button;
            const char *frame;
        } playKeys[] = {{"cycle_btn", "C61111EB21BB"}, {"manual_btn", "C61111EB20BB"}, {"pic_rbtn", "C61111EB23BB"},  {"video_rbtn", "C61111EB22BB"},
                        {"deg_rbtn0", "C61111EB24BB"}, {"deg_rbtn1", "C61111EB25BB"},  {"deg_rbtn2", "C61111EB26BB"}, {"deg_rbtn3", "C61111EB27BB"},
                        {"no1_btn", "C61111EB31BB"},   {"no2_btn", "C61111EB32BB"},    {"no3_btn", "C61111EB33BB"},   {"no4_btn", "C61111EB34BB"},
                        {"no5_btn", "C61111EB35BB"},   {"no6_btn", "C61111EB36BB"},    {"no7_btn", "C61111EB37BB"},   {"no8_btn", "C61111EB38BB"},
                        {"no9_btn", "C61111EB39BB"},   {"no10_btn", "C61111EB3ABB"},   {"no11_btn", "C61111EB3BBB"},  {"no12_btn", "C61111EB3CBB"},
                        {"no13_btn", "C61111EB3DBB"},  {"no14_btn", "C61111EB3EBB"},   {"no15_btn", "C61111EB3FBB"},  {"no16_btn", "C61111EB40BB"},
                        {"auto_btn", "C61111EB30BB"},  {"up_btn", "C61111EB01BB"},     {"down_btn", "C61111EB02BB"},  {"left_btn", "C61111EB03BB"},
                        {"right_btn", "C61111EB04BB"}, {"enter_btn", "C61111EB05BB"},  {"exit_btn", "C61111EB06BB"},  {"play_btn", "C61111EB0ABB"},
                        {"pause_btn", "C61111EB0BBB"}, {"pre_btn", "C61111EB0CBB"},    {"next_btn", "C61111EB0DBB"}};
        for (const auto &key : playKeys)
            QTest::addRow("playback %s", key.button)
                << false << key.button << one << QByteArray::fromHex(key.frame);
        const struct
        {
            const char *button;
            const char *frame;
        } remoteKeys[] = {{"off_btn", "C61111EB0EBB"},   {"on_btn", "C600FF1001BB"},    {"adjust_btn", "C61111EB07BB"},
                          {"mode_btn", "C61111EB09BB"},  {"up_btn", "C61111EB01BB"},    {"menu_btn", "C61111EB08BB"},
                          {"left_btn", "C61111EB03BB"},  {"enter_btn", "C61111EB05BB"}, {"right_btn", "C61111EB04BB"},
                          {"down_btn", "C61111EB02BB"},  {"exit_btn", "C61111EB06BB"},  {"play_btn", "C61111EB0ABB"},
                          {"pause_btn", "C61111EB0BBB"}, {"pre_btn", "C61111EB0CBB"},   {"next_btn", "C61111EB0DBB"}};
        for (const auto &key : remoteKeys)
            QTest::addRow("remote %s", key.button) << true << key.button << one << QByteArray::fromHex(key.frame);

        QTest::newRow("playback UP over a range of screens")
            << false << "up_btn" << QStringList{"11", "21", "22"} << QByteArray::fromHex("C61122EB01BB");
        QTest::newRow("remote NEXT: first and last of three")
            << true << "next_btn" << QStringList{"11", "21", "12"} << QByteArray::fromHex("C61112EB0DBB");
        QTest::newRow("playback key with nothing selected sends nothing")
            << false << "no3_btn" << QStringList{} << QByteArray();
        QTest::newRow("remote OFF with nothing selected sends nothing")
            << true << "off_btn" << QStringList{} << QByteArray();
        QTest::newRow("remote ON with nothing selected still powers the wall")
            << true << "on_btn" << QStringList{} << QByteArray::fromHex("C600FF1001BB");
    }

    void buttonSendsItsFrame()
    {
        QFETCH(bool, remote);
        QFETCH(QString, button);
        QFETCH(QStringList, selection);
        QFETCH(QByteArray, wire);
        GlobalObject::targetAddressList = selection;
        bridge.clearLog();
        PlaySetWindows playWindow;
        RemoteControlWindows remoteWindow;
        QWidget *window = remote ? static_cast<QWidget *>(&remoteWindow) : &playWindow;
        QSignalSpy echoed(&lcdCommunication, &Communication::sendComData);

        child<QAbstractButton>(window, button.toLatin1())->click();

        QTRY_COMPARE_WITH_TIMEOUT(bridge.log().bytes(), wire, 5000);
        QCOMPARE(echoed.count(), wire.size() / 6);
        QTest::qWait(60); // nothing more follows
        QCOMPARE(bridge.log().bytes(), wire);
    }
};

VW_TEST_MAIN(TestPlaybackKeys)
#include "tst_playbackkeys.moc"
