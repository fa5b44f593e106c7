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
        // With the starting selection, screen 11 alone.
        const struct
        {
            bool remote;
            const char *button;
            const char *frame;
        } keys[] = {
            {false, "cycle_btn", "C61111EB21BB"}, {false, "manual_btn", "C61111EB20BB"},
            {false, "pic_rbtn", "C61111EB23BB"},  {false, "video_rbtn", "C61111EB22BB"},
            {false, "deg_rbtn0", "C61111EB24BB"}, {false, "deg_rbtn1", "C61111EB25BB"},
            {false, "deg_rbtn2", "C61111EB26BB"}, {false, "deg_rbtn3", "C61111EB27BB"},
            {false, "no1_btn", "C61111EB31BB"},   {false, "no2_btn", "C61111EB32BB"},
            {false, "no3_btn", "C61111EB33BB"},   {false, "no4_btn", "C61111EB34BB"},
            {false, "no5_btn", "C61111EB35BB"},   {false, "no6_btn", "C61111EB36BB"},
            {false, "no7_btn", "C61111EB37BB"},   {false, "no8_btn", "C61111EB38BB"},
            {false, "no9_btn", "C61111EB39BB"},   {false, "no10_btn", "C61111EB3ABB"},
            {false, "no11_btn", "C61111EB3BBB"},  {false, "no12_btn", "C61111EB3CBB"},
            {false, "no13_btn", "C61111EB3DBB"},  {false, "no14_btn", "C61111EB3EBB"},
            {false, "no15_btn", "C61111EB3FBB"},  {false, "no16_btn", "C61111EB40BB"},
            {false, "auto_btn", "C61111EB30BB"},  {false, "up_btn", "C61111EB01BB"},
            {false, "down_btn", "C61111EB02BB"},  {false, "left_btn", "C61111EB03BB"},
            {false, "right_btn", "C61111EB04BB"}, {false, "enter_btn", "C61111EB05BB"},
            {false, "exit_btn", "C61111EB06BB"},  {false, "play_btn", "C61111EB0ABB"},
            {false, "pause_btn", "C61111EB0BBB"}, {false, "pre_btn", "C61111EB0CBB"},
            {false, "next_btn", "C61111EB0DBB"},  {true, "off_btn", "C61111EB0EBB"},
            {true, "on_btn", "C600FF1001BB"},     {true, "adjust_btn", "C61111EB07BB"},
            {true, "mode_btn", "C61111EB09BB"},   {true, "up_btn", "C61111EB01BB"},
            {true, "menu_btn", "C61111EB08BB"},   {true, "left_btn", "C61111EB03BB"},
            {true, "enter_btn", "C61111EB05BB"},  {true, "right_btn", "C61111EB04BB"},
            {true, "down_btn", "C61111EB02BB"},   {true, "exit_btn", "C61111EB06BB"},
            {true, "play_btn", "C61111EB0ABB"},   {true, "pause_btn", "C61111EB0BBB"},
            {true, "pre_btn", "C61111EB0CBB"},    {true, "next_btn", "C61111EB0DBB"},
        };
        for (const auto &key : keys)
            QTest::addRow("%s %s", key.remote ? "remote" : "playback", key.button)
                << key.remote << key.button << QStringList{"11"} << QByteArray::fromHex(key.frame);
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
