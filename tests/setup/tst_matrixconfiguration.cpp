#include "matrixconfigurationwindows.h"
#include "windowtest.h"

using namespace WindowTest;

namespace {

QTableWidget *outputs(QWidget *window) { return child<QTableWidget>(window, "matr_tablewidget"); }

QString cell(QWidget *window, int row, int column)
{
    const QTableWidgetItem *item = outputs(window)->item(row, column);
    return item ? item->text() : QStringLiteral("<none>");
}

} // namespace

class TestMatrixConfiguration : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QFile::remove(ConfigFile::path()); ConfigFile::readAgain();
        GlobalObject::matrixOutList = {1};
        GlobalObject::targetAddressList = {QStringLiteral("11")};
    }

    // Saved by the close button, or open when the program ends.
    void settingsSurviveARestart_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::newRow("close button") << "close_pbtn";
        QTest::newRow("open when the program ends") << "quit";
    }
    void settingsSurviveARestart()
    {
        QFETCH(QString, ending);
        {
            MatrixConfigurationWindows window;
            MatrixConfigurationWindows hidden; // connects last: saving it would overwrite
            window.show();
            window.setRowColumn(3, 4);
            enter(&window, {"video_id=7", "hdmi_id=", "rtime=250", "itime=70", "spreferred_rbt=1", "dinputnum_le=8"});
            QSignalSpy changed(&window, &MatrixConfigurationWindows::matrixSelectChange);
            child<QComboBox>(&window, "dvi_cb")->setCurrentIndex(19);
            QCOMPARE(changed.value(0), (QVariantList{"DVI", "YJ"}));
            outputs(&window)->item(2, 3)->setText("40"); // entry 11
            outputs(&window)->item(0, 1)->setText("x");  // entry 1
            endSession(&window, ending);
            QCOMPARE(window.isVisible(), ending == "quit");
        }
        QSettings ini(ConfigFile::path(), QSettings::IniFormat);
        QCOMPARE(ini.value("MatrixConfig/MatrixOut/size").toInt(), 225); // the whole map, not the cells shown
        MatrixConfigurationWindows window;
        QCOMPARE(window.getMatrixModel("DVI"), QStringLiteral("YJ"));
        QCOMPARE(window.getMatrixInputNums(), (QList<int>{16, 8, 16, 16}));
        const InstructionRecord record = window.getInstructionRecord("HDMI", "TK", 0);
        QCOMPARE(record.videoId + "|" + record.hdmiId, QStringLiteral("7|"));
        QCOMPARE(record.responseTime * 1000 + record.intervalTime, 250070);
        QCOMPARE(QString::number(record.matrixFirst) + window.getMatrixBrowseData("DVI", "YJ").dviId, QStringLiteral("001"));
        window.setRowColumn(3, 4);
        QCOMPARE(cell(&window, 2, 3), QStringLiteral("40"));
        QCOMPARE(cell(&window, 0, 1), QStringLiteral("0"));
    }

    void storedGroupIsReadDefensively_data() { goldenRows(QStringLiteral("matrixstored.tsv")); }
    void storedGroupIsReadDefensively()
    {
        QByteArray ini = golden("ini").replace("\\n", "\n").toLatin1() + '\n';
        if (ini == "many\n") {
            ini = "[MatrixConfig]\nMatrixOut\\size=300\n";
            for (int i = 1; i <= 300; ++i)
                ini += "MatrixOut\\" + QByteArray::number(i) + "\\out=" + QByteArray::number(999 + i) + "\n";
        }
        QVERIFY(writeConfig(ini));
        MatrixConfigurationWindows window;
        const InstructionRecord record = window.getInstructionRecord("VIDEO", "ACV", 1);
        QTEST(QString::number(record.responseTime), "responseTime");
        QTEST(QString(record.matrixFirst ? "yes" : "no"), "matrixFirst");
        QTEST(window.getMatrixModel("VGA"), "vgaModel");
        const QStringList first = goldenList(golden("firstEntries"));
        QCOMPARE(GlobalObject::matrixOutList, QList<int>{first[0].toInt()});
        window.setRowColumn(1, 3);
        QCOMPARE(cell(&window, 0, 0) + "|" + cell(&window, 0, 1), first[0] + "|" + first[1]);
        window.setRowColumn(15, 15);
        QTEST(cell(&window, 14, 14), "lastEntry");
        window.close(); // saves the map of 225 outputs: nothing stored past it stays
        QVERIFY(!QSettings(ConfigFile::path(), QSettings::IniFormat).contains("MatrixConfig/MatrixOut/226/out"));
    }

    void editedCellsReachTheMapAndTheList()
    {
        MatrixConfigurationWindows window;
        window.setRowColumn(2, 3);
        // Column digit, then row digit; an address that names no cell gives 0.
        window.updateMatrixOutList({"21", "12", "41", "13", "FF", "1G", "01", "111", ""});
        QCOMPARE(GlobalObject::matrixOutList, (QList<int>{2, 4, 0, 0, 0, 0, 0, 0, 0}));
        outputs(&window)->item(1, 1)->setText("9");
        outputs(&window)->item(0, 0)->setText("five");
        QCOMPARE(GlobalObject::matrixOutList.value(1), 4); // not before the next selection change
        window.updateMatrixOutList({"22", "11", "31"});
        QCOMPARE(GlobalObject::matrixOutList, (QList<int>{9, 0, 3}));
        // Closing rebuilds the list for the screens selected then.
        GlobalObject::targetAddressList = {"22"};
        window.close();
        QCOMPARE(GlobalObject::matrixOutList, QList<int>{9});
    }

    void mapKeepsFlatPlacesAndOneToOneRenumbers()
    {
        MatrixConfigurationWindows window;
        window.setRowColumn(2, 4);
        outputs(&window)->item(1, 0)->setText("77"); // entry 4
        window.setRowColumn(4, 2);
        QCOMPARE(cell(&window, 2, 0), QStringLiteral("77"));
        window.setRowColumn(16, 0); // out of range: kept 4 by 2
        QCOMPARE(cell(&window, 3, 1), QStringLiteral("8"));
        QCOMPARE(cell(&window, 3, 2), QStringLiteral("<none>"));
        QCOMPARE(cell(&window, 4, 0), QStringLiteral("<none>"));
        window.setRowColumn(15, 15);
        outputs(&window)->item(14, 14)->setText("3");
        window.setRowColumn(2, 3);
        child<QPushButton>(&window, "one_to_one")->click();
        QCOMPARE(cell(&window, 1, 2), QStringLiteral("6"));
        window.setRowColumn(15, 15);
        QCOMPARE(cell(&window, 0, 3) + cell(&window, 14, 14), QStringLiteral("4225"));
    }

    void inputCountIsAnnouncedWhenTypingEnds()
    {
        MatrixConfigurationWindows window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy sizes(&window, &MatrixConfigurationWindows::matrixInputSizeChange);
        QLineEdit *video = child<QLineEdit>(&window, "vinputnum_le");
        video->setFocus();
        video->selectAll();
        QTest::keyClicks(video, "128");
        QCOMPARE(sizes.count(), 0); // not 1, then 12, then 128
        QTest::keyClick(video, Qt::Key_Return);
        QCOMPARE(sizes.count(), 1);
        QCOMPARE(sizes.at(0), (QVariantList{"VIDEO", 128}));
        // Cleared, the edit is no count: nothing announced, nothing saved empty.
        video->selectAll();
        QTest::keyClick(video, Qt::Key_Backspace);
        QTest::keyClick(video, Qt::Key_Return);
        child<QLineEdit>(&window, "hinputnum_le")->setText("24");
        window.close(); // announces what was typed without Return
        QCOMPARE(sizes.count(), 2);
        QCOMPARE(sizes.at(1), (QVariantList{"HDMI", 24}));
        QCOMPARE(MatrixConfigurationWindows().getMatrixInputNums(), (QList<int>{128, 16, 16, 24}));
    }

    void languageSwitchKeepsEveryChoiceQuietly()
    {
        MatrixConfigurationWindows window;
        window.setRowColumn(2, 2);
        enter(&window, {"hdmi_cb=26", "vinputnum_le=64"});
        child<QComboBox>(&window, "video_cb")->setEditText("MY-MATRIX");
        outputs(&window)->item(1, 1)->setText("12");
        QSignalSpy models(&window, &MatrixConfigurationWindows::matrixSelectChange);
        QSignalSpy sizes(&window, &MatrixConfigurationWindows::matrixInputSizeChange);
        QVERIFY(inChinese([] {}) && models.isEmpty() && sizes.isEmpty());
        QCOMPARE(window.getMatrixModel("HDMI") + ' ' + window.getMatrixModel("VIDEO"), QStringLiteral("HDMI4K MY-MATRIX"));
        QCOMPARE(window.getMatrixInputNums(), (QList<int>{64, 16, 16, 16}));
        QCOMPARE(cell(&window, 1, 1), QStringLiteral("12"));
    }

    void repairButtonsSendOneFrameToTheWholeWall()
    {
        TcpCaptureServer bridge;
        QVERIFY(bridge.openMainLink());
        GlobalObject::targetAddressList = {"23", "34"}; // the selection plays no part
        MatrixConfigurationWindows window;
        child<QPushButton>(&window, "on_btn")->click();
        child<QPushButton>(&window, "off_btn")->click();
        QTRY_COMPARE(bridge.log().bytes(), QByteArray::fromHex("C611FFEB46BB" "C611FFEB45BB"));
        closeAllLinks();
    }
};

VW_TEST_MAIN(TestMatrixConfiguration)
#include "tst_matrixconfiguration.moc"
