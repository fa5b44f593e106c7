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
        QCOMPARE(QStringList(link.matrixTexts), goldenList(texts));
        QCOMPARE(frames, link.hexListToBytes(goldenList(hex)));
        QCOMPARE(link.signalType, link.signalTypeIndex(type));
    }

private slots:
    void hexToBytes_data() { goldenRows(QStringLiteral("commandtext.tsv")); }
    void hexToBytes()
    {
        QFETCH(QString, text);
        QFETCH(QString, bytes);
        QCOMPARE(link.hexToBytes(text), QByteArray::fromHex(bytes.toLatin1()));
    }

    void checksum_data() { goldenRows(QStringLiteral("checksum.tsv")); }
    void checksum()
    {
        QFETCH(QString, text);
        QFETCH(QString, mode);
        QFETCH(QString, mask);
        QTEST(link.checksumText(text, mode.toInt(), mask.toInt(nullptr, 16)), "result");
    }

    void makeCommand_data() { goldenRows(QStringLiteral("makecommand.tsv")); }
    void makeCommand()
    {
        QFETCH(QString, selection);
        QFETCH(QString, perScreen);
        QFETCH(QString, target);
        QFETCH(QString, texts);
        GlobalObject::targetAddressList = {"11"};
        link.makeCommand("01", "02", true, 0); // leaves nothing behind
        GlobalObject::targetAddressList = goldenList(selection);
        const QList<QByteArray> frames = link.makeCommand("06", "01", perScreen == "yes", target.toInt());
        QCOMPARE(QStringList(link.lcdTexts), goldenList(texts));
        QCOMPARE(frames, link.hexListToBytes(goldenList(texts)));
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
        for (const QString &output : goldenList(outputs.replace(',', '|')))
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
