#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "appinit.h"
#include "configfile.h"
#include "globalobject.h"
#include "matrixconfigurationwindows.h"
#include "testmain.h"
#include "ui_velmar_windows.h"
#include "velmar_windows.h"

namespace {

void selectRect(QTableWidget *table, int top, int left, int bottom, int right)
{
    table->clearSelection();
    table->setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
}

void writeMainSetting(const QList<QPair<QString, QVariant>> &values)
{
    auto settings = ConfigFile::open();
    settings->remove(QStringLiteral("MainSetting"));
    settings->beginGroup(QStringLiteral("MainSetting"));
    for (const auto &value : values)
        settings->setValue(value.first, value.second);
    settings->endGroup();
}

void resetLanguageAndSkin()
{
    QCoreApplication::removeTranslator(&GlobalObject::translatorApp);
    QCoreApplication::removeTranslator(&GlobalObject::translatorQt);
    QCoreApplication::removeTranslator(&GlobalObject::translatorWidgets);
    GlobalObject::locale = QLocale(QLocale::English);
    permissionText = QStringLiteral("User");
    portStatusText = QStringLiteral("Closed");
    userName = QStringLiteral("Large-screen software");
    userImagePath = QStringLiteral(":/images/staticfile/images/logo.jpg");
    GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/blue.css"));
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsWithTwoByTwoWallAndDefaults();
    void selectionGivesAddresses_data();
    void selectionGivesAddresses();
    void shrinkThatDropsTheSelectionEmptiesTheList();
    void wallSizeFromTheSpliceWindow_data();
    void wallSizeFromTheSpliceWindow();
    void mainSettingRoundTrip();
    void chineseAndBlackSkinRestoredAtStart();
    void badStoredValuesKeepDefaults();
    void inputNamesFollowTheCounts();
    void renamesReachEveryCombo();
    void renameWithoutCurrentEntryDoesNothing();
    void languageSwitchKeepsChoices();
    void closingSavesAndClosesChildWindows();

private:
    Velmar_Windows *window = nullptr;
};

void TestMainWindow::initTestCase()
{
    new AppInit(this);
}

void TestMainWindow::init()
{
    QFile::remove(ConfigFile::path());
    resetLanguageAndSkin();
    GlobalObject::targetAddressList = {QStringLiteral("11")};
    GlobalObject::matrixOutList = {1};
    window = new Velmar_Windows;
}

void TestMainWindow::cleanup()
{
    delete window;
    window = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        w->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    resetLanguageAndSkin();
}

void TestMainWindow::startsWithTwoByTwoWallAndDefaults()
{
    Ui_Velmar_Windows *ui = window->ui;
    QCOMPARE(ui->cent_tablewidget->rowCount(), 2);
    QCOMPARE(ui->cent_tablewidget->columnCount(), 2);
    QCOMPARE(GlobalObject::targetAddressList, QList<QString>{QStringLiteral("11")});
    QCOMPARE(ui->scene_cb->count(), 16);
    QCOMPARE(ui->scene_cb->itemText(15), QStringLiteral("scene16"));
    QCOMPARE(ui->bscene_cb->count(), 16);
    QCOMPARE(ui->matrix_type_cb->count(), 16);
    QCOMPARE(window->generalMatrixIn.size(), 32);
    QVERIFY(ui->usertype_lb->text().contains(QStringLiteral("User")));
    QVERIFY(ui->time_label->text().contains(QLocale(QLocale::English).dayName(QDate::currentDate().dayOfWeek())));
    QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(window->property("CanMove").toBool());
    // The ribbon icons are embedded under their resource names.
    QVERIFY(!ui->port_open_btn->icon().isNull());
    QVERIFY(!ui->control_btn->icon().isNull());
}

void TestMainWindow::selectionGivesAddresses_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QRect>("cells"); // x = first column, y = first row
    QTest::addColumn<QStringList>("addresses");
    QTest::newRow("1 x 1 wall") << 1 << 1 << QRect(0, 0, 1, 1) << QStringList{"11"};
    QTest::newRow("2 x 3 wall, columns 2-3 of rows 1-2")
        << 2 << 3 << QRect(1, 0, 2, 2) << QStringList{"21", "22", "31", "32"};
    QTest::newRow("15 x 15 wall, bottom right") << 15 << 15 << QRect(14, 14, 1, 1) << QStringList{"FF"};
    QTest::newRow("column 11 row 4, upper case") << 15 << 15 << QRect(10, 3, 1, 1) << QStringList{"B4"};
    QTest::newRow("column 12 row 3 to column 10 row 15")
        << 15 << 15 << QRect(9, 2, 3, 1) << QStringList{"A3", "B3", "C3"};
}

void TestMainWindow::selectionGivesAddresses()
{
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(QRect, cells);
    QFETCH(QStringList, addresses);
    window->getJoinSettingWindowsData({{"joinrow", QString::number(rows)}, {"joincolumn", QString::number(columns)}});
    selectRect(window->ui->cent_tablewidget, cells.top(), cells.left(), cells.bottom(), cells.right());
    QStringList got = GlobalObject::targetAddressList;
    // The selection model's order is its own; what counts is each address once.
    got.sort();
    addresses.sort();
    QCOMPARE(got, addresses);
    QCOMPARE(GlobalObject::matrixOutList.size(), addresses.size());
}

void TestMainWindow::shrinkThatDropsTheSelectionEmptiesTheList()
{
    window->getJoinSettingWindowsData({{"joinrow", "4"}, {"joincolumn", "4"}});
    selectRect(window->ui->cent_tablewidget, 3, 3, 3, 3);
    QCOMPARE(GlobalObject::targetAddressList, QList<QString>{QStringLiteral("44")});
    window->getJoinSettingWindowsData({{"joinrow", "2"}, {"joincolumn", "2"}});
    QVERIFY(GlobalObject::targetAddressList.isEmpty());
    QVERIFY(GlobalObject::matrixOutList.isEmpty());
}

void TestMainWindow::wallSizeFromTheSpliceWindow_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<int>("expectRows");
    QTest::addColumn<int>("expectColumns");
    QTest::newRow("3 x 5") << "3" << "5" << 3 << 5;
    QTest::newRow("zero rows kept") << "0" << "5" << 2 << 2;
    QTest::newRow("16 columns kept") << "3" << "16" << 2 << 2;
    QTest::newRow("not a number kept") << "x" << "4" << 2 << 2;
}

void TestMainWindow::wallSizeFromTheSpliceWindow()
{
    QFETCH(QString, rows);
    QFETCH(QString, columns);
    QFETCH(int, expectRows);
    QFETCH(int, expectColumns);
    window->getJoinSettingWindowsData({{"joinrow", rows}, {"joincolumn", columns}});
    QCOMPARE(window->ui->cent_tablewidget->rowCount(), expectRows);
    QCOMPARE(window->ui->cent_tablewidget->columnCount(), expectColumns);
}

void TestMainWindow::mainSettingRoundTrip()
{
    Ui_Velmar_Windows *ui = window->ui;
    window->getJoinSettingWindowsData({{"joinrow", "3"}, {"joincolumn", "4"}});
    userName = QStringLiteral("Control room");
    ui->signal_type_cb->setCurrentIndex(3); // HDMI
    ui->matrix_type_cb->setCurrentIndex(5);
    window->updateMInputName(QStringLiteral("Camera 6"));
    ui->scene_cb->setCurrentIndex(2);
    window->updateSceneName(QStringLiteral("Evening"));
    ui->bscene_cb->setCurrentIndex(1);
    ui->sscene_cb->setCurrentIndex(7);
    ui->retard_btn->setChecked(true);
    ui->link_cb->setChecked(true);
    ui->fan_sp1->setValue(120);
    ui->fan_sp2->setValue(30);
    ui->matrix_bin_le->setText(QStringLiteral("003"));
    ui->matrix_eout_le->setText(QStringLiteral("009"));
    ui->matrix_sec->setValue(7);
    ui->scene_sec->setValue(9);
    window->close();

    QSettings file(ConfigFile::path(), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("MainSetting"));
    QCOMPARE(file.value("Row").toInt(), 3);
    QCOMPARE(file.value("Column").toInt(), 4);
    QCOMPARE(file.value("SignalIndex").toInt(), 3);
    QCOMPARE(file.value("MatrixInputIndex").toInt(), 5);
    QCOMPARE(file.value("Username").toString(), QStringLiteral("Control room"));
    QCOMPARE(file.value("DelayOn").toInt(), 1);
    QCOMPARE(file.value("Language").toInt(), 0);
    QCOMPARE(file.value("Skin").toInt(), 0);
    QCOMPARE(file.value("SceneList/3/Scene").toString(), QStringLiteral("Evening"));
    QCOMPARE(file.value("SceneList/size").toInt(), 16);
    QCOMPARE(file.value("HdmiMatrixIn/6/In").toString(), QStringLiteral("Camera 6"));
    QCOMPARE(file.value("GeneralMatrixIn/size").toInt(), 32);
    file.endGroup();

    delete window;
    userName.clear();
    window = new Velmar_Windows;
    ui = window->ui;
    QCOMPARE(ui->cent_tablewidget->rowCount(), 3);
    QCOMPARE(ui->cent_tablewidget->columnCount(), 4);
    QCOMPARE(ui->signal_type_cb->currentText(), QStringLiteral("HDMI"));
    QCOMPARE(ui->matrix_type_cb->currentText(), QStringLiteral("Camera 6"));
    QCOMPARE(ui->scene_cb->currentText(), QStringLiteral("Evening"));
    QCOMPARE(ui->bscene_cb->currentIndex(), 1);
    QCOMPARE(ui->sscene_cb->currentIndex(), 7);
    QCOMPARE(ui->sscene_cb->itemText(2), QStringLiteral("Evening"));
    QVERIFY(ui->retard_btn->isChecked());
    QVERIFY(ui->set_sec->isEnabled());
    QVERIFY(ui->link_cb->isChecked());
    QVERIFY(ui->matrix_type_cb->isEnabled());
    QCOMPARE(ui->fan_sp1->value(), 120);
    QCOMPARE(ui->fan_sp2->value(), 30);
    QCOMPARE(ui->matrix_bin_le->text(), QStringLiteral("003"));
    QCOMPARE(ui->matrix_eout_le->text(), QStringLiteral("009"));
    QCOMPARE(ui->matrix_sec->value(), 7);
    QCOMPARE(ui->scene_sec->value(), 9);
    QCOMPARE(userName, QStringLiteral("Control room"));
    QCOMPARE(ui->show_username->text(), QStringLiteral("Control room"));
}

void TestMainWindow::chineseAndBlackSkinRestoredAtStart()
{
    delete window;
    writeMainSetting({{"Language", 1}, {"Skin", 1}, {"Row", 2}, {"Column", 2}});
    window = new Velmar_Windows;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCOMPARE(window->languageIndex, true);
    QCOMPARE(window->skinIndex, 1);
    QCOMPARE(portStatusText, QStringLiteral("关闭"));
    QCOMPARE(permissionText, QStringLiteral("用户"));
    QCOMPARE(GlobalObject::locale.language(), QLocale::Chinese);
    QVERIFY(qApp->styleSheet().startsWith(QStringLiteral("QPalette{background:#E6E6E6;}")));
    QCOMPARE(window->ui->language_btn->text(), QStringLiteral("English"));
    QVERIFY(window->ui->usertype_lb->text().contains(QStringLiteral("用户")));
    QCOMPARE(window->ui->linktitle_lb_2->text(), window->matrixSetWindow->getMatrixModel(QStringLiteral("VIDEO")));
    window->close();
    QSettings file(ConfigFile::path(), QSettings::IniFormat);
    QCOMPARE(file.value("MainSetting/Language").toInt(), 1);
    QCOMPARE(file.value("MainSetting/Skin").toInt(), 1);
}

void TestMainWindow::badStoredValuesKeepDefaults()
{
    delete window;
    writeMainSetting({{"Language", 2}, {"Skin", 5}, {"Row", 16}, {"Column", 0}, {"DelayOn", 5}, {"SignalIndex", 9}});
    window = new Velmar_Windows;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    // Only 1 means Chinese; the flag saved next time says English.
    QCOMPARE(window->languageIndex, false);
    QCOMPARE(GlobalObject::locale.language(), QLocale::English);
    QCOMPARE(window->skinIndex, 0);
    QCOMPARE(window->ui->cent_tablewidget->rowCount(), 2);
    QCOMPARE(window->ui->cent_tablewidget->columnCount(), 2);
    QVERIFY(!window->ui->retard_btn->isChecked());
    QCOMPARE(window->ui->signal_type_cb->currentText(), QStringLiteral("VIDEO"));
    // A group without the arrays leaves the lists empty, and nothing crashes.
    QCOMPARE(window->ui->scene_cb->count(), 0);
    window->updateSceneName(QStringLiteral("x"));
    window->updateMInputName(QStringLiteral("x"));
}

void TestMainWindow::inputNamesFollowTheCounts()
{
    Ui_Velmar_Windows *ui = window->ui;
    ui->signal_type_cb->setCurrentText(QStringLiteral("VGA"));
    ui->matrix_type_cb->setCurrentIndex(2);
    window->updateMInputName(QStringLiteral("Lobby"));
    window->updateMatrixInputSize(QStringLiteral("VGA"), 20);
    QCOMPARE(ui->matrix_type_cb->count(), 20);
    QCOMPARE(ui->matrix_type_cb->itemText(19), QStringLiteral("20"));
    QCOMPARE(ui->matrix_type_cb->itemText(2), QStringLiteral("Lobby"));
    window->updateMatrixInputSize(QStringLiteral("VGA"), 8);
    QCOMPARE(window->vgaMatrixIn.size(), 8);
    QCOMPARE(window->vgaMatrixIn.at(2), QStringLiteral("Lobby"));
    // Another type's list changes without touching the combo.
    window->updateMatrixInputSize(QStringLiteral("DVI"), 4);
    QCOMPARE(window->dviMatrixIn.size(), 4);
    QCOMPARE(ui->matrix_type_cb->count(), 8);
    window->updateMatrixInputSize(QStringLiteral("HDMI"), -3);
    QVERIFY(window->hdmiMatrixIn.isEmpty());
    window->updateMatrixInputSize(QStringLiteral("SDI"), 3);
    QCOMPARE(window->generalMatrixIn.size(), 32);
    // SDI and YUV use the general list.
    ui->signal_type_cb->setCurrentText(QStringLiteral("YUV"));
    QCOMPARE(ui->matrix_type_cb->count(), 32);
    QCOMPARE(ui->linktitle_lb_2->text(), QString());
}

void TestMainWindow::renamesReachEveryCombo()
{
    Ui_Velmar_Windows *ui = window->ui;
    ui->scene_cb->setCurrentIndex(4);
    ui->bscene_cb->setCurrentIndex(0);
    window->updateSceneName(QStringLiteral("Night"));
    for (QComboBox *combo : {ui->scene_cb, ui->bscene_cb, ui->sscene_cb})
        QCOMPARE(combo->itemText(4), QStringLiteral("Night"));
    QCOMPARE(window->sceneNames.at(4), QStringLiteral("scene5"));
}

void TestMainWindow::renameWithoutCurrentEntryDoesNothing()
{
    window->updateMatrixInputSize(QStringLiteral("VIDEO"), 0);
    QCOMPARE(window->ui->matrix_type_cb->count(), 0);
    window->updateMInputName(QStringLiteral("Nothing"));
    QVERIFY(window->videoMatrixIn.isEmpty());
}

void TestMainWindow::languageSwitchKeepsChoices()
{
    Ui_Velmar_Windows *ui = window->ui;
    ui->signal_type_cb->setCurrentIndex(3);
    ui->matrix_type_cb->setCurrentIndex(6);
    ui->scene_cb->setCurrentIndex(3);
    ui->bscene_cb->setCurrentIndex(4);
    ui->sscene_cb->setCurrentIndex(5);
    ui->fan_sp1->setValue(77);
    ui->matrix_bin_le->setText(QStringLiteral("005"));
    window->getJoinSettingWindowsData({{"joinrow", "3"}, {"joincolumn", "3"}});
    selectRect(ui->cent_tablewidget, 1, 1, 2, 2);
    const QList<QString> selected = GlobalObject::targetAddressList;

    ui->link_cb->setChecked(true);
    const QString model = ui->linktitle_lb_2->text();
    QCOMPARE(model, window->matrixSetWindow->getMatrixModel(QStringLiteral("HDMI")));

    window->languageSwitch();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    // The linked switch takes the model from this label.
    QCOMPARE(ui->linktitle_lb_2->text(), model);
    QCOMPARE(permissionText, QStringLiteral("用户"));
    QCOMPARE(portStatusText, QStringLiteral("关闭"));
    QCOMPARE(ui->signal_type_cb->currentIndex(), 3);
    QCOMPARE(ui->matrix_type_cb->currentIndex(), 6);
    QCOMPARE(ui->scene_cb->currentIndex(), 3);
    QCOMPARE(ui->bscene_cb->currentIndex(), 4);
    QCOMPARE(ui->sscene_cb->currentIndex(), 5);
    QCOMPARE(ui->fan_sp1->value(), 77);
    QCOMPARE(ui->matrix_bin_le->text(), QStringLiteral("005"));
    QCOMPARE(GlobalObject::targetAddressList, selected);
    QCOMPARE(ui->language_btn->text(), QStringLiteral("English"));
    QVERIFY(!ui->show_image->pixmap(Qt::ReturnByValue).isNull());

    window->languageSwitch();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCOMPARE(permissionText, QStringLiteral("User"));
    QCOMPARE(portStatusText, QStringLiteral("Closed"));
    QCOMPARE(GlobalObject::locale.language(), QLocale::English);
    QCOMPARE(ui->language_btn->text(), QStringLiteral("Chinese"));
    QCOMPARE(ui->matrix_type_cb->currentIndex(), 6);
}

void TestMainWindow::closingSavesAndClosesChildWindows()
{
    window->show();
    window->showMatrixSetWindow();
    auto *matrixWindow = window->matrixSetWindow;
    QVERIFY(matrixWindow->isVisible());
    window->close();
    QVERIFY(!matrixWindow->isVisible());
    QVERIFY(ConfigFile::hasGroup(QStringLiteral("MainSetting")));
    QVERIFY(ConfigFile::hasGroup(QStringLiteral("MatrixConfig")));
}

VW_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
