#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMetaEnum>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>

#include <memory>

#include "appinit.h"
#include "consoletest.h"
#include "messageboxcatcher.h"
#include "ptypair.h"
#include "testmain.h"
#include "ui_velmar_windows.h"
#include "velmar_windows.h"

using namespace ConsoleTest;

// Signal switching linked with the matrix, and scenes on the wall and the
// matrix, on three socat pty pairs: the main port and the own ports of the
// VIDEO matrix and of the matrix for the other signal types. Screens 11 and
// 21 of the 2 x 2 wall are selected; the output map feeds them from outputs
// 1 and 2. The matrices are CREATEK models ("<input>V<output>.") unless a
// row says otherwise.
class TestMainMatrix : public QObject
{
    Q_OBJECT

public:
    enum Pty { MainPty, VideoPty, RgbPty };
    Q_ENUM(Pty)

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void linkedSwitchOrderAndWaits_data();
    void linkedSwitchOrderAndWaits();
    void linkedSwitchRouting_data();
    void linkedSwitchRouting();
    void unlinkedSwitch();
    void noMatrixInputChosen();
    void emptySelectionSendsNothing_data();
    void emptySelectionSendsNothing();
    void scenes_data();
    void scenes();
    void sceneNotSent_data();
    void sceneNotSent();
    void sceneTourStep();
    void matrixTourStep_data();
    void matrixTourStep();

private:
    bool build(bool videoOwn, bool rgbOwn, const MatrixConfig &matrix);
    void chooseSignal(int signal, int input, bool linked);
    bool wiresCarry(const QByteArray &main, const QByteArray &video, const QByteArray &rgb);
    QStringList log() const { return logLines(ui->com_textedit); }
    QString cellText(int row, int column) const;

    std::unique_ptr<PtyPair> ptys[3];
    std::unique_ptr<MessageBoxCatcher> catcher;
    Velmar_Windows *window = nullptr;
    Ui_Velmar_Windows *ui = nullptr;
};

void TestMainMatrix::initTestCase()
{
    new AppInit(this);
}

void TestMainMatrix::init()
{
    resetShared();
    if (!PtyPair::socatAvailable())
        QSKIP(qPrintable(PtyPair::missingSocatMessage()));
    for (auto &pty : ptys) {
        pty = std::make_unique<PtyPair>();
        QVERIFY(startPty(*pty));
    }
    catcher = std::make_unique<MessageBoxCatcher>();
}

void TestMainMatrix::cleanup()
{
    endTest(window);
    ui = nullptr;
    catcher.reset();
    for (auto &pty : ptys)
        pty.reset();
}

bool TestMainMatrix::build(bool videoOwn, bool rgbOwn, const MatrixConfig &matrix)
{
    PortConfig port;
    port.lcdPort = ptys[MainPty]->devicePath();
    port.videoPort = ptys[VideoPty]->devicePath();
    port.rgbPort = ptys[RgbPty]->devicePath();
    port.videoLink = videoOwn;
    port.rgbLink = rgbOwn;
    writePortConfig(port);
    if (!writeMatrixConfig(matrix))
        return false;
    window = new Velmar_Windows;
    ui = window->ui;
    window->openSerial();
    selectCells(ui->cent_tablewidget, 0, 0, 0, 1);
    return GlobalObject::linkOpen && GlobalObject::videoMatrixPortOpen == videoOwn
           && GlobalObject::rgbMatrixPortOpen == rgbOwn && GlobalObject::matrixOutList == QList<int>({1, 2});
}

void TestMainMatrix::chooseSignal(int signal, int input, bool linked)
{
    ui->signal_type_cb->setCurrentIndex(signal);
    ui->matrix_type_cb->setCurrentIndex(input - 1);
    ui->link_cb->setChecked(linked);
}

bool TestMainMatrix::wiresCarry(const QByteArray &main, const QByteArray &video, const QByteArray &rgb)
{
    const QByteArray expected[] = {main, video, rgb};
    auto carried = [&] {
        for (int i = 0; i < 3; ++i) {
            if (ptys[i]->log().bytes() != expected[i])
                return false;
        }
        return true;
    };
    bool ok = QTest::qWaitFor(carried, 5000);
    if (ok) {
        // Nothing more may trickle in afterwards.
        QTest::qWait(50);
        ok = carried();
    }
    if (!ok) {
        for (int i = 0; i < 3; ++i)
            qWarning("%s: got %s, want %s", QMetaEnum::fromType<Pty>().valueToKey(i),
                     ptys[i]->log().bytes().toHex().constData(), expected[i].toHex().constData());
    }
    return ok;
}

QString TestMainMatrix::cellText(int row, int column) const
{
    const QTableWidgetItem *item = ui->cent_tablewidget->item(row, column);
    return item ? item->text() : QString();
}

void TestMainMatrix::linkedSwitchOrderAndWaits_data()
{
    QTest::addColumn<bool>("matrixFirst");
    QTest::newRow("screen preferred") << false;
    QTest::newRow("matrix preferred") << true;
}

void TestMainMatrix::linkedSwitchOrderAndWaits()
{
    QFETCH(bool, matrixFirst);
    MatrixConfig matrix;
    matrix.responseTime = 500;
    matrix.intervalTime = 100;
    matrix.matrixFirst = matrixFirst;
    QVERIFY(build(false, false, matrix));
    chooseSignal(1, 3, true); // VGA, input 3

    ui->single_btn->click();

    const QByteArray screen = wire({"C611212001BB"});
    const QByteArray switching = asciiWire({"3V1.", "3V2."});
    const CaptureLog &farEnd = ptys[MainPty]->log();
    QVERIFY(wiresCarry(matrixFirst ? switching + screen : screen + switching, QByteArray(), QByteArray()));
    const QStringList screenLine{">C6,11,21,20,01,BB(OK)"};
    const QStringList matrixLines{"3V1. (OK)", "3V2. (OK)"};
    QCOMPARE(log(), matrixFirst ? matrixLines + screenLine : screenLine + matrixLines);
    QCOMPARE(cellText(0, 0), QStringLiteral("VGA"));
    QCOMPARE(cellText(0, 1), QStringLiteral("VGA"));
    QCOMPARE(cellText(1, 0), QString());

    // Waits measured where the bytes arrive.
    const int firstMatrix = matrixFirst ? 0 : 6;
    const qint64 interval = arrivalMs(farEnd, firstMatrix + 4) - arrivalMs(farEnd, firstMatrix);
    QVERIFY2(interval >= 90 && interval < 1000, qPrintable(QString::number(interval)));
    // Screen first: 50 ms behind the frame, then the response time. Matrix
    // first: the interval behind the last matrix text, then the response time.
    const qint64 response = matrixFirst ? arrivalMs(farEnd, 8) - arrivalMs(farEnd, 4)
                                        : arrivalMs(farEnd, 6) - arrivalMs(farEnd, 0);
    const qint64 least = matrixFirst ? 540 : 450;
    QVERIFY2(response >= least && response < 2000, qPrintable(QString::number(response)));
}

void TestMainMatrix::linkedSwitchRouting_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("videoOwn");
    QTest::addColumn<bool>("rgbOwn");
    QTest::addColumn<QString>("model"); // replaces the configured one when set
    QTest::addColumn<QByteArray>("main");
    QTest::addColumn<QByteArray>("video");
    QTest::addColumn<QByteArray>("rgb");
    QTest::addColumn<QStringList>("lines");

    const QByteArray none;
    const QByteArray createk = asciiWire({"3V1.", "3V2."});
    const QStringList createkLines{"3V1. (OK)", "3V2. (OK)"};
    auto screen = [](const char *code) { return wire({QStringLiteral("C6112120%1BB").arg(code)}); };
    auto screenLine = [](const char *code) { return QStringLiteral(">C6,11,21,20,%1,BB(OK)").arg(code); };

    QTest::newRow("VIDEO on its own port") << 0 << true << false << QString() << screen("00") << createk << none
                                           << QStringList{screenLine("00")};
    QTest::newRow("VIDEO with only the RGB port open goes on the main link")
        << 0 << false << true << QString() << screen("00") + createk << none << none
        << QStringList{screenLine("00")} + createkLines;
    QTest::newRow("VGA on the RGB port") << 1 << false << true << QString() << screen("01") << none << createk
                                         << QStringList{screenLine("01")};
    QTest::newRow("VGA with only the video port open goes on the main link")
        << 1 << true << false << QString() << screen("01") + createk << none << none
        << QStringList{screenLine("01")} + createkLines;
    QTest::newRow("DVI on the RGB port, each output twice")
        << 2 << true << true << QString() << screen("02") << none << asciiWire({"3V1.", "3V1.", "3V2.", "3V2."})
        << QStringList{screenLine("02")};
    QTest::newRow("HDMI BY-T, one text for both outputs, main link")
        << 3 << false << false << QString() << screen("03") + asciiWire({"3V1,2."}) << none << none
        << QStringList{screenLine("03"), "3V1,2. (OK)"};
    QTest::newRow("YUV with the RGB port open: no matrix command")
        << 5 << false << true << QString() << screen("05") << none << none << QStringList{screenLine("05")};
    QTest::newRow("VIDEO2 on the main link: no matrix command")
        << 6 << false << false << QString() << screen("06") << none << none << QStringList{screenLine("06")};
    QTest::newRow("unknown model: only the screen command")
        << 1 << false << true << "NO-SUCH" << screen("01") << none << none << QStringList{screenLine("01")};
}

void TestMainMatrix::linkedSwitchRouting()
{
    QFETCH(int, signal);
    QFETCH(bool, videoOwn);
    QFETCH(bool, rgbOwn);
    QFETCH(QString, model);
    QFETCH(QByteArray, main);
    QFETCH(QByteArray, video);
    QFETCH(QByteArray, rgb);
    QFETCH(QStringList, lines);
    QVERIFY(build(videoOwn, rgbOwn, MatrixConfig()));
    chooseSignal(signal, 3, true);
    if (!model.isEmpty())
        ui->linktitle_lb_2->setText(model);

    ui->single_btn->click();

    QVERIFY(wiresCarry(main, video, rgb));
    QCOMPARE(log(), lines);
    QCOMPARE(cellText(0, 1), ui->signal_type_cb->currentText());
}

void TestMainMatrix::unlinkedSwitch()
{
    QVERIFY(build(false, true, MatrixConfig()));
    chooseSignal(1, 3, false);
    QStringList labelsAtFrame;
    const auto spy = connect(&lcdCommunication, &Communication::sendComData, this,
                             [&] { labelsAtFrame << cellText(0, 0) << cellText(0, 1); });

    ui->single_btn->click();
    disconnect(spy);

    QVERIFY(wiresCarry(wire({"C611212001BB"}), QByteArray(), QByteArray()));
    QCOMPARE(log(), QStringList{">C6,11,21,20,01,BB(OK)"});
    // Unlinked, the cells are re-labelled before the frame goes out.
    QCOMPARE(labelsAtFrame, QStringList({"VGA", "VGA"}));
}

void TestMainMatrix::noMatrixInputChosen()
{
    MatrixConfig matrix;
    matrix.responseTime = 1000;
    QVERIFY(build(false, true, matrix));
    chooseSignal(1, 3, true);
    ui->matrix_type_cb->setCurrentIndex(-1);

    QElapsedTimer took;
    took.start();
    ui->single_btn->click();

    // As without linkage: no matrix command, no response wait.
    QVERIFY2(took.elapsed() < 900, qPrintable(QString::number(took.elapsed())));
    QVERIFY(wiresCarry(wire({"C611212001BB"}), QByteArray(), QByteArray()));
    QCOMPARE(log(), QStringList{">C6,11,21,20,01,BB(OK)"});
    QCOMPARE(cellText(0, 0), QStringLiteral("VGA"));
}

void TestMainMatrix::emptySelectionSendsNothing_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("vgaModel");
    QTest::addColumn<bool>("linked");
    QTest::addColumn<bool>("rgbOwn");
    // Both models build a command even for an empty output list.
    QTest::newRow("HDMI BY-T on the main link") << 3 << "CREATEK" << true << false;
    QTest::newRow("HDMI BY-T on the RGB port") << 3 << "CREATEK" << true << true;
    QTest::newRow("VGA AE-VGA-T switching the whole wall") << 1 << "AE-VGA-T" << true << false;
    QTest::newRow("VGA without linkage") << 1 << "CREATEK" << false << false;
}

void TestMainMatrix::emptySelectionSendsNothing()
{
    QFETCH(int, signal);
    QFETCH(QString, vgaModel);
    QFETCH(bool, linked);
    QFETCH(bool, rgbOwn);
    MatrixConfig matrix;
    matrix.vgaModel = vgaModel;
    matrix.responseTime = 100;
    QVERIFY(build(false, rgbOwn, matrix));
    chooseSignal(signal, 3, linked);
    ui->cent_tablewidget->clearSelection();
    QVERIFY(GlobalObject::targetAddressList.isEmpty());
    QVERIFY(GlobalObject::matrixOutList.isEmpty());

    ui->single_btn->click();

    QTest::qWait(100);
    QVERIFY(wiresCarry(QByteArray(), QByteArray(), QByteArray()));
    QCOMPARE(log(), QStringList());
    // Nothing switched, so no cell claims a new signal.
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column)
            QCOMPARE(cellText(row, column), QString());
    }
}

void TestMainMatrix::scenes_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<int>("scene");
    QTest::addColumn<bool>("linked");
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("matrixFirst");
    QTest::addColumn<bool>("ownPort");
    QTest::addColumn<QByteArray>("screen");
    QTest::addColumn<QByteArray>("matrix");
    QTest::addColumn<QStringList>("lines");

    const QByteArray none;
    QTest::newRow("save scene 10 on the wall")
        << true << 10 << false << 1 << false << false << wire({"C611FF5910BB"}) << none
        << QStringList{">C6,11,FF,59,10,BB(OK)"};
    QTest::newRow("load scene 3 on the wall")
        << false << 3 << false << 1 << false << false << wire({"C611FF5A03BB"}) << none
        << QStringList{">C6,11,FF,5A,03,BB(OK)"};
    QTest::newRow("load scene 99, the last one")
        << false << 99 << false << 1 << false << false << wire({"C611FF5A99BB"}) << none
        << QStringList{">C6,11,FF,5A,99,BB(OK)"};
    QTest::newRow("save scene 10 with the VGA matrix, screen first, main link")
        << true << 10 << true << 1 << false << false << wire({"C611FF5910BB"}) << asciiWire({"Save10."})
        << QStringList{">C6,11,FF,59,10,BB(OK)", "Save10. (OK)"};
    QTest::newRow("load scene 3 with the VIDEO matrix first, main link")
        << false << 3 << true << 0 << true << false << wire({"C611FF5A03BB"}) << asciiWire({"01PL3!"})
        << QStringList{"01PL3! (OK)", ">C6,11,FF,5A,03,BB(OK)"};
    QTest::newRow("save scene 12 on the RGB port")
        << true << 12 << true << 1 << false << true << wire({"C611FF5912BB"}) << asciiWire({"Save12."})
        << QStringList{">C6,11,FF,59,12,BB(OK)"};
    QTest::newRow("load scene 2 on the video port")
        << false << 2 << true << 0 << true << true << wire({"C611FF5A02BB"}) << asciiWire({"01PL2!"})
        << QStringList{">C6,11,FF,5A,02,BB(OK)"};
}

void TestMainMatrix::scenes()
{
    QFETCH(bool, save);
    QFETCH(int, scene);
    QFETCH(bool, linked);
    QFETCH(int, signal);
    QFETCH(bool, matrixFirst);
    QFETCH(bool, ownPort);
    QFETCH(QByteArray, screen);
    QFETCH(QByteArray, matrix);
    QFETCH(QStringList, lines);
    MatrixConfig config;
    config.videoModel = QStringLiteral("VMW-JCAV");
    config.responseTime = 300;
    config.matrixFirst = matrixFirst;
    const bool video = signal == 0;
    QVERIFY(build(ownPort && video, ownPort && !video, config));
    chooseSignal(signal, 1, linked);
    while (ui->scene_cb->count() < scene)
        ui->scene_cb->addItem(QStringLiteral("scene%1").arg(ui->scene_cb->count() + 1));
    ui->scene_cb->setCurrentIndex(scene - 1);

    (save ? ui->save_btn : ui->load_btn)->click();

    if (!ownPort) {
        QVERIFY(wiresCarry(matrixFirst ? matrix + screen : screen + matrix, QByteArray(), QByteArray()));
    } else {
        QVERIFY(wiresCarry(screen, video ? matrix : QByteArray(), video ? QByteArray() : matrix));
    }
    QCOMPARE(log(), lines);
    if (linked && !ownPort) {
        const CaptureLog &farEnd = ptys[MainPty]->log();
        const int second = matrixFirst ? matrix.size() : screen.size();
        const qint64 gap = arrivalMs(farEnd, second) - arrivalMs(farEnd, 0);
        QVERIFY2(gap >= 270 && gap < 2000, qPrintable(QString::number(gap)));
    }
    // Scenes re-label no cell.
    QCOMPARE(cellText(0, 0), QString());
}

void TestMainMatrix::sceneNotSent_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("linked");
    QTest::newRow("save, no scene chosen") << true << -1 << false;
    QTest::newRow("load, no scene chosen, with the matrix") << false << -1 << true;
    QTest::newRow("load scene 100") << false << 99 << false;
    QTest::newRow("save scene 100 with the matrix") << true << 99 << true;
}

void TestMainMatrix::sceneNotSent()
{
    QFETCH(bool, save);
    QFETCH(int, index);
    QFETCH(bool, linked);
    QVERIFY(build(false, false, MatrixConfig()));
    chooseSignal(1, 1, linked);
    while (ui->scene_cb->count() <= index)
        ui->scene_cb->addItem(QStringLiteral("scene%1").arg(ui->scene_cb->count() + 1));
    ui->scene_cb->setCurrentIndex(index);

    (save ? ui->save_btn : ui->load_btn)->click();

    QTest::qWait(100);
    QVERIFY(wiresCarry(QByteArray(), QByteArray(), QByteArray()));
    QCOMPARE(log(), QStringList());
}

void TestMainMatrix::sceneTourStep()
{
    QVERIFY(build(false, false, MatrixConfig()));
    // The tour writes its scene numbers in hex; the text goes out as it is.
    window->sendPlanCom(QStringLiteral("0A"));
    QVERIFY(wiresCarry(wire({"C611FF5A0ABB"}), QByteArray(), QByteArray()));
    QCOMPARE(log(), QStringList{">C6,11,FF,5A,0A,BB(OK)"});
}

void TestMainMatrix::matrixTourStep_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("videoOwn");
    QTest::addColumn<bool>("rgbOwn");
    QTest::addColumn<Pty>("arrivesOn");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("hex text, VIDEO side, on the video port")
        << QStringList{"F4032105000029"} << 0 << 1 << true << false << VideoPty << wire({"F4032105000029"});
    QTest::newRow("hex text, VIDEO side without its port, main link")
        << QStringList{"F4032105000029"} << 0 << 1 << false << true << MainPty << wire({"F4032105000029"});
    QTest::newRow("ASCII texts, RGB side without its port, main link")
        << QStringList{"3V1.", "3V2."} << 1 << 0 << true << false << MainPty << asciiWire({"3V1.", "3V2."});
    QTest::newRow("mixed text on the RGB port")
        << QStringList{"02ABC03"} << 2 << 0 << false << true << RgbPty << QByteArray("\x02" "ABC" "\x03");
}

void TestMainMatrix::matrixTourStep()
{
    QFETCH(QStringList, texts);
    QFETCH(int, type);
    QFETCH(int, signal);
    QFETCH(bool, videoOwn);
    QFETCH(bool, rgbOwn);
    QFETCH(Pty, arrivesOn);
    QFETCH(QByteArray, bytes);
    QVERIFY(build(videoOwn, rgbOwn, MatrixConfig()));

    window->sendMatrixCom(texts, type, signal, 10);

    QVERIFY(wiresCarry(arrivesOn == MainPty ? bytes : QByteArray(), arrivesOn == VideoPty ? bytes : QByteArray(),
               arrivesOn == RgbPty ? bytes : QByteArray()));
    // Only the main link reaches the log: its texts, each with a blank.
    QStringList lines;
    if (arrivesOn == MainPty) {
        for (const QString &text : texts)
            lines.append(text + QStringLiteral(" (OK)"));
    }
    QCOMPARE(log(), lines);
}

VW_TEST_MAIN(TestMainMatrix)
#include "tst_mainmatrix.moc"
