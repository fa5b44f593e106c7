#include "communication.h"
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

    static QStringList list(const QString &text) { return text.isEmpty() ? QStringList() : text.split('|'); }
    // The address goes into the field of the signal type only; the others
    // hold a value that would show if a builder read the wrong one.
    static InstructionRecord record(const QString &type, const QString &model, const QString &address, int input)
    {
        InstructionRecord rec;
        rec.signalType = type;
        rec.model = model;
        rec.dviId = rec.hdmiId = rec.vgaId = rec.videoId = QStringLiteral("77");
        (type == "DVI" ? rec.dviId : type == "HDMI" ? rec.hdmiId : type == "VGA" ? rec.vgaId : rec.videoId) = address;
        rec.value = input;
        return rec;
    }
    // The texts kept for the echo and the frames returned.
    void compareCall(const QList<QByteArray> &frames, const QString &texts, const QString &hex, const QString &type)
    {
        QCOMPARE(QStringList(link.matrixTexts), list(texts));
        QCOMPARE(frames, link.hexListToBytes(list(hex)));
        QCOMPARE(link.signalType, link.signalTypeIndex(type));
    }

private slots:
    void hexToBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("odd length drops the last digit") << "ABC" << QByteArray("\xAB");
        QTest::newRow("spaces around pairs, lower case") << " 0a  02 " << QByteArray("\x0A\x02", 2);
        QTest::newRow("space as low digit of a pair") << "0 12" << QByteArray("\xFF\x12");
        QTest::newRow("bad digits count as -1") << "G0GG" << QByteArray("\xF0\xEF");
        QTest::newRow("character outside Latin-1") << QString::fromUtf8("\xE4\xB8\xAD" "1") << QByteArray("\xF1");
    }
    void hexToBytes()
    {
        QFETCH(QString, text);
        QTEST(link.hexToBytes(text), "bytes");
    }

    void checksum_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("mask");
        QTest::addColumn<QString>("result");
        QTest::newRow("sum8 wraps past 255") << "FF 02" << 0 << 0xFF << "01";
        QTest::newRow("xor8") << "7F01" << 1 << 0xFF << "7E";
        QTest::newRow("sum7") << "7F01" << 0 << 0x7F << "00";
        QTest::newRow("unknown mode") << "7F01" << 2 << 0xFF << "00";
        QTest::newRow("bad digits, lone last digit dropped") << "GG010" << 0 << 0xFF << "F0";
        QTest::newRow("one digit result is padded") << "0102" << 0 << 0xFF << "03";
    }
    void checksum()
    {
        QFETCH(QString, text);
        QFETCH(int, mode);
        QFETCH(int, mask);
        QTEST(link.checksumText(text, mode, mask), "result");
    }

    void makeCommand_data()
    {
        QTest::addColumn<QStringList>("selection");
        QTest::addColumn<bool>("perScreen");
        QTest::addColumn<int>("target");
        QTest::addColumn<QStringList>("texts");
        const QStringList three{"11", "21", "12"};
        QTest::newRow("range, first and last in selection order") << three << false << 0 << QStringList{"C611120601BB"};
        QTest::newRow("per screen, in order")
            << three << true << 0 << QStringList{"C611110601BB", "C621210601BB", "C612120601BB"};
        QTest::newRow("range with nothing selected") << QStringList() << false << 0 << QStringList();
        QTest::newRow("target 1 ignores per screen") << three << true << 1 << QStringList{"C611FF0601BB"};
        QTest::newRow("target 8 with nothing selected") << QStringList() << false << 8 << QStringList{"C6FF080601BB"};
        QTest::newRow("target 9 is the selection") << QStringList{"A1"} << false << 9 << QStringList{"C6A1A10601BB"};
    }
    void makeCommand()
    {
        QFETCH(QStringList, selection);
        QFETCH(bool, perScreen);
        QFETCH(int, target);
        QFETCH(QStringList, texts);
        GlobalObject::targetAddressList = {"11"};
        link.makeCommand("01", "02", true, 0); // leaves nothing behind
        GlobalObject::targetAddressList = selection;
        const QList<QByteArray> frames = link.makeCommand("06", "01", perScreen, target);
        QCOMPARE(QStringList(link.lcdTexts), texts);
        QCOMPARE(frames, link.hexListToBytes(texts));
    }

    void switchCommand_data()
    {
        goldenRows(QStringLiteral("matrixswitch.txt"));
    }
    void switchCommand()
    {
        QFETCH(QString, type);
        QFETCH(QString, model);
        QFETCH(QString, address);
        QFETCH(QString, input);
        QFETCH(QString, outputs);
        QFETCH(QString, texts);
        QFETCH(QString, frames);
        GlobalObject::matrixOutList.clear();
        for (const QString &output : list(outputs.replace(',', '|')))
            GlobalObject::matrixOutList.append(output.toInt());
        link.matrixTexts = QStringList{"earlier"};
        compareCall(link.switchCommand(record(type, model, address, input.toInt())), texts, frames, type);
    }

    void sceneCommand_data()
    {
        goldenRows(QStringLiteral("matrixscene.txt"));
    }
    void sceneCommand()
    {
        QFETCH(QString, type);
        QFETCH(QString, model);
        QFETCH(QString, address);
        QFETCH(QString, scene);
        QFETCH(QString, save);
        QFETCH(QString, saveFrames);
        QFETCH(QString, recall);
        QFETCH(QString, recallFrames);
        const InstructionRecord rec = record(type, model, address, 9);
        GlobalObject::matrixOutList = {}; // scenes never read the outputs
        for (int mode : {0, 1, 2}) {
            link.matrixTexts = QStringList{"earlier"};
            const QList<QByteArray> frames = link.sceneCommand(rec, scene.toInt(), mode);
            compareCall(frames, mode == 0 ? save : recall, mode == 0 ? saveFrames : recallFrames, type);
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
