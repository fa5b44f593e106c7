#include <QtTest>

#include "communication.h"
#include "globalobject.h"
#include "matrixcase.h"
#include "testmain.h"

using MatrixCase::asciiFrames;

// Scene save and recall commands of every matrix model that has them.
class TestMatrixScene : public QObject
{
    Q_OBJECT

private slots:
    void sceneCommand_data();
    void sceneCommand();
    void nothingToBuild_data();
    void nothingToBuild();

private:
    Communication link;
};

namespace {

// One scene of one model: the save texts (mode 0) and the recall texts.
void addCase(const char *name, const char *type, const char *model, const char *address, int scene,
             const QStringList &save, const QStringList &recall, bool hex)
{
    QTest::newRow(name) << QString::fromLatin1(type) << QString::fromLatin1(model)
                        << QString::fromLatin1(address) << scene << save
                        << (hex ? save : asciiFrames(save)) << recall
                        << (hex ? recall : asciiFrames(recall));
}

void hexCase(const char *name, const char *type, const char *model, const char *address, int scene,
             const QStringList &save, const QStringList &recall)
{
    addCase(name, type, model, address, scene, save, recall, true);
}

void asciiCase(const char *name, const char *type, const char *model, const char *address,
               int scene, const QStringList &save, const QStringList &recall)
{
    addCase(name, type, model, address, scene, save, recall, false);
}

void dviCases()
{
    hexCase("DVI ANTAI hex frame, last byte from the scene", "DVI", "ANTAI", "1", 2,
            {"A5000106020000AE"}, {"A5000105020000AD"});
    hexCase("DVI ANTAI scene 16", "DVI", "ANTAI", "1", 16, {"A5000106100000BC"},
            {"A5000105100000BB"});
    asciiCase("DVI CREATEK", "DVI", "CREATEK", "1", 3, {"Save3."}, {"Recall3."});
    asciiCase("DVI02 scene in hex", "DVI", "DVI02", "01", 12, {"PV01SF0C00NT"}, {"PV01RF0C00NT"});
    hexCase("DVI08 scene less one", "DVI", "DVI08", "1", 1, {"AA00050000FF"}, {"AA00040000FF"});
    asciiCase("DVI09 scene less one", "DVI", "DVI09", "1", 1, {"<save,0>"}, {"<call,0>"});
    asciiCase("DVI YJ", "DVI", "YJ", "1", 3, {"SAVE3"}, {"CALL3"});
}

void hdmiCases()
{
    asciiCase("HDMI AE-T", "HDMI", "AE-T", "1", 7, {"SF0700"}, {"RF0700"});
    hexCase("HDMI ANTAI2 as the DVI ANTAI", "HDMI", "ANTAI2", "1", 2, {"A5000106020000AE"},
            {"A5000105020000AD"});
    asciiCase("HDMI BY-T", "HDMI", "BY-T", "1", 12, {"SF1200"}, {"RF1200"});
    asciiCase("HDMI CREATEK", "HDMI", "CREATEK", "1", 3, {"Save3."}, {"Recall3."});
    asciiCase("HDMI CREATEK01", "HDMI", "CREATEK01", "1", 3, {"SAVE3."}, {"CALL3."});
    asciiCase("HDMI02 scene in hex", "HDMI", "HDMI02", "01", 12, {"PV01SF0C00NT"}, {"PV01RF0C00NT"});
    asciiCase("HDMI03 recall sends two texts", "HDMI", "HDMI03", "01", 2, {"PV01SF0200NT"},
              {"PV01RF0200NT", "PV01VW0000NT"});
    asciiCase("HDMI05", "HDMI", "HDMI05", "01", 2, {"PL01SF0200NT"}, {"PL01RF0200NT"});
    asciiCase("HDMI06 scene in plain hex", "HDMI", "HDMI06", "1", 12, {"SaveC."}, {"LoadC."});
    asciiCase("HDMI12", "HDMI", "HDMI12", "01", 2, {"PH01SF0200NT"}, {"PH01RF0200NT"});
    hexCase("HDMI14 checksum", "HDMI", "HDMI14", "1", 2, {"A5000106020000AE"},
            {"A5000105020000AD"});
    asciiCase("HDMI4K", "HDMI", "HDMI4K", "1", 3, {"Save3."}, {"Recall3."});
    asciiCase("HDMI-X", "HDMI", "HDMI-X", "1", 3, {"1SAVE3"}, {"1CALL3"});
    hexCase("HDMI IM88 checksum covers the closing bytes", "HDMI", "IM88", "1", 1,
            {"7B7B020100F37D7D"}, {"7B7B030100F47D7D"});
    hexCase("HDMI KINGRODA as HDMI14", "HDMI", "KINGRODA", "1", 2, {"A5000106020000AE"},
            {"A5000105020000AD"});
    asciiCase("HDMI KINGRODA02", "HDMI", "KINGRODA02", "1", 3, {"SAVE3"}, {"CALL3"});
    asciiCase("HDMI QX", "HDMI", "QX", "1", 3, {"Save3."}, {"Recall3."});
    asciiCase("HDMI SX", "HDMI", "SX", "1", 3, {"SAVE3"}, {"CALL3"});
    asciiCase("HDMI SVS", "HDMI", "SVS", "1", 3, {"3,S"}, {"3,R"});
}

void vgaCases()
{
    asciiCase("VGA AE-VGA", "VGA", "AE-VGA", "01", 3, {"01VSAVE3"}, {"01VRETU3"});
    asciiCase("VGA AE-VGA-T", "VGA", "AE-VGA-T", "01", 3, {"01VSAVE3"}, {"01VRETU3"});
    asciiCase("VGA ANTAI3", "VGA", "ANTAI3", "1", 3, {"SAVE3"}, {"CALL3"});
    hexCase("VGA btran-888 fixed last byte", "VGA", "btran-888", "1", 2, {"F6011103000200"},
            {"F6011503000200"});
    asciiCase("VGA CHUANGGAO save sends nothing", "VGA", "CHUANGGAO", "1", 3, {}, {"<3,R>"});
    asciiCase("VGA CREATEK", "VGA", "CREATEK", "1", 3, {"Save3."}, {"Recall3."});
    asciiCase("VGA Flowvia scene in hex", "VGA", "Flowvia", "01", 12, {"PA01SF0C00NT"},
              {"PA01RF0C00NT"});
    asciiCase("VGA Samplex scene in decimal", "VGA", "Samplex", "01", 12, {"PA01SF1200NT"},
              {"PA01RF1200NT"});
    hexCase("VGA01 checksum", "VGA", "VGA01", "01", 1, {"960111030001AC"}, {"960115030001B0"});
    hexCase("VGA01 address 10", "VGA", "VGA01", "10", 1, {"960A11030001B5"}, {"960A15030001B9"});
    hexCase("VGA01 address of letters", "VGA", "VGA01", "ab", 1, {"960011030001AB"},
            {"960015030001AF"});
    hexCase("VGA02 as VGA01", "VGA", "VGA02", "01", 1, {"960111030001AC"}, {"960115030001B0"});
    hexCase("VGA06", "VGA", "VGA06", "1", 2, {"06000602"}, {"03000402"});
    asciiCase("VGA VMW-JCVGA", "VGA", "VMW-JCVGA", "01", 3, {"01PS3!"}, {"01PL3!"});
    hexCase("VGA XM-VGA", "VGA", "XM-VGA", "1", 2, {"2A0201000021"}, {"2A0202000021"});
    hexCase("VGA YJ_VGA", "VGA", "YJ_VGA", "1", 2, {"C8A50101020055AA"}, {"C8A50201020055AA"});
}

void videoCases()
{
    hexCase("VIDEO AV01", "VIDEO", "AV01", "01", 1, {"960111030001AC"}, {"960115030001B0"});
    asciiCase("VIDEO flowvia", "VIDEO", "flowvia", "01", 12, {"PA01SF0C00NT"}, {"PA01RF0C00NT"});
    asciiCase("VIDEO samplex scene in hex", "VIDEO", "samplex", "01", 12, {"PA01SF0C00NT"},
              {"PA01RF0C00NT"});
    asciiCase("VIDEO VMW-JCAV", "VIDEO", "VMW-JCAV", "01", 3, {"01PS3!"}, {"01PL3!"});
    hexCase("VIDEO XM-AV", "VIDEO", "XM-AV", "1", 2, {"2A0201000021"}, {"2A0202000021"});
}

// A scene number that does not fit its byte would shift the frame.
void oversizeCases()
{
    hexCase("ANTAI scene 84 save byte passes 0xFF, recall byte fits", "DVI", "ANTAI", "1", 84, {},
            {"A5000105540000FF"});
    hexCase("DVI08 scene 0", "DVI", "DVI08", "1", 0, {}, {});
    hexCase("VGA06 scene 256", "VGA", "VGA06", "1", 256, {}, {});
    asciiCase("DVI09 ASCII scene 0 is written as it is", "DVI", "DVI09", "1", 0, {"<save,-1>"},
              {"<call,-1>"});
}

} // namespace

void TestMatrixScene::sceneCommand_data()
{
    QTest::addColumn<QString>("signalType");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("scene");
    QTest::addColumn<QStringList>("saveTexts");
    QTest::addColumn<QStringList>("saveFrames");
    QTest::addColumn<QStringList>("recallTexts");
    QTest::addColumn<QStringList>("recallFrames");

    dviCases();
    hdmiCases();
    vgaCases();
    videoCases();
    oversizeCases();
}

void TestMatrixScene::sceneCommand()
{
    QFETCH(QString, signalType);
    QFETCH(QString, model);
    QFETCH(QString, address);
    QFETCH(int, scene);
    QFETCH(QStringList, saveTexts);
    QFETCH(QStringList, saveFrames);
    QFETCH(QStringList, recallTexts);
    QFETCH(QStringList, recallFrames);

    // Scenes never read the selected outputs or the input.
    GlobalObject::matrixOutList = {};
    auto restore = qScopeGuard([] { GlobalObject::matrixOutList = {1}; });
    const InstructionRecord rec = MatrixCase::record(signalType, model, address, 9);

    for (int mode : {0, 1, 2}) {
        const QList<QByteArray> result = link.sceneCommand(rec, scene, mode);
        if (mode == 0)
            MatrixCase::compareCall(link, result, saveTexts, saveFrames);
        else
            MatrixCase::compareCall(link, result, recallTexts, recallFrames);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(link.signalType, link.signalTypeIndex(signalType));
    }
}

void TestMatrixScene::nothingToBuild_data()
{
    QTest::addColumn<QString>("signalType");
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("index");

    QTest::newRow("SDI CZ-VGA has no scenes") << "SDI" << "CZ-VGA" << 5;
    QTest::newRow("SDI CZ-DVI has no scenes") << "SDI" << "CZ-DVI" << 5;
    QTest::newRow("VIDEO2 has no table") << "VIDEO2" << "AV01" << 4;
    QTest::newRow("unknown signal type") << "YUV" << "AV01" << 6;
    QTest::newRow("DVI LANMA switches only") << "DVI" << "LANMA" << 0;
    QTest::newRow("HDMI TK switches only") << "HDMI" << "TK" << 1;
    QTest::newRow("upper-case BTRAN-888 under VGA") << "VGA" << "BTRAN-888" << 2;
    QTest::newRow("VGA Samplex under VIDEO") << "VIDEO" << "Samplex" << 3;
    QTest::newRow("VIDEO PEARMAIN switches only") << "VIDEO" << "PEARMAIN" << 3;
}

void TestMatrixScene::nothingToBuild()
{
    QFETCH(QString, signalType);
    QFETCH(QString, model);
    QFETCH(int, index);

    // Texts of an earlier call must not survive a call that builds nothing.
    QCOMPARE(link.sceneCommand(MatrixCase::record("HDMI", "SVS", "1"), 3, 0).size(), 1);
    for (int mode : {0, 1}) {
        QVERIFY(link.sceneCommand(MatrixCase::record(signalType, model, "1"), 3, mode).isEmpty());
        QVERIFY(link.matrixTexts.isEmpty());
        QCOMPARE(link.signalType, index);
    }
}

VW_TEST_MAIN(TestMatrixScene)
#include "tst_matrixscene.moc"
