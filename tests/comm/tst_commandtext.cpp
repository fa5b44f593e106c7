#include "communication.h"
#include "digitvalidator.h"
#include "globalobject.h"
#include "goldenrows.h"
#include "matrixcommands.h"
#include "testmain.h"

// Text to bytes, checksums, the controller frames and the matrix command
// sets (expected texts and frames of every builder in tests/data).
class TestCommandText : public QObject
{
    Q_OBJECT

    Communication link;

    // The record of the current golden row: the address goes into the field
    // of the signal type only; the others hold a value that would show if a
    // builder read the wrong one.
    static InstructionRecord record(int input)
    {
        InstructionRecord rec;
        rec.signalType = golden("type");
        rec.model = golden("model");
        rec.dviId = rec.hdmiId = rec.vgaId = rec.videoId = QStringLiteral("77");
        const QString type = rec.signalType;
        (type == "DVI" ? rec.dviId : type == "HDMI" ? rec.hdmiId : type == "VGA" ? rec.vgaId : rec.videoId) = golden("address");
        rec.value = input;
        return rec;
    }
    // The texts kept for the echo and the frames returned.
    void compareCall(const QList<QByteArray> &frames, const QString &texts, const QString &hex)
    {
        QCOMPARE(QStringList(link.matrixTexts), goldenList(texts));
        QCOMPARE(frames, link.hexListToBytes(goldenList(hex)));
        QCOMPARE(link.signalType, link.signalTypeIndex(golden("type")));
    }

private slots:
    void hexToBytes_data() { goldenRows(QStringLiteral("commandtext.tsv")); }
    void hexToBytes()
    {
        QCOMPARE(link.hexToBytes(golden("text")), QByteArray::fromHex(golden("bytes").toLatin1()));
    }

    // Head and tail pairs in hex, the middle as it is written.
    void mixedToBytes_data() { goldenRows(QStringLiteral("mixedtext.tsv")); }
    void mixedToBytes()
    {
        QCOMPARE(link.mixedListToBytes({golden("text")}), QList<QByteArray>{QByteArray::fromHex(golden("bytes").toLatin1())});
    }

    // Every hex digit in either case, and the character just outside each
    // range of digits, through every converter from command text to bytes:
    // as the high and the low digit of a pair, in hex and in mixed frames,
    // under the checksums, and as a typed decimal number.
    void everyHexDigitInEitherCase_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("bytes"); // of the pairs 1x and x1
        const QString lower = QStringLiteral("0123456789abcdef"), upper = QStringLiteral("0123456789ABCDEF");
        for (int value = 0; value < 16; ++value) {
            for (const QChar c : value < 10 ? QString(lower[value]) : QString(lower[value]) + upper[value]) {
                const QString name = value < 10 ? QStringLiteral("digit ") : c.isLower() ? QStringLiteral("lower-case ")
                                                                                          : QStringLiteral("upper-case ");
                QTest::newRow(qPrintable(name + c)) << QString(c) << value
                                                    << QByteArray::fromHex((QStringLiteral("1") + c + c + '1').toLatin1());
            }
        }
        // A bad digit counts as -1: 16 - 1 and -16 + 1.
        const QByteArray bad = QByteArray::fromHex("0FF1");
        QTest::newRow("slash, just below 0") << "/" << -1 << bad;
        QTest::newRow("colon, just above 9") << ":" << -1 << bad;
        QTest::newRow("at sign, just below A") << "@" << -1 << bad;
        QTest::newRow("backquote, just below a") << "`" << -1 << bad;
        QTest::newRow("upper-case G, just above F") << "G" << -1 << bad;
        QTest::newRow("lower-case g, just above f") << "g" << -1 << bad;
    }
    void everyHexDigitInEitherCase()
    {
        QFETCH(QString, character);
        QFETCH(int, value);
        QFETCH(QByteArray, bytes);
        const QString pairs = "1" + character + " " + character + "1";
        const auto hex2 = [](int byte) { return QString::number(byte & 0xFF, 16).toUpper().rightJustified(2, '0'); };
        QString typed = character;
        int at = 0;
        const int decimal = digitValidator(QStringLiteral("\\d"), &link)->validate(typed, at);
        QCOMPARE(QStringList({QString::number(hexDigitValue(character.at(0).toLatin1())), link.hexToBytes(pairs).toHex(),
                              link.hexListToBytes({pairs, pairs}).join('|').toHex(),
                              link.mixedListToBytes({"1" + character + "-" + character + "1"}).value(0).toHex(),
                              link.checksumText(pairs, 0, 0xFF), link.checksumText(pairs, 1, 0xFF),
                              QString::number(decimal)}),
                 QStringList({QString::number(value), bytes.toHex(), (bytes + '|' + bytes).toHex(),
                              (bytes.left(1) + '-' + bytes.right(1)).toHex(), hex2(bytes[0] + bytes[1]),
                              hex2(bytes[0] ^ bytes[1]),
                              QString::number(value >= 0 && value <= 9 ? QValidator::Acceptable : QValidator::Invalid)}));
    }

    void checksum_data() { goldenRows(QStringLiteral("checksum.tsv")); }
    void checksum()
    {
        QTEST(link.checksumText(golden("text"), golden("mode").toInt(), golden("mask").toInt(nullptr, 16)), "result");
    }

    void makeCommand_data() { goldenRows(QStringLiteral("makecommand.tsv")); }
    void makeCommand()
    {
        GlobalObject::targetAddressList = {"11"};
        link.makeCommand("01", "02", true, 0); // leaves nothing behind
        GlobalObject::targetAddressList = goldenList(golden("selection"));
        const QList<QByteArray> frames = link.makeCommand("06", "01", golden("perScreen") == "yes", golden("target").toInt());
        QCOMPARE(QStringList(link.lcdTexts), goldenList(golden("texts")));
        QCOMPARE(frames, link.hexListToBytes(goldenList(golden("texts"))));
    }

    void switchCommand_data() { goldenRows(QStringLiteral("matrixswitch.txt")); }
    void switchCommand()
    {
        GlobalObject::matrixOutList.clear();
        for (const QString &output : goldenList(golden("outputs").replace(',', '|')))
            GlobalObject::matrixOutList.append(output.toInt());
        link.matrixTexts = QStringList{"earlier"};
        compareCall(link.switchCommand(record(golden("input").toInt())), golden("texts"), golden("frames"));
    }

    void sceneCommand_data() { goldenRows(QStringLiteral("matrixscene.txt")); }
    void sceneCommand()
    {
        const InstructionRecord rec = record(9);
        GlobalObject::matrixOutList = {}; // scenes never read the outputs
        for (int mode : {0, 1, 2}) {
            link.matrixTexts = QStringList{"earlier"};
            const QList<QByteArray> frames = link.sceneCommand(rec, golden("scene").toInt(), mode);
            compareCall(frames, golden(mode == 0 ? "save" : "recall"), golden(mode == 0 ? "saveFrames" : "recallFrames"));
        }
    }

    // What the matrix tour builds for one (input, output) pair of its ranges.
    void pairTexts()
    {
        const MatrixCommands::Row *hdmi13 = MatrixCommands::findSwitchRow(1, QStringLiteral("HDMI13"));
        const MatrixCommands::Row *av09 = MatrixCommands::findSwitchRow(3, QStringLiteral("AV09"));
        QVERIFY(hdmi13 && av09);
        QCOMPARE(MatrixCommands::pairTexts(*hdmi13, "1", 2, 0), QStringList{"0000000000"});
        QCOMPARE(MatrixCommands::pairTexts(*av09, "1", 3, 5), (QStringList{"BB020104000000C2", "BB020202000000C1"}));
    }
};

VW_TEST_MAIN(TestCommandText)
#include "tst_commandtext.moc"
