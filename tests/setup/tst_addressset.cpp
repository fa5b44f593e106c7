#include "addersetwindows.h"
#include "addresscommands.h"
#include "windowtest.h"

using namespace WindowTest;

// Every button of the address window on a real TCP link to a local stand-in
// for the wireless bridge: the bytes that reach the wall are what is checked.
class TestAddressSet : public QObject
{
    Q_OBJECT

    TcpCaptureServer bridge;

private slots:
    void initTestCase() { QVERIFY(bridge.openMainLink()); }
    void cleanupTestCase() { closeAllLinks(); }
    void init() { bridge.clearLog(); }

    void buttonsSendTheirFrames_data() { goldenRows(QStringLiteral("addressset.tsv")); }
    void buttonsSendTheirFrames()
    {
        GlobalObject::targetAddressList = goldenList(golden("selection"));
        AdderSetWindows window;
        enter(&window, golden("fields").split('|'));
        MessageBoxCatcher catcher;
        child<QPushButton>(&window, golden("button"))->click();
        const QByteArray bytes = QByteArray::fromHex(golden("wire").toLatin1());
        QTRY_COMPARE(bridge.log().bytes(), bytes);
        QTest::qWait(50); // nothing more follows
        QCOMPARE(bridge.log().bytes(), bytes);
        QTEST(catcher.lastText(), "refusal");
    }

    void builderRefusesWhatTheFrameCannotCarry()
    {
        using namespace AddressCommands;
        QVERIFY(build(Action::SetAddress, "10000", "1", "1").frames.isEmpty());
        QVERIFY(!build(Action::SetAddress, "1", "-1", "1").error.isEmpty());
        QCOMPARE(build(Action::SetAddress, "9999", "255", "255").frames.size(), 3);
        GlobalObject::targetAddressList.clear(); // lock needs a first and a last screen
        QVERIFY(build(Action::Lock, "", "", "").frames.isEmpty());
    }
};

VW_TEST_MAIN(TestAddressSet)
#include "tst_addressset.moc"
