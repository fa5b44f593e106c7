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
