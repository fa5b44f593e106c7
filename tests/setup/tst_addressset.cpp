#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include "addersetwindows.h"
#include "addresscommands.h"
#include "communication.h"
#include "globalobject.h"
#include "messageboxcatcher.h"
#include "setuptest.h"
#include "tcpcaptureserver.h"
#include "testmain.h"

using namespace SetupTest;

// Every button on a real TCP link to a local stand-in for the wireless
// bridge, so the bytes that reach the wall are what is checked.
class TestAddressSet : public QObject
{
    Q_OBJECT

private:
    TcpCaptureServer bridge;

    void fill(AdderSetWindows *window, const QString &seq, const QString &row, const QString &column)
    {
        child<QLineEdit>(window, "num_le")->setText(seq);
        child<QLineEdit>(window, "x_le")->setText(row);
        child<QLineEdit>(window, "y_le")->setText(column);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(bridge.listen());
        QVERIFY(lcdCommunication.connectTcp(bridge.host(), bridge.port()));
        GlobalObject::wirelessMode = true;
        GlobalObject::linkOpen = true;
    }

    void cleanupTestCase()
    {
        GlobalObject::linkOpen = false;
        GlobalObject::wirelessMode = false;
        lcdCommunication.closeTcp();
    }

    void init() { bridge.clearLog(); }

    void buttonsSendTheirFrames_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("selection");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("get seq ignores the selection")
            << "getnum_btn" << QStringList{"11", "22"} << QStringList{"5", "1", "1"}
            << QByteArray::fromHex("C6FF220000BB");
        QTest::newRow("look addr ignores the selection")
            << "lookadd_btn" << QStringList{"11"} << QStringList{"", "", ""}
            << QByteArray::fromHex("C6FF240101BB");
        QTest::newRow("lock addr over column 1 row 1 to column 2 row 3")
            << "lock_btn" << QStringList{"11", "21", "12", "22", "13", "23"}
            << QStringList{"", "", ""} << QByteArray::fromHex("C611236701BB");
        QTest::newRow("unlock addr of one screen")
            << "unlock_btn" << QStringList{"32"} << QStringList{"", "", ""}
            << QByteArray::fromHex("C632326700BB");
        QTest::newRow("set addr: sequence 300, row 10, column 2")
            << "setadder_btn" << QStringList{"11"} << QStringList{"300", "10", "2"}
            << QByteArray::fromHex("C6FF23012CBB" "C6FF200A01BB" "C6FF210201BB");
        QTest::newRow("set addr: sequence 9999, row 255, column 0")
            << "setadder_btn" << QStringList{"11"} << QStringList{"9999", "255", "0"}
            << QByteArray::fromHex("C6FF23270FBB" "C6FF20FF01BB" "C6FF210001BB");
        QTest::newRow("set addr: empty fields send zeros")
            << "setadder_btn" << QStringList{} << QStringList{"", "", ""}
            << QByteArray::fromHex("C6FF230000BB" "C6FF200001BB" "C6FF210001BB");
        QTest::newRow("lock addr with nothing selected sends nothing")
            << "lock_btn" << QStringList{} << QStringList{"", "", ""} << QByteArray();
    }

    void buttonsSendTheirFrames()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, selection);
        QFETCH(QStringList, fields);
        QFETCH(QByteArray, wire);
        GlobalObject::targetAddressList = selection;
        AdderSetWindows window;
        fill(&window, fields[0], fields[1], fields[2]);
        QSignalSpy echoed(&lcdCommunication, &Communication::sendComData);

        window.findChild<QPushButton *>(button)->click();

        QTRY_COMPARE_WITH_TIMEOUT(bridge.log().bytes(), wire, 5000);
        QCOMPARE(echoed.count(), wire.size() / 6);
        QTest::qWait(100); // nothing more follows
        QCOMPARE(bridge.log().bytes(), wire);
    }

    void rowOrColumnAbove255IsRefused_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("row 256") << QStringList{"1", "256", "1"};
        QTest::newRow("column 9999") << QStringList{"1", "3", "9999"};
        QTest::newRow("both above") << QStringList{"", "300", "4000"};
    }

    void rowOrColumnAbove255IsRefused()
    {
        QFETCH(QStringList, fields);
        AdderSetWindows window;
        fill(&window, fields[0], fields[1], fields[2]);
        QSignalSpy echoed(&lcdCommunication, &Communication::sendComData);
        MessageBoxCatcher catcher;

        child<QPushButton>(&window, "setadder_btn")->click();

        QCOMPARE(catcher.count(), 1);
        QCOMPARE(catcher.lastTitle(), QStringLiteral("Prompt"));
        QVERIFY(catcher.lastText().contains(QStringLiteral("255")));
        QCOMPARE(echoed.count(), 0);
        QTest::qWait(100);
        QCOMPARE(bridge.log().bytes(), QByteArray());
    }

    void sharedBuilderRefusesWhatTheFrameCannotCarry_data()
    {
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("column");
        QTest::addColumn<bool>("refused");
        QTest::newRow("highest row and column") << "9999" << "255" << "255" << false;
        QTest::newRow("sequence of five digits") << "10000" << "1" << "1" << true;
        QTest::newRow("negative row") << "1" << "-1" << "1" << true;
    }

    void sharedBuilderRefusesWhatTheFrameCannotCarry()
    {
        QFETCH(QString, sequence);
        QFETCH(QString, row);
        QFETCH(QString, column);
        QFETCH(bool, refused);
        const AddressCommands::Plan plan =
            AddressCommands::build(AddressCommands::Action::SetAddress, sequence, row, column);
        QCOMPARE(!plan.error.isEmpty(), refused);
        QCOMPARE(plan.frames.size(), refused ? 0 : 3);
        for (const AddressCommands::Frame &frame : plan.frames) {
            QCOMPARE(frame.code.size(), 2);
            QCOMPARE(frame.param.size(), 2);
        }
    }

    void fieldsTakeUpToFourDigits()
    {
        AdderSetWindows window;
        for (const char *name : {"num_le", "x_le", "y_le"}) {
            QLineEdit *edit = child<QLineEdit>(&window, name);
            edit->clear();
            QTest::keyClicks(edit, "12a345");
            QCOMPARE(edit->text(), QStringLiteral("1234"));
        }
    }
};

VW_TEST_MAIN(TestAddressSet)
#include "tst_addressset.moc"
