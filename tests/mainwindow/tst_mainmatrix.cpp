#include "consoletest.h"
#include "matrixconfigurationwindows.h"

using namespace WindowTest;

// Signal switching linked with the matrix, and scenes on the wall and the
// matrix, on three socat pty pairs: the main port and the own ports of the
// VIDEO matrix and of the matrix for the other signal types. Screens 11 and
// 21 of the 2 x 2 wall are selected; the output map feeds them from outputs
// 1 and 2. The matrices are CREATEK models ("<input>V<output>.") unless a
// row says otherwise.
class TestMainMatrix : public ConsoleTest
{
    Q_OBJECT

    enum Pty { MainPty, VideoPty, RgbPty };
    PtyPair ptys[3];
    MessageBoxCatcher catcher; // a message the test does not expect must not block it

    bool start(bool videoOwn, bool rgbOwn, const MatrixConfig &matrix = MatrixConfig())
    {
        writePortConfig({ptys[MainPty].devicePath(), ptys[VideoPty].devicePath(), ptys[RgbPty].devicePath()}, videoOwn,
                        rgbOwn);
        if (!writeMatrixConfig(matrix))
            return false;
        build();
        window->openSerial();
        selectCells(ui->cent_tablewidget, 0, 0, 0, 1);
        return GlobalObject::linkOpen && GlobalObject::matrixOutList == QList<int>({1, 2});
    }
    void choose(int signal, int input, bool linked)
    {
        enter(window, {QStringLiteral("signal_type_cb=%1").arg(signal), QStringLiteral("matrix_type_cb=%1").arg(input - 1),
                       QStringLiteral("link_cb=%1").arg(int(linked))});
    }
    // The three far ends carry exactly these bytes, and nothing more follows.
    bool wiresCarry(const QByteArray &main, const QByteArray &video = {}, const QByteArray &rgb = {})
    {
        const QByteArray expected[] = {main, video, rgb};
        auto carried = [&] {
            for (int i = 0; i < 3; ++i)
                if (ptys[i].log().bytes() != expected[i])
                    return false;
            return true;
        };
        const bool ok = QTest::qWaitFor(carried, 5000) && (QTest::qWait(50), carried());
        for (int i = 0; i < 3 && !ok; ++i)
            qWarning("%s: got %s, want %s", std::array<const char *, 3>{"main", "video", "RGB"}[i],
                     ptys[i].log().bytes().toHex().constData(), expected[i].toHex().constData());
        return ok;
    }
    // A model picked from a box of the matrix configuration.
    void pick(const QString &box, const QString &model)
    {
        auto *models = child<QComboBox>(window->matrixSetWindow, box);
        models->setCurrentIndex(models->findText(model));
    }
    QString cellText(int row, int column) const
    {
        const QTableWidgetItem *item = ui->cent_tablewidget->item(row, column);
        return item ? item->text() : QString();
    }

private slots:
    void initTestCase()
    {
        ConsoleTest::initTestCase();
        VW_REQUIRE_SOCAT();
        for (auto &pty : ptys)
            QVERIFY(pty.startListening());
    }
    void init()
    {
        for (auto &pty : ptys)
            pty.clearLog();
    }

    void linkedSwitchOrderAndWaits_data() { goldenRows(QStringLiteral("switchorder.tsv")); }
    void linkedSwitchOrderAndWaits()
    {
        const bool matrixFirst = golden("first") == "matrix";
        MatrixConfig matrix;
        matrix.responseTime = 500;
        matrix.intervalTime = 100;
        matrix.matrixFirst = matrixFirst;
        QVERIFY(start(false, false, matrix));
        choose(1, 3, true); // VGA, input 3
        const qint64 clicked = ptys[MainPty].log().nowNs();
        ui->single_btn->click();
        const QByteArray screen = wire({"C611212001BB"});
        const QByteArray switching = QByteArray("3V1.3V2.");
        QVERIFY(wiresCarry(matrixFirst ? switching + screen : screen + switching));
        const QStringList screenLine{">C6,11,21,20,01,BB(OK)"};
        const QStringList matrixLines{"3V1. (OK)", "3V2. (OK)"};
        QCOMPARE(log(), matrixFirst ? matrixLines + screenLine : screenLine + matrixLines);
        QCOMPARE(cellText(0, 0) + cellText(0, 1) + cellText(1, 0), QStringLiteral("VGAVGA"));
        // Each part waits for those ahead of it: 50 ms behind the screen
        // frame, the interval behind each matrix text, then the response time.
        const QList<qint64> after = ptys[MainPty].log().msAfter(clicked, 1); // byte by byte
        for (const QString &due : goldenList(golden("due"))) {
            const qint64 ms = after[due.section(':', 0, 0).toInt()], least = due.section(':', 1).toInt();
            QVERIFY2(ms >= least && ms < least + 1500, qPrintable(due + QStringLiteral(": %1").arg(ms)));
        }
    }

    void linkedSwitchRouting_data() { goldenRows(QStringLiteral("linkedswitch.tsv")); }
    void linkedSwitchRouting()
    {
        QFETCH(QString, signal);
        QFETCH(QString, ownPorts);
        QVERIFY(start(ownPorts.toInt() & 1, ownPorts.toInt() & 2));
        choose(qAbs(signal.toInt()), 3, true);
        if (signal.toInt() < 0)
            ui->linktitle_lb_2->setText("NO-SUCH");
        ui->single_btn->click();
        QVERIFY(wiresCarry(wire({golden("main")}), wire({golden("video")}), wire({golden("rgb")})));
        QCOMPARE(cellText(0, 1), ui->signal_type_cb->currentText());
    }

    // A model chosen in the matrix configuration for the signal type on
    // show is the one the next linked switch speaks; one chosen for another
    // type leaves it.
    void modelChosenInTheConfiguration()
    {
        QVERIFY(start(false, false));
        choose(1, 3, true); // VGA, input 3
        pick(QStringLiteral("hdmi_cb"), QStringLiteral("HDMI01"));
        QCOMPARE(ui->linktitle_lb_2->text(), QStringLiteral("CREATEK"));
        pick(QStringLiteral("vga_cb"), QStringLiteral("AE-VGA-T"));
        QCOMPARE(ui->linktitle_lb_2->text(), QStringLiteral("AE-VGA-T"));
        ui->single_btn->click();
        QVERIFY(wiresCarry(wire({"C611212001BB"}) + "1VM03TOALL"));
    }

    // The wall made wider in Splice Setting: a screen of the new column is
    // fed by the output the map gives its place, and the matrix switches it.
    void wallMadeWiderInSpliceSetting()
    {
        QVERIFY(start(false, false));
        window->getJoinSettingWindowsData({{"joinrow", "2"}, {"joincolumn", "3"}});
        selectCells(ui->cent_tablewidget, 0, 2, 0, 2);
        choose(1, 3, true); // VGA, input 3
        ui->single_btn->click();
        QVERIFY(wiresCarry(wire({"C631312001BB"}) + "3V3."));
    }

    void noMatrixInputChosen()
    {
        MatrixConfig matrix;
        matrix.responseTime = 9999; // the longest the form takes
        QVERIFY(start(false, true, matrix));
        choose(1, 0, true);
        QElapsedTimer took;
        took.start();
        ui->single_btn->click();
        // No response wait: a click that waited took all of it; half of it
        // leaves room for a busy machine.
        QVERIFY2(took.elapsed() < 5000, qPrintable(QString::number(took.elapsed())));
        QVERIFY(wiresCarry(wire({"C611212001BB"})));
    }

    void emptySelectionSendsNothing()
    {
        MatrixConfig matrix;
        matrix.models[1] = QStringLiteral("AE-VGA-T"); // builds a command for no output too
        QVERIFY(start(false, false, matrix));
        choose(1, 3, true);
        ui->cent_tablewidget->clearSelection();
        ui->single_btn->click();
        QVERIFY(wiresCarry(QByteArray()));
        QCOMPARE(log(), QStringList());
        QCOMPARE(cellText(0, 0), QString()); // nothing switched, nothing relabelled
    }

    void scenes_data() { goldenRows(QStringLiteral("mainscenes.tsv")); }
    void scenes()
    {
        QFETCH(QString, scene);
        const int type = golden("signal").toInt(); // -1: not linked
        MatrixConfig config;
        config.models[0] = QStringLiteral("VMW-JCAV");
        config.responseTime = 300;
        config.matrixFirst = true;
        QVERIFY(start(false, golden("ownPort") == "yes", config));
        choose(type < 0 ? 1 : type, 1, type >= 0);
        while (ui->scene_cb->count() < scene.toInt())
            ui->scene_cb->addItem(QString::number(ui->scene_cb->count() + 1));
        ui->scene_cb->setCurrentIndex(scene.toInt() - 1);
        const qint64 clicked = ptys[MainPty].log().nowNs();
        (golden("action") == "save" ? ui->save_btn : ui->load_btn)->click();
        QVERIFY(wiresCarry(wire({golden("main")}), QByteArray(), wire({golden("matrix")})));
        if (type == 0) { // the scene frame waits the response time behind the matrix text
            const qint64 ms = ptys[MainPty].log().msAfter(clicked, 1)[6];
            QVERIFY2(ms >= 300 && ms < 2000, qPrintable(QString::number(ms)));
        }
    }

    void tourSteps_data() { goldenRows(QStringLiteral("toursteps.tsv")); }
    void tourSteps()
    {
        const int type = golden("type").toInt();
        QVERIFY(start(golden("ownPorts").toInt() & 1, golden("ownPorts").toInt() & 2));
        window->sendMatrixCom(goldenList(golden("texts")), type, type == 0 ? 1 : 0, 10); // 1: the VIDEO side
        QVERIFY(wiresCarry(wire({golden("main")}), wire({golden("video")}), wire({golden("rgb")})));
        // Only the main link reaches the log, each text with a blank.
        QCOMPARE(log(), golden("main").isEmpty() ? QStringList() : QStringList({"3V1. (OK)", "3V2. (OK)"}));
        // A scene tour step writes its number in hex; the text goes out as it is.
        window->sendPlanCom(QStringLiteral("0A"));
        QTRY_VERIFY(ptys[MainPty].log().bytes().endsWith(wire({"C611FF5A0ABB"})));
    }
};

VW_TEST_MAIN(TestMainMatrix)
#include "tst_mainmatrix.moc"
