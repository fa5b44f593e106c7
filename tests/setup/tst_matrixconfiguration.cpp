#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>

#include "communication.h"
#include "globalobject.h"
#include "matrixconfigurationwindows.h"
#include "setuptest.h"
#include "tcpcaptureserver.h"
#include "testmain.h"

using namespace SetupTest;

namespace {

QTableWidget *table(QWidget *window)
{
    return child<QTableWidget>(window, "matr_tablewidget");
}

QString cell(QWidget *window, int row, int column)
{
    const QTableWidgetItem *item = table(window)->item(row, column);
    return item ? item->text() : QStringLiteral("<none>");
}

// The operator types into a cell of the output table.
void typeIntoCell(QWidget *window, int row, int column, const QString &text)
{
    table(window)->item(row, column)->setText(text);
}

QByteArray matrixOutArray(const QList<int> &values)
{
    QByteArray text = "MatrixOut\\size=" + QByteArray::number(values.size()) + "\n";
    for (int i = 0; i < values.size(); ++i)
        text += "MatrixOut\\" + QByteArray::number(i + 1) + "\\out=" + QByteArray::number(values[i]) + "\n";
    return text;
}

} // namespace

class TestMatrixConfiguration : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QFile::remove(ConfigFile::path());
        GlobalObject::matrixOutList = {1};
        GlobalObject::targetAddressList = {QStringLiteral("11")};
    }

    void firstStartDefaults()
    {
        MatrixConfigurationWindows window;
        QCOMPARE(window.getMatrixModel("VIDEO"), QStringLiteral("ACV"));
        QCOMPARE(window.getMatrixModel("VGA"), QStringLiteral("AE-VGA"));
        QCOMPARE(window.getMatrixModel("DVI"), QStringLiteral("ANTAI"));
        QCOMPARE(window.getMatrixModel("HDMI"), QStringLiteral("AE-T"));
        QCOMPARE(window.getMatrixModel("SDI"), QStringLiteral("CZ-VGA"));
        QCOMPARE(window.getMatrixInputNums(), (QList<int>{16, 16, 16, 16}));

        const InstructionRecord record = window.getInstructionRecord("VGA", "VGA01", 7);
        QCOMPARE(record.signalType, QStringLiteral("VGA"));
        QCOMPARE(record.model, QStringLiteral("VGA01"));
        QCOMPARE(record.videoId, QStringLiteral("01"));
        QCOMPARE(record.hdmiId, QStringLiteral("01"));
        QCOMPARE(record.value, 7);
        QCOMPARE(record.responseTime, 100);
        QCOMPARE(record.intervalTime, 100);
        QVERIFY(record.matrixFirst);
        QCOMPARE(GlobalObject::matrixOutList, QList<int>{1});
    }

    void modelOfType_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("count");
        QTest::newRow("last video model") << "video_cb" << "VIDEO" << 32 << "XM-AV" << 33;
        QTest::newRow("VGA spelling of btran") << "vga_cb" << "VGA" << 5 << "btran-888" << 40;
        QTest::newRow("VGA3 after VGA14") << "vga_cb" << "VGA" << 35 << "VGA3" << 40;
        QTest::newRow("last DVI model") << "dvi_cb" << "DVI" << 19 << "YJ" << 20;
        QTest::newRow("HDMI4K-T") << "hdmi_cb" << "HDMI" << 27 << "HDMI4K-T" << 44;
        QTest::newRow("second SDI model") << "sdi_cb" << "SDI" << 1 << "CZ-DVI" << 2;
    }

    void modelOfType()
    {
        QFETCH(QString, box);
        QFETCH(QString, type);
        QFETCH(int, index);
        QFETCH(QString, model);
        QFETCH(int, count);
        MatrixConfigurationWindows window;
        QComboBox *combo = window.findChild<QComboBox *>(box);
        QVERIFY(combo);
        QCOMPARE(combo->count(), count);
        QSignalSpy changed(&window, &MatrixConfigurationWindows::matrixSelectChange);
        combo->setCurrentIndex(index);
        QCOMPARE(window.getMatrixModel(type), model);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), type);
        QCOMPARE(changed.at(0).at(1).toString(), model);
    }

    void modelOfUnknownType_data()
    {
        QTest::addColumn<QString>("type");
        QTest::newRow("mixed case") << "Video";
        QTest::newRow("lower case") << "hdmi";
        QTest::newRow("type without matrix list") << "VIDEO2";
    }

    void modelOfUnknownType()
    {
        QFETCH(QString, type);
        MatrixConfigurationWindows window;
        QCOMPARE(window.getMatrixModel(type), QString());
    }

    void settingsRoundTrip()
    {
        {
            MatrixConfigurationWindows window;
            window.setRowColumn(3, 4);
            child<QLineEdit>(&window, "video_id")->setText("7");
            child<QLineEdit>(&window, "dvi_id")->setText("12");
            child<QLineEdit>(&window, "vga_id")->setText("255");
            child<QLineEdit>(&window, "hdmi_id")->setText("");
            child<QSpinBox>(&window, "rtime")->setValue(250);
            child<QSpinBox>(&window, "itime")->setValue(40);
            child<QRadioButton>(&window, "spreferred_rbt")->setChecked(true);
            child<QLineEdit>(&window, "vinputnum_le")->setText("32");
            child<QLineEdit>(&window, "dinputnum_le")->setText("8");
            child<QLineEdit>(&window, "vgainputnum_le")->setText("255");
            child<QLineEdit>(&window, "hinputnum_le")->setText("1");
            child<QComboBox>(&window, "video_cb")->setCurrentIndex(17);
            child<QComboBox>(&window, "vga_cb")->setCurrentIndex(35);
            child<QComboBox>(&window, "dvi_cb")->setCurrentIndex(19);
            child<QComboBox>(&window, "hdmi_cb")->setCurrentIndex(43);
            child<QComboBox>(&window, "sdi_cb")->setCurrentIndex(1);
            typeIntoCell(&window, 2, 3, "40"); // entry 11
            typeIntoCell(&window, 0, 1, "x");  // entry 1
            window.close();
        }
        {
            QSettings ini(ConfigFile::path(), QSettings::IniFormat);
            ini.beginGroup("MatrixConfig");
            QCOMPARE(ini.value("VideoId").toString(), QStringLiteral("7"));
            QCOMPARE(ini.value("DviId").toString(), QStringLiteral("12"));
            QCOMPARE(ini.value("VgaId").toString(), QStringLiteral("255"));
            QCOMPARE(ini.value("HdmiId").toString(), QString());
            QCOMPARE(ini.value("ResponseTime").toInt(), 250);
            QCOMPARE(ini.value("IntervalTime").toInt(), 40);
            QCOMPARE(ini.value("priority").toInt(), 0);
            QCOMPARE(ini.value("VideoInputNum").toString(), QStringLiteral("32"));
            QCOMPARE(ini.value("DviInputNum").toString(), QStringLiteral("8"));
            QCOMPARE(ini.value("VgaInputNum").toString(), QStringLiteral("255"));
            QCOMPARE(ini.value("HdmiInputNum").toString(), QStringLiteral("1"));
            QCOMPARE(ini.value("VideoIndex").toInt(), 17);
            QCOMPARE(ini.value("VgaIndex").toInt(), 35);
            QCOMPARE(ini.value("DviIndex").toInt(), 19);
            QCOMPARE(ini.value("HdmiIndex").toInt(), 43);
            QCOMPARE(ini.value("SdiIndex").toInt(), 1);
            // The whole map, not only the 12 cells shown.
            QCOMPARE(ini.value("MatrixOut/size").toInt(), 225);
            QCOMPARE(ini.value("MatrixOut/12/out").toInt(), 40);
            QCOMPARE(ini.value("MatrixOut/2/out").toInt(), 0);
            QCOMPARE(ini.value("MatrixOut/225/out").toInt(), 225);
        }

        MatrixConfigurationWindows window;
        QCOMPARE(window.getMatrixModel("VIDEO"), QStringLiteral("flowvia"));
        QCOMPARE(window.getMatrixModel("VGA"), QStringLiteral("VGA3"));
        QCOMPARE(window.getMatrixModel("DVI"), QStringLiteral("YJ"));
        QCOMPARE(window.getMatrixModel("HDMI"), QStringLiteral("TK"));
        QCOMPARE(window.getMatrixModel("SDI"), QStringLiteral("CZ-DVI"));
        QCOMPARE(window.getMatrixInputNums(), (QList<int>{32, 8, 255, 1}));
        const InstructionRecord record = window.getInstructionRecord("HDMI", "TK", 0);
        QCOMPARE(record.videoId, QStringLiteral("7"));
        QCOMPARE(record.dviId, QStringLiteral("12"));
        QCOMPARE(record.vgaId, QStringLiteral("255"));
        QCOMPARE(record.hdmiId, QString());
        QCOMPARE(record.responseTime, 250);
        QCOMPARE(record.intervalTime, 40);
        QVERIFY(!record.matrixFirst);
        const MATRIXBROWSEDATA browse = window.getMatrixBrowseData("DVI", "YJ");
        QCOMPARE(browse.matrixModel, QStringLiteral("YJ"));
        QCOMPARE(browse.dviId, QStringLiteral("12"));
        QCOMPARE(browse.intervalTime, 40);
        window.setRowColumn(3, 4);
        QCOMPARE(cell(&window, 2, 3), QStringLiteral("40"));
        QCOMPARE(cell(&window, 0, 1), QStringLiteral("0"));
        QCOMPARE(GlobalObject::matrixOutList, QList<int>{1});
    }

    void storedGroupIsReadDefensively_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("videoId");
        QTest::addColumn<int>("responseTime");
        QTest::addColumn<bool>("matrixFirst");
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<QString>("vgaModel");
        QTest::addColumn<QList<int>>("firstEntries");
        QTest::addColumn<int>("selectedOutput");
        QTest::addColumn<int>("lastEntry");
        const QList<int> identity{1, 2, 3, 4, 5};
        QTest::newRow("group without any listed key")
            << QByteArray("[MatrixConfig]\nOther=1\n") << "" << 0 << false << QList<int>{0, 0, 0, 0}
            << "AE-VGA" << identity << 1 << 225;
        QTest::newRow("four stored outputs, the rest kept")
            << QByteArray("[MatrixConfig]\npriority=1\nVgaIndex=21\n" + matrixOutArray({3, 0, 7, 1}))
            << "" << 0 << true << QList<int>{0, 0, 0, 0} << "VGA01" << QList<int>{3, 0, 7, 1, 5} << 3 << 225;
        QTest::newRow("priority 2 leaves matrix first")
            << QByteArray("[MatrixConfig]\npriority=2\nVideoId=3\nResponseTime=20000\n") << "3"
            << 9999 << true << QList<int>{0, 0, 0, 0} << "AE-VGA" << identity << 1 << 225;
        QTest::newRow("model index beyond the list")
            << QByteArray("[MatrixConfig]\nVgaIndex=40\nVideoInputNum=12\n") << "" << 0 << false
            << QList<int>{12, 0, 0, 0} << "AE-VGA" << identity << 1 << 225;
        QTest::newRow("negative model index")
            << QByteArray("[MatrixConfig]\nVgaIndex=-3\n") << "" << 0 << false
            << QList<int>{0, 0, 0, 0} << "AE-VGA" << identity << 1 << 225;
        QList<int> many;
        for (int i = 0; i < 300; ++i)
            many.append(1000 + i);
        QTest::newRow("more outputs than cells")
            << QByteArray("[MatrixConfig]\n" + matrixOutArray(many)) << "" << 0 << false
            << QList<int>{0, 0, 0, 0} << "AE-VGA" << QList<int>{1000, 1001, 1002, 1003, 1004}
            << 1000 << 1224;
    }

    void storedGroupIsReadDefensively()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, videoId);
        QFETCH(int, responseTime);
        QFETCH(bool, matrixFirst);
        QFETCH(QList<int>, counts);
        QFETCH(QString, vgaModel);
        QFETCH(QList<int>, firstEntries);
        QFETCH(int, selectedOutput);
        QFETCH(int, lastEntry);
        QVERIFY(writeConfig(ini));
        GlobalObject::matrixOutList = {9, 9};
        MatrixConfigurationWindows window;
        const InstructionRecord record = window.getInstructionRecord("VIDEO", "ACV", 1);
        QCOMPARE(record.videoId, videoId);
        QCOMPARE(record.responseTime, responseTime);
        QCOMPARE(record.matrixFirst, matrixFirst);
        QCOMPARE(window.getMatrixInputNums(), counts);
        QCOMPARE(window.getMatrixModel("VGA"), vgaModel);
        QCOMPARE(GlobalObject::matrixOutList, QList<int>{selectedOutput});
        window.setRowColumn(1, 5);
        for (int c = 0; c < 5; ++c)
            QCOMPARE(cell(&window, 0, c), QString::number(firstEntries[c]));
        window.setRowColumn(15, 15);
        QCOMPARE(cell(&window, 14, 14), QString::number(lastEntry));
    }

    void outputsOfSelectedScreens_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<QList<int>>("outputs");
        QTest::newRow("2 by 3 wall, column 2 row 1 then column 1 row 2")
            << 2 << 3 << QStringList{"21", "12"} << QList<int>{2, 4};
        QTest::newRow("15 by 15 wall, last screen") << 15 << 15 << QStringList{"FF"} << QList<int>{225};
        QTest::newRow("lower-case hex digit") << 15 << 15 << QStringList{"a1"} << QList<int>{10};
        QTest::newRow("nothing selected") << 2 << 2 << QStringList{} << QList<int>{};
        QTest::newRow("screen of a wall since made smaller")
            << 2 << 2 << QStringList{"11", "31", "13"} << QList<int>{1, 0, 0};
        QTest::newRow("zero digit and no hex digit")
            << 2 << 2 << QStringList{"01", "10", "1G", "-1"} << QList<int>{0, 0, 0, 0};
        QTest::newRow("address of the wrong length") << 2 << 2 << QStringList{"1", "111", ""}
                                                     << QList<int>{0, 0, 0};
    }

    void outputsOfSelectedScreens()
    {
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(QStringList, addresses);
        QFETCH(QList<int>, outputs);
        MatrixConfigurationWindows window;
        window.setRowColumn(rows, columns);
        child<QPushButton>(&window, "one_to_one")->click();
        window.updateMatrixOutList(addresses);
        QCOMPARE(GlobalObject::matrixOutList, outputs);
    }

    void editedCellsReachTheMapAndTheList()
    {
        MatrixConfigurationWindows window;
        window.setRowColumn(2, 3);
        typeIntoCell(&window, 1, 1, "9");
        typeIntoCell(&window, 0, 0, "five");
        typeIntoCell(&window, 0, 2, "9");
        // An edit reaches the list at the next selection change, not before.
        QCOMPARE(GlobalObject::matrixOutList, QList<int>{1});
        window.updateMatrixOutList({"22", "11", "31"});
        QCOMPARE(GlobalObject::matrixOutList, (QList<int>{9, 0, 9}));

        // Closing rebuilds the list for the screens selected then.
        GlobalObject::targetAddressList = {"31", "22"};
        window.close();
        QCOMPARE(GlobalObject::matrixOutList, (QList<int>{9, 9}));
    }

    void portMatchNumbersEveryEntry()
    {
        MatrixConfigurationWindows window;
        // Entries keep their flat place when the shape changes.
        window.setRowColumn(2, 4);
        typeIntoCell(&window, 1, 0, "77"); // entry 4
        window.setRowColumn(4, 2);
        QCOMPARE(cell(&window, 1, 0), QStringLiteral("3"));
        QCOMPARE(cell(&window, 2, 0), QStringLiteral("77"));
        window.setRowColumn(15, 15);
        typeIntoCell(&window, 14, 14, "3");
        window.setRowColumn(2, 3);
        child<QPushButton>(&window, "one_to_one")->click();
        QCOMPARE(table(&window)->rowCount(), 2);
        QCOMPARE(table(&window)->columnCount(), 3);
        QCOMPARE(cell(&window, 1, 2), QStringLiteral("6"));
        window.setRowColumn(15, 15);
        QCOMPARE(cell(&window, 0, 3), QStringLiteral("4"));
        QCOMPARE(cell(&window, 14, 14), QStringLiteral("225"));
    }

    void shrunkWallKeepsHiddenOutputsAcrossRestart()
    {
        {
            MatrixConfigurationWindows window;
            window.setRowColumn(3, 3);
            typeIntoCell(&window, 2, 2, "99"); // entry 8
            window.setRowColumn(2, 3);
            window.close();
        }
        MatrixConfigurationWindows window;
        window.setRowColumn(3, 3);
        QCOMPARE(cell(&window, 2, 2), QStringLiteral("99"));
    }

    void wallSizeOutsideOneToFifteenIsIgnored_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("expectedRows");
        QTest::addColumn<int>("expectedColumns");
        QTest::newRow("sixteen rows") << 16 << 5 << 4 << 5;
        QTest::newRow("zero columns") << 2 << 0 << 2 << 6;
        QTest::newRow("negative both") << -1 << -1 << 4 << 6;
        QTest::newRow("fifteen by fifteen") << 15 << 15 << 15 << 15;
    }

    void wallSizeOutsideOneToFifteenIsIgnored()
    {
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(int, expectedRows);
        QFETCH(int, expectedColumns);
        MatrixConfigurationWindows window;
        window.setRowColumn(4, 6);
        window.setRowColumn(rows, columns);
        QCOMPARE(table(&window)->rowCount(), expectedRows);
        QCOMPARE(table(&window)->columnCount(), expectedColumns);
        const int last = (expectedRows - 1) * expectedColumns + expectedColumns;
        QCOMPARE(cell(&window, expectedRows - 1, expectedColumns - 1), QString::number(last));
    }

    void inputCountEditTakesOneTo255_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("state");
        QTest::newRow("one") << "1" << int(QValidator::Acceptable);
        QTest::newRow("thirty") << "30" << int(QValidator::Acceptable);
        QTest::newRow("ninety") << "90" << int(QValidator::Acceptable);
        QTest::newRow("hundred") << "100" << int(QValidator::Acceptable);
        QTest::newRow("highest") << "255" << int(QValidator::Acceptable);
        QTest::newRow("zero") << "0" << int(QValidator::Invalid);
        QTest::newRow("one beyond") << "256" << int(QValidator::Invalid);
        QTest::newRow("four digits") << "1000" << int(QValidator::Invalid);
        QTest::newRow("letter") << "1a" << int(QValidator::Invalid);
    }

    void inputCountEditTakesOneTo255()
    {
        QFETCH(QString, text);
        QFETCH(int, state);
        MatrixConfigurationWindows window;
        for (const char *name : {"vinputnum_le", "dinputnum_le", "vgainputnum_le", "hinputnum_le"})
            QCOMPARE(validation(child<QLineEdit>(&window, name), text), state);
    }

    void idEditTakesUpToThreeDigits()
    {
        MatrixConfigurationWindows window;
        QLineEdit *id = child<QLineEdit>(&window, "hdmi_id");
        id->clear();
        QTest::keyClicks(id, "12a34");
        QCOMPARE(id->text(), QStringLiteral("123"));
        QCOMPARE(window.getInstructionRecord("HDMI", "TK", 1).hdmiId, QStringLiteral("123"));
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
        QCOMPARE(sizes.at(0).at(0).toString(), QStringLiteral("VIDEO"));
        QCOMPARE(sizes.at(0).at(1).toInt(), 128);

        // Clearing the edit announces nothing: an empty edit is no count.
        video->selectAll();
        QTest::keyClick(video, Qt::Key_Backspace);
        QTest::keyClick(video, Qt::Key_Return);
        QCOMPARE(sizes.count(), 1);

        // A count typed without Return is announced by the close.
        QLineEdit *hdmi = child<QLineEdit>(&window, "hinputnum_le");
        hdmi->clear();
        hdmi->insert("24");
        window.close();
        QCOMPARE(sizes.count(), 2);
        QCOMPARE(sizes.at(1).at(0).toString(), QStringLiteral("HDMI"));
        QCOMPARE(sizes.at(1).at(1).toInt(), 24);

        // The cleared video count is not saved empty: the next start would
        // read 0 and lose every video input name.
        QCOMPARE(video->text(), QStringLiteral("128"));
        QSettings ini(ConfigFile::path(), QSettings::IniFormat);
        QCOMPARE(ini.value("MatrixConfig/VideoInputNum").toString(), QStringLiteral("128"));
        MatrixConfigurationWindows again;
        QCOMPARE(again.getMatrixInputNums(), (QList<int>{128, 16, 16, 24}));
    }

    void languageSwitchKeepsEveryChoiceQuietly()
    {
        MatrixConfigurationWindows window;
        window.setRowColumn(2, 2);
        child<QComboBox>(&window, "hdmi_cb")->setCurrentIndex(26);
        child<QComboBox>(&window, "video_cb")->setEditText("MY-MATRIX");
        child<QLineEdit>(&window, "vinputnum_le")->setText("64");
        child<QLineEdit>(&window, "dvi_id")->setText("5");
        typeIntoCell(&window, 1, 1, "12");
        QSignalSpy models(&window, &MatrixConfigurationWindows::matrixSelectChange);
        QSignalSpy sizes(&window, &MatrixConfigurationWindows::matrixInputSizeChange);

        QString title;
        QString match;
        QVERIFY(inChinese([&] {
            title = child<QLabel>(&window, "label_title")->text();
            match = child<QPushButton>(&window, "one_to_one")->text();
        }));

        QCOMPARE(title, QStringLiteral("矩阵配置"));
        QCOMPARE(match, QStringLiteral("一对一接法"));
        QCOMPARE(models.count(), 0);
        QCOMPARE(sizes.count(), 0);
        QCOMPARE(window.getMatrixModel("HDMI"), QStringLiteral("HDMI4K"));
        QCOMPARE(window.getMatrixModel("VIDEO"), QStringLiteral("MY-MATRIX"));
        QCOMPARE(window.getMatrixInputNums(), (QList<int>{64, 16, 16, 16}));
        QCOMPARE(window.getInstructionRecord("DVI", "YJ", 1).dviId, QStringLiteral("5"));
        QCOMPARE(cell(&window, 1, 1), QStringLiteral("12"));
    }

    void repairButtonsSendOneFrameToTheWholeWall_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("repair on") << "on_btn" << QByteArray::fromHex("C611FFEB46BB");
        QTest::newRow("repair off") << "off_btn" << QByteArray::fromHex("C611FFEB45BB");
    }

    void repairButtonsSendOneFrameToTheWholeWall()
    {
        QFETCH(QString, button);
        QFETCH(QByteArray, frame);
        TcpCaptureServer bridge;
        QVERIFY(bridge.listen());
        QVERIFY(lcdCommunication.connectTcp(bridge.host(), bridge.port()));
        GlobalObject::wirelessMode = true;
        GlobalObject::linkOpen = true;
        GlobalObject::targetAddressList = {"23", "34"}; // the selection plays no part
        QSignalSpy echoed(&lcdCommunication, &Communication::sendComData);

        MatrixConfigurationWindows window;
        window.findChild<QPushButton *>(button)->click();

        QTRY_COMPARE_WITH_TIMEOUT(bridge.log().bytes(), frame, 5000);
        QCOMPARE(echoed.count(), 1);
        QCOMPARE(echoed.at(0).at(1).toBool(), true);
        GlobalObject::linkOpen = false;
        GlobalObject::wirelessMode = false;
        lcdCommunication.closeTcp();
    }

    void openWindowIsSavedWhenTheProgramEnds()
    {
        MatrixConfigurationWindows shown;
        MatrixConfigurationWindows hidden; // connects last: saving it would overwrite
        shown.show();
        child<QSpinBox>(&shown, "rtime")->setValue(321);
        QVERIFY(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit"));
        QSettings ini(ConfigFile::path(), QSettings::IniFormat);
        QCOMPARE(ini.value("MatrixConfig/ResponseTime").toInt(), 321);
    }
};

VW_TEST_MAIN(TestMatrixConfiguration)
#include "tst_matrixconfiguration.moc"
