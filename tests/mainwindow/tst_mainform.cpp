#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTranslator>

#include "globalobject.h"
#include "testmain.h"
#include "ui_velmar_windows.h"

namespace {

const QString imageDir = QStringLiteral(":/images/staticfile/images/");

// What the operator reads on a widget: a button's or a label's text, a group
// box's title, or for a tab page the title of its tab.
QString shownText(QWidget *root, const QString &name)
{
    QWidget *w = root->findChild<QWidget *>(name);
    if (!w)
        return QStringLiteral("<no %1>").arg(name);
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    if (auto *g = qobject_cast<QGroupBox *>(w))
        return g->title();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    // A tab page sits in the tab widget's internal stack.
    QWidget *stack = w->parentWidget();
    if (auto *tabs = qobject_cast<QTabWidget *>(stack ? stack->parentWidget() : nullptr))
        return tabs->tabText(tabs->indexOf(w));
    return QStringLiteral("<no text on %1>").arg(name);
}

// The form's own widgets that were disabled by themselves, not through a
// parent; unnamed ones are the internals of Qt's widgets.
QStringList explicitlyDisabled(QWidget *root)
{
    QStringList names;
    for (QWidget *w : root->findChildren<QWidget *>())
        if (w->testAttribute(Qt::WA_ForceDisabled) && !w->objectName().isEmpty())
            names << w->objectName();
    names.sort();
    return names;
}

QStringList checkedButtons(QWidget *root)
{
    QStringList names;
    for (QAbstractButton *b : root->findChildren<QAbstractButton *>())
        if (b->isChecked())
            names << b->objectName();
    names.sort();
    return names;
}

} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void disabledAtStartAreExactlyTheLockedControls();
    void onlyAgingAndLogoCloseStartChecked();
    void startPagesAndIndexes();
    void radioGroups_data();
    void radioGroups();
    void ribbonButtonsAndTheirIcons_data();
    void ribbonButtonsAndTheirIcons();
    void retextingResetsEditsAndEmptiesStatusLabels();
    void screenTableSelectsOneRectangleAndNeverEdits();
    void everyWidgetGetsItsMinimumAtTheWindowsMinimum();
    void chineseTexts_data();
    void chineseTexts();
    void englishAgainAfterTheTranslatorGoes();

private:
    QWidget *host = nullptr;
    Ui_Velmar_Windows *ui = nullptr;
    QTranslator *translator = nullptr;
};

void TestMainForm::init()
{
    host = new QWidget;
    ui = new Ui_Velmar_Windows;
    ui->setupUi(host);
}

void TestMainForm::cleanup()
{
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    qApp->setStyleSheet(QString());
    delete host;
    delete ui;
    host = nullptr;
    ui = nullptr;
}

void TestMainForm::disabledAtStartAreExactlyTheLockedControls()
{
    QStringList expected{
        "port_close_btn", "mat_set_btn", "play_set_btn", "control_btn", "matrix_type_cb",
        "mini_btn", "set_sec", "sec_lb", "on_btn", "off_btn", "fan_sp1", "fan_sp2",
        "logomodel_gb", "beginmatrix_btn", "stopmatrix_btn", "beginplan_btn", "stopplan_btn"};
    expected.sort();
    QCOMPARE(explicitlyDisabled(host), expected);
    // The logo mode buttons follow their group box.
    QVERIFY(!ui->joinmodel_btn->isEnabledTo(host));
    QVERIFY(!ui->alonemodel_btn->isEnabledTo(host));
}

void TestMainForm::onlyAgingAndLogoCloseStartChecked()
{
    QCOMPARE(checkedButtons(host), (QStringList{"age_close", "logo_close"}));
}

void TestMainForm::startPagesAndIndexes()
{
    QCOMPARE(ui->tabWidget->currentWidget(), ui->tab_1);
    QCOMPARE(ui->signal_type_cb->currentIndex(), 0);
    QCOMPARE(ui->signal_type_cb->currentText(), QStringLiteral("VIDEO"));
    QCOMPARE(ui->matrix_type_cb->currentIndex(), -1);
    QCOMPARE(ui->scene_cb->currentIndex(), -1);
    QCOMPARE(ui->stackedWidget->currentWidget(), ui->page_3);
    QCOMPARE(ui->stackedWidget->indexOf(ui->page_4), 1);
    QCOMPARE(ui->botton_tabwidget->currentWidget(), ui->bottab_1);
    // The controls the window's code hands a line edit or a completer to.
    QVERIFY(ui->matrix_type_cb->isEditable() && ui->matrix_type_cb->lineEdit());
    QVERIFY(ui->scene_cb->isEditable());
    QVERIFY(ui->bscene_cb->isEditable());
    QVERIFY(ui->sscene_cb->isEditable());
    QVERIFY(!ui->signal_type_cb->isEditable());
    QCOMPARE(ui->matrix_type_cb->insertPolicy(), QComboBox::NoInsert);
    QCOMPARE(ui->skin_btn->popupMode(), QToolButton::InstantPopup);
    QCOMPARE(ui->cent_tablewidget->contextMenuPolicy(), Qt::CustomContextMenu);
}

void TestMainForm::radioGroups_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("otherGroup");

    QTest::newRow("manual fan unchecks normally open") << "fan_open" << "fan_manual" << "ti0_btn";
    QTest::newRow("auto fan unchecks normal close") << "fan_close" << "fan_auto" << "agroup_btn";
    QTest::newRow("TI 1 unchecks TI 0") << "ti0_btn" << "ti1_btn" << "fan_auto";
    QTest::newRow("B group unchecks A group") << "agroup_btn" << "bgroup_btn" << "eightbit_btn";
    QTest::newRow("10 bit unchecks 8 bit") << "eightbit_btn" << "tenbit_btn" << "ti1_btn";
    QTest::newRow("aging open unchecks aging close") << "age_close" << "age_open" << "logo_open";
    QTest::newRow("logo open unchecks logo close") << "logo_close" << "logo_open" << "age_open";
}

void TestMainForm::radioGroups()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, otherGroup);

    auto *a = host->findChild<QAbstractButton *>(first);
    auto *b = host->findChild<QAbstractButton *>(second);
    auto *other = host->findChild<QAbstractButton *>(otherGroup);
    QVERIFY(a && b && other);

    other->setChecked(true);
    a->setChecked(true);
    b->setChecked(true);
    QVERIFY(!a->isChecked());
    QVERIFY(b->isChecked());
    // A radio of another group keeps its own state.
    QVERIFY(other->isChecked());
}

void TestMainForm::ribbonButtonsAndTheirIcons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("icon");

    QTest::newRow("open link") << "port_open_btn" << "Open" << "连接串口.png";
    QTest::newRow("close link") << "port_close_btn" << "Close" << "断开串口.png";
    QTest::newRow("port setting") << "port_set_btn" << "Port Setting" << "通讯配置.png";
    QTest::newRow("splice setting") << "spl_set_btn" << "Splice Setting" << "拼接配置.png";
    QTest::newRow("matrix setting") << "mat_set_btn" << "Matrix Setting" << "矩阵配置.png";
    QTest::newRow("administrator") << "admin_btn" << "Administrator" << "管理员.png";
    QTest::newRow("language") << "language_btn" << "Chinese" << "语言.png";
    QTest::newRow("about") << "about_btn" << "About" << "版本信息.png";
    QTest::newRow("multi-media") << "play_set_btn" << "Multi-Media" << "播放设置.png";
    QTest::newRow("address set") << "addr_set_btn" << "Address set" << "地址设置.png";
    QTest::newRow("skin") << "skin_btn" << "Skin" << "皮肤.png";
    QTest::newRow("timing") << "timi_btn" << "Timing" << "定时设置.png";
    QTest::newRow("controller") << "control_btn" << "Controller" << "虚拟遥控.png";
    QTest::newRow("subtitle") << "font_set_btn" << "Subtitle" << "字幕设置.png";
}

void TestMainForm::ribbonButtonsAndTheirIcons()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, icon);

    auto *button = host->findChild<QToolButton *>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), text);
    QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QCOMPARE(button->iconSize(), QSize(70, 70));
    QVERIFY(button->minimumWidth() >= 105 && button->minimumHeight() >= 100);
    // The window sets the icons; the form leaves them empty.
    QVERIFY(button->icon().isNull());

    const QPixmap picture(imageDir + icon);
    QVERIFY2(!picture.isNull(), qPrintable(imageDir + icon));
    QCOMPARE(picture.size(), QSize(70, 70));
    // Drawn on a transparent ground, so the skin shows around the pictogram.
    QVERIFY(picture.hasAlphaChannel());
    const QImage image = picture.toImage();
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(69, 0)), 0);
}

void TestMainForm::retextingResetsEditsAndEmptiesStatusLabels()
{
    ui->matrix_bin_le->setText("005");
    ui->matrix_ein_le->setText("006");
    ui->matrix_bout_le->setText("007");
    ui->matrix_eout_le->setText("008");
    for (QLabel *l : {ui->show_comstatus, ui->usertype_lb, ui->time_label, ui->show_username,
                      ui->show_image, ui->linktitle_lb_2})
        l->setText("filled by the window");

    ui->retranslateUi(host);

    QCOMPARE(ui->matrix_bin_le->text(), QStringLiteral("01"));
    QCOMPARE(ui->matrix_ein_le->text(), QStringLiteral("02"));
    QCOMPARE(ui->matrix_bout_le->text(), QStringLiteral("01"));
    QCOMPARE(ui->matrix_eout_le->text(), QStringLiteral("02"));
    for (QLabel *l : {ui->show_comstatus, ui->usertype_lb, ui->time_label, ui->show_username,
                      ui->show_image, ui->linktitle_lb_2})
        QVERIFY2(l->text().isEmpty(), qPrintable(l->objectName()));
    QCOMPARE(ui->signal_type_cb->count(), 7);
}

void TestMainForm::screenTableSelectsOneRectangleAndNeverEdits()
{
    QTableWidget *table = ui->cent_tablewidget;
    QCOMPARE(table->rowCount(), 0);
    QCOMPARE(table->columnCount(), 0);
    QVERIFY(table->horizontalHeader()->isHidden());
    QVERIFY(table->verticalHeader()->isHidden());

    // Arrange the grid as the window does at start, a little larger.
    table->setRowCount(3);
    table->setColumnCount(3);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            table->setItem(r, c, new QTableWidgetItem(QStringLiteral("screen")));
    host->show();
    QVERIFY(QTest::qWaitForWindowExposed(host));

    auto centre = [table](int r, int c) { return table->visualRect(table->model()->index(r, c)).center(); };
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, centre(0, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ControlModifier, centre(2, 2));
    QCOMPARE(table->selectedRanges().size(), 1);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ShiftModifier, centre(1, 1));
    QCOMPARE(table->selectedRanges().size(), 1);

    QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, centre(1, 1));
    QVERIFY(!table->viewport()->findChild<QLineEdit *>());
    QCOMPARE(table->item(1, 1)->text(), QStringLiteral("screen"));
}

void TestMainForm::everyWidgetGetsItsMinimumAtTheWindowsMinimum()
{
    // With the skin the program starts with: its paddings and borders count.
    GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/blue.css"));
    QVERIFY(!qApp->styleSheet().isEmpty());
    host->resize(host->minimumSize());
    host->show();
    QVERIFY(QTest::qWaitForWindowExposed(host));
    // The bottom row shows the device tabs while someone is logged in.
    for (int page : {0, 1}) {
        ui->stackedWidget->setCurrentIndex(page);
        QCoreApplication::processEvents();
        for (QWidget *w : host->findChildren<QWidget *>()) {
            if (!w->isVisible() || w->objectName().isEmpty() || w->objectName().startsWith("qt_"))
                continue;
            QVERIFY2(w->width() >= w->minimumWidth() && w->height() >= w->minimumHeight(),
                     qPrintable(QStringLiteral("%1 is %2x%3, below %4x%5")
                                    .arg(w->objectName())
                                    .arg(w->width())
                                    .arg(w->height())
                                    .arg(w->minimumWidth())
                                    .arg(w->minimumHeight())));
            // A layout that needs more room than it has pushes widgets past
            // their parent's edge, where they are cut off.
            QVERIFY2(w->parentWidget()->rect().contains(w->geometry()),
                     qPrintable(QStringLiteral("%1 sticks out of %2")
                                    .arg(w->objectName(), w->parentWidget()->objectName())));
        }
    }
}

void TestMainForm::chineseTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("chinese");

    QTest::newRow("link open button") << "port_open_btn" << "Open" << "连接串口/无线";
    QTest::newRow("link close button") << "port_close_btn" << "Close" << "断开串口/无线";
    QTest::newRow("aging open radio") << "age_open" << "Open " << "打开";
    QTest::newRow("aging close radio") << "age_close" << "Close " << "关闭";
    QTest::newRow("logo open radio") << "logo_open" << "Open " << "打开";
    QTest::newRow("logo close radio") << "logo_close" << "Close " << "关闭";
    QTest::newRow("language button names the other language") << "language_btn" << "Chinese"
                                                               << "English";
    QTest::newRow("port operate tab") << "tab_1" << "  Port Operate " << " 串口通讯 ";
    QTest::newRow("config tab") << "tab_2" << " Config " << " 功能配置 ";
    QTest::newRow("other tab") << "tab_3" << "  Other  " << " 附加功能 ";
    QTest::newRow("temperature tab") << "bottab_1" << "℃ Control" << "温度控制";
    QTest::newRow("AMD tab") << "bottab_5" << " AMD Adapt" << "AMD修正";
    QTest::newRow("splice button") << "single_btn" << "Splice" << "拼接";
    QTest::newRow("single button") << "run_btn" << "Single" << "单显";
    QTest::newRow("signal group") << "groupBox" << "Signal" << "信号选择";
    QTest::newRow("logo mode group") << "logomodel_gb" << "StartUp Logo Mode" << "开机 LOGO 模式";
    QTest::newRow("interval label") << "label_13" << "Switch Interval(s)" << "切换间隔时间（秒）";
    QTest::newRow("TI radio stays") << "ti0_btn" << "TI 0" << "TI 0";
    QTest::newRow("ADM button stays") << "amd_btn" << "ADM" << "ADM";
    QTest::newRow("4K box stays") << "_4k_btn" << "4K" << "4K";
    QTest::newRow("edit default stays") << "matrix_ein_le" << "02" << "02";
}

void TestMainForm::chineseTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, english);
    QFETCH(QString, chinese);

    QCOMPARE(shownText(host, name), english);

    translator = new QTranslator;
    QVERIFY(translator->load(QStringLiteral(":/translate/staticfile/qm/Translate_CN.qm")));
    QCoreApplication::installTranslator(translator);
    ui->retranslateUi(host);

    QCOMPARE(shownText(host, name), chinese);
    QCOMPARE(ui->signal_type_cb->itemText(6), QStringLiteral("VIDEO2"));
    // The catalogue is merged from several sources: the window's other texts stay in it.
    QCOMPARE(QCoreApplication::translate("Velmar_Windows", "Large-screen software"),
             QStringLiteral("大屏幕软件"));
}

void TestMainForm::englishAgainAfterTheTranslatorGoes()
{
    translator = new QTranslator;
    QVERIFY(translator->load(QStringLiteral(":/translate/staticfile/qm/Translate_CN.qm")));
    QCoreApplication::installTranslator(translator);
    ui->retranslateUi(host);
    QCOMPARE(ui->port_open_btn->text(), QStringLiteral("连接串口/无线"));

    QCoreApplication::removeTranslator(translator);
    ui->retranslateUi(host);
    QCOMPARE(ui->port_open_btn->text(), QStringLiteral("Open"));
    QCOMPARE(shownText(host, "tab_1"), QStringLiteral("  Port Operate "));
    QCOMPARE(ui->age_open->text(), QStringLiteral("Open "));
}

VW_TEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
