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

    void buttonsSendTheirFrames_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("selection");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<QString>("refusal");
        const QStringList none{"", "", ""};
        QTest::newRow("get seq ignores the selection")
            << "getnum_btn" << QStringList{} << QStringList{"5", "1", "1"} << QByteArray::fromHex("C6FF220000BB") << "";
        QTest::newRow("lock addr over column 1 row 1 to column 2 row 3")
            << "lock_btn" << QStringList{"11", "21", "12", "23"} << none << QByteArray::fromHex("C611236701BB") << "";
        QTest::newRow("lock addr with nothing selected sends nothing")
            << "lock_btn" << QStringList{} << none << QByteArray() << "";
        QTest::newRow("set addr: sequence 9999, row 255, column 0")
            << "setadder_btn" << QStringList{} << QStringList{"9999", "255", "0"}
            << QByteArray::fromHex("C6FF23270FBB" "C6FF20FF01BB" "C6FF210001BB") << "";
        QTest::newRow("set addr: empty fields send zeros") << "setadder_btn" << QStringList{} << none
            << QByteArray::fromHex("C6FF230000BB" "C6FF200001BB" "C6FF210001BB") << "";
        const QString range = QStringLiteral("Row and column addresses must be from 0 to 255.");
        QTest::newRow("row 256 is refused") << "setadder_btn" << QStringList{} << QStringList{"1", "256", "1"}
                                            << QByteArray() << range;
        QTest::newRow("column 9999 is refused") << "setadder_btn" << QStringList{} << QStringList{"1", "3", "9999"}
                                                << QByteArray() << range;
    }
    void buttonsSendTheirFrames()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, fields);
        QFETCH(QByteArray, wire);
        QFETCH(QString, refusal);
        QFETCH(QStringList, selection);
        GlobalObject::targetAddressList = selection;
        AdderSetWindows window;
        child<QLineEdit>(&window, "num_le")->setText(fields[0]);
        child<QLineEdit>(&window, "x_le")->setText(fields[1]);
        child<QLineEdit>(&window, "y_le")->setText(fields[2]);
        MessageBoxCatcher catcher;
        window.findChild<QPushButton *>(button)->click();
        QTRY_COMPARE(bridge.log().bytes(), wire);
        QTest::qWait(50); // nothing more follows
        QCOMPARE(bridge.log().bytes(), wire);
        QCOMPARE(catcher.lastText(), refusal);
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

    void fieldsTakeUpToFourDigits()
    {
        AdderSetWindows window;
        QLineEdit *edit = child<QLineEdit>(&window, "x_le");
        edit->clear();
        QTest::keyClicks(edit, "12a345");
        QCOMPARE(edit->text(), QStringLiteral("1234"));
    }
};

VW_TEST_MAIN(TestAddressSet)
#include "tst_addressset.moc"
