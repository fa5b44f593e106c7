#include <QtTest>

#include "communication.h"
#include "globalobject.h"
#include "testmain.h"

// Text to bytes, checksums, signal type names and the controller frames.
class TestCommandText : public QObject
{
    Q_OBJECT

private slots:
    void hexToBytes_data();
    void hexToBytes();
    void listEncodings_data();
    void listEncodings();
    void checksum_data();
    void checksum();
    void signalTypeIndex_data();
    void signalTypeIndex();
    void makeCommand_data();
    void makeCommand();

private:
    Communication link;
};

void TestCommandText::hexToBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty text") << "" << QByteArray();
    QTest::newRow("single digit is dropped") << "A" << QByteArray();
    QTest::newRow("odd length drops the last digit") << "ABC" << QByteArray("\xAB");
    QTest::newRow("spaces before, between and after pairs") << " 01 02 " << QByteArray("\x01\x02", 2);
    QTest::newRow("two spaces between pairs") << "01  02" << QByteArray("\x01\x02", 2);
    QTest::newRow("lower case") << "ab" << QByteArray("\xAB");
    QTest::newRow("space as low digit of a pair") << "0 12" << QByteArray("\xFF\x12");
    QTest::newRow("bad low digit") << "0G" << QByteArray("\xFF");
    QTest::newRow("bad high digit") << "G0" << QByteArray("\xF0");
    QTest::newRow("two bad digits") << "GG" << QByteArray("\xEF");
    QTest::newRow("lone digit after a space") << "12 3" << QByteArray("\x12");
    QTest::newRow("character outside Latin-1 is a bad digit") << QString::fromUtf8("\xE4\xB8\xAD" "1") << QByteArray("\xF1");
    QTest::newRow("spaced controller frame") << "C6 11 11 10 01 BB" << QByteArray("\xC6\x11\x11\x10\x01\xBB");
}

void TestCommandText::hexToBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(link.hexToBytes(text), bytes);
}

void TestCommandText::listEncodings_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<QByteArray>>("frames");

    QTest::newRow("hex, empty list") << "hex" << QStringList() << QList<QByteArray>();
    QTest::newRow("hex, three texts keep their order")
        << "hex" << QStringList{"0102", "FF", "a0b1"}
        << QList<QByteArray>{QByteArray("\x01\x02", 2), QByteArray("\xFF"), QByteArray("\xA0\xB1")};
    QTest::newRow("ascii, plain text") << "ascii" << QStringList{"1V3.", "*255"} << QList<QByteArray>{"1V3.", "*255"};
    QTest::newRow("mixed, hex head and tail around text")
        << "mixed" << QStringList{"02ABC03"} << QList<QByteArray>{QByteArray("\x02" "ABC" "\x03")};
    QTest::newRow("mixed, lower-case head and tail")
        << "mixed" << QStringList{"0a1,2ff"} << QList<QByteArray>{QByteArray("\x0A" "1,2" "\xFF")};
}

void TestCommandText::listEncodings()
{
    QFETCH(QString, encoding);
    QFETCH(QStringList, texts);
    QFETCH(QList<QByteArray>, frames);
    if (encoding == "hex")
        QCOMPARE(link.hexListToBytes(texts), frames);
    else if (encoding == "ascii")
        QCOMPARE(link.asciiListToBytes(texts), frames);
    else
        QCOMPARE(link.mixedListToBytes(texts), frames);
}

void TestCommandText::checksum_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("mask");
    QTest::addColumn<QString>("result");

    QTest::newRow("sum8 of 7F01") << "7F01" << 0 << 0xFF << "80";
    QTest::newRow("xor8 of 7F01") << "7F01" << 1 << 0xFF << "7E";
    QTest::newRow("sum7 of 7F01") << "7F01" << 0 << 0x7F << "00";
    QTest::newRow("sum8 wraps past 255") << "FF 02" << 0 << 0xFF << "01";
    QTest::newRow("one digit is padded") << "0A" << 0 << 0xFF << "0A";
    QTest::newRow("unknown mode gives 00") << "7F01" << 2 << 0xFF << "00";
    QTest::newRow("empty text, sum") << "" << 0 << 0xFF << "00";
    QTest::newRow("empty text, xor") << "" << 1 << 0xFF << "00";
}

void TestCommandText::checksum()
{
    QFETCH(QString, text);
    QFETCH(int, mode);
    QFETCH(int, mask);
    QFETCH(QString, result);
    QCOMPARE(link.checksumText(text, mode, mask), result);
}

void TestCommandText::signalTypeIndex_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");

    QTest::newRow("DVI") << "DVI" << 0;
    QTest::newRow("HDMI") << "HDMI" << 1;
    QTest::newRow("VGA") << "VGA" << 2;
    QTest::newRow("VIDEO") << "VIDEO" << 3;
    QTest::newRow("VIDEO2 is not VIDEO") << "VIDEO2" << 4;
    QTest::newRow("SDI") << "SDI" << 5;
    QTest::newRow("lower-case vga is unknown") << "vga" << 6;
    QTest::newRow("YUV is unknown") << "YUV" << 6;
    QTest::newRow("empty is unknown") << "" << 6;
}

void TestCommandText::signalTypeIndex()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    QCOMPARE(link.signalTypeIndex(name), index);
}

void TestCommandText::makeCommand_data()
{
    QTest::addColumn<QStringList>("selection");
    QTest::addColumn<bool>("perScreen");
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("texts");

    const QStringList three{"11", "21", "12"};
    QTest::newRow("range, first and last in selection order")
        << three << false << 0 << QStringList{"C611120601BB"};
    QTest::newRow("per screen, one frame each in order")
        << three << true << 0 << QStringList{"C611110601BB", "C621210601BB", "C612120601BB"};
    QTest::newRow("range of a single screen") << QStringList{"23"} << false << 0 << QStringList{"C623230601BB"};
    QTest::newRow("range with nothing selected") << QStringList() << false << 0 << QStringList();
    QTest::newRow("per screen with nothing selected") << QStringList() << true << 0 << QStringList();
    QTest::newRow("target 1 ignores per screen and selection") << three << true << 1 << QStringList{"C611FF0601BB"};
    QTest::newRow("target 2") << three << false << 2 << QStringList{"C600FF0601BB"};
    QTest::newRow("target 3") << three << false << 3 << QStringList{"C6FF220601BB"};
    QTest::newRow("target 4") << three << false << 4 << QStringList{"C6FF240601BB"};
    QTest::newRow("target 5") << three << false << 5 << QStringList{"C6FF200601BB"};
    QTest::newRow("target 6") << three << false << 6 << QStringList{"C6FF210601BB"};
    QTest::newRow("target 7") << three << false << 7 << QStringList{"C6FF230601BB"};
    QTest::newRow("target 8 with nothing selected") << QStringList() << false << 8 << QStringList{"C6FF080601BB"};
    QTest::newRow("target 9 is the selection") << QStringList{"A1"} << false << 9 << QStringList{"C6A1A10601BB"};
}

void TestCommandText::makeCommand()
{
    QFETCH(QStringList, selection);
    QFETCH(bool, perScreen);
    QFETCH(int, target);
    QFETCH(QStringList, texts);

    // A previous build must leave nothing behind.
    GlobalObject::targetAddressList = {"11"};
    link.makeCommand("01", "02", true, 0);

    GlobalObject::targetAddressList = selection;
    const QList<QByteArray> frames = link.makeCommand("06", "01", perScreen, target);
    QCOMPARE(QStringList(link.lcdTexts), texts);
    QCOMPARE(frames, link.hexListToBytes(texts));
    for (const QByteArray &frame : frames)
        QCOMPARE(frame.size(), 6);
}

VW_TEST_MAIN(TestCommandText)
#include "tst_commandtext.moc"
