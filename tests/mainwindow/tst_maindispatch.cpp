#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextDocument>
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

// Every sender of the command dispatcher, checked at the far end of a socat
// pty pair and in the log pane. Screens 11 and 21 are selected (one row, two
// columns of the 2 x 2 wall), so a range frame runs from 11 to 21.
class TestMainDispatch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void senders_data();
    void senders();
    void fanManual();
    void runRelabelsBeforeSending_data();
    void runRelabelsBeforeSending();
    void delayedPowerOn_data();
    void delayedPowerOn();
    void setAddress_data();
    void setAddress();
    void emptySelectionSendsNoRange_data();
    void emptySelectionSendsNoRange();
    void closedLinkLogsWithoutOk();
    void logLine_data();
    void logLine();
    void logKeepsTenThousandLines();

private:
    bool openLink();
    QObject *senderNamed(const QString &name) const;
    bool fire(const QString &name);
    QStringList log() const { return logLines(ui->com_textedit); }

    std::unique_ptr<PtyPair> pty;
    std::unique_ptr<MessageBoxCatcher> catcher;
    Velmar_Windows *window = nullptr;
    Ui_Velmar_Windows *ui = nullptr;
};

namespace {

// The log pane's line for a frame written on an open link.
QString sentLine(const QString &hex)
{
    QStringList pairs;
    for (int i = 0; i < hex.size(); i += 2)
        pairs.append(hex.mid(i, 2));
    return QStringLiteral(">") + pairs.join(QLatin1Char(',')) + QStringLiteral("(OK)");
}

QStringList sentLines(const QStringList &frames)
{
    QStringList lines;
    for (const QString &frame : frames)
        lines.append(sentLine(frame));
    return lines;
}

} // namespace

void TestMainDispatch::initTestCase()
{
    new AppInit(this);
}

void TestMainDispatch::init()
{
    resetShared();
    if (!PtyPair::socatAvailable())
        QSKIP(qPrintable(PtyPair::missingSocatMessage()));
    pty = std::make_unique<PtyPair>();
    catcher = std::make_unique<MessageBoxCatcher>();
    window = new Velmar_Windows;
    ui = window->ui;
    selectCells(ui->cent_tablewidget, 0, 0, 0, 1);
}

void TestMainDispatch::cleanup()
{
    endTest(window);
    ui = nullptr;
    catcher.reset();
    pty.reset();
}

bool TestMainDispatch::openLink()
{
    if (!startPty(*pty))
        return false;
    // The window was built before the pty existed: point the port window at it.
    delete window;
    destroyWindows();
    PortConfig config;
    config.lcdPort = pty->devicePath();
    writePortConfig(config);
    window = new Velmar_Windows;
    ui = window->ui;
    selectCells(ui->cent_tablewidget, 0, 0, 0, 1);
    window->openSerial();
    return GlobalObject::linkOpen;
}

QObject *TestMainDispatch::senderNamed(const QString &name) const
{
    const QHash<QString, QAction *> actions = {
        {"Still", window->stillAction},
        {"Local save", window->localSaveAction},
        {"No signal black screen", window->blackScreenAction},
        {"No signal blue screen", window->blueScreenAction},
        {"Mode open", window->agingOpenAction},
        {"Mode off", window->agingOffAction},
        {"Positive", window->positiveAction},
        {"Inverse", window->inverseAction},
        {"Update", window->updateAction},
        {"2K", window->stitch2kAction},
        {"4K", window->stitch4kAction},
        {"Multi screen", window->multiScreenAction},
    };
    if (QAction *action = actions.value(name))
        return action;
    return window->findChild<QAbstractButton *>(name);
}

bool TestMainDispatch::fire(const QString &name)
{
    QObject *from = senderNamed(name);
    if (auto *action = qobject_cast<QAction *>(from)) {
        action->trigger();
        return true;
    }
    auto *button = qobject_cast<QAbstractButton *>(from);
    if (!button || !button->isEnabled()) {
        qWarning("no enabled sender %s", qPrintable(name));
        return false;
    }
    button->click();
    return true;
}

void TestMainDispatch::senders_data()
{
    QTest::addColumn<QString>("sender");
    // Buttons to tick, or groups to enable (as a click on "Logo on" does).
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QStringList>("frames");

    const struct
    {
        const char *row;
        const char *sender;
        QStringList ticked;
        QStringList frames;
    } rows[] = {
        {"power on", "on_btn", {}, {"C611211001BB"}},
        {"power on, 4K to the fixed pair 00-FF", "on_btn", {"_4k_btn"}, {"C600FF1001BB"}},
        {"power off", "off_btn", {}, {"C611211000BB"}},
        {"fan open", "fan_apply", {"fan_open"}, {"C611215601BB"}},
        {"fan close", "fan_apply", {"fan_close"}, {"C611215602BB"}},
        {"fan auto", "fan_apply", {"fan_auto"}, {"C611215600BB"}},
        {"fan, nothing chosen", "fan_apply", {}, {}},
        {"TI mode 0", "ti_apply", {"ti0_btn"}, {"C611215C00BB"}},
        {"TI mode 1", "ti_apply", {"ti1_btn"}, {"C611215C01BB"}},
        {"TI mode, nothing chosen", "ti_apply", {}, {}},
        {"group A", "group_apply", {"agroup_btn"}, {"C611215B00BB"}},
        {"group B", "group_apply", {"bgroup_btn"}, {"C611215B01BB"}},
        {"group, nothing chosen", "group_apply", {}, {}},
        {"8 bit", "ad_apply", {"eightbit_btn"}, {"C611216000BB"}},
        {"10 bit", "ad_apply", {"tenbit_btn"}, {"C611216001BB"}},
        {"bit depth, nothing chosen", "ad_apply", {}, {}},
        {"get sequence to FF-22", "getnum_btn1", {}, {"C6FF220000BB"}},
        {"look address to FF-24", "lookadd_btn1", {}, {"C6FF240101BB"}},
        {"lock address", "lock_btn1", {}, {"C611216701BB"}},
        {"unlock address", "unlock_btn1", {}, {"C611216700BB"}},
        {"software version", "software_btn", {}, {"C611215F01BB"}},
        {"program update", "pupdate_btn", {}, {"C61121FF01BB"}},
        {"aging on", "age_open", {}, {"C61121F101BB"}},
        {"aging off", "age_close", {}, {"C61121F100BB"}},
        {"logo on", "logo_open", {}, {"C611216601BB"}},
        {"logo off", "logo_close", {}, {"C611216600BB"}},
        {"splicing logo", "joinmodel_btn", {"logomodel_gb"}, {"C61121EF01BB"}},
        {"single-screen logo", "alonemodel_btn", {"logomodel_gb"}, {"C61121EF00BB"}},
        {"AMD card", "amd_btn", {}, {"C61121FE00BB"}},
        {"common card", "common_btn", {}, {"C61121FE01BB"}},
        {"menu: still", "Still", {}, {"C611215101BB"}},
        {"menu: local save", "Local save", {}, {"C611215301BB"}},
        {"menu: black screen without signal", "No signal black screen", {}, {"C611215E00BB"}},
        {"menu: blue screen without signal", "No signal blue screen", {}, {"C611215D01BB"}},
        {"menu: aging mode open", "Mode open", {}, {"C61121F101BB"}},
        {"menu: aging mode off", "Mode off", {}, {"C61121F100BB"}},
        {"menu: positive", "Positive", {}, {"C61121F200BB"}},
        {"menu: inverse", "Inverse", {}, {"C61121F201BB"}},
        {"menu: update", "Update", {}, {"C61121FF01BB"}},
        {"menu: stitching 2K", "2K", {}, {"C61121FC00BB"}},
        {"menu: stitching 4K", "4K", {}, {"C61121FC01BB"}},
        {"menu: multi screen, literal 02", "Multi screen", {}, {"C61121FC02BB"}},
        {"single signal, per screen", "run_btn", {}, {"C611112000BB", "C621212000BB"}},
    };
    for (const auto &row : rows)
        QTest::newRow(row.row) << QString::fromLatin1(row.sender) << row.ticked << row.frames;
}

void TestMainDispatch::senders()
{
    QFETCH(QString, sender);
    QFETCH(QStringList, ticked);
    QFETCH(QStringList, frames);
    QVERIFY(openLink());
    for (const QString &name : ticked) {
        if (auto *button = window->findChild<QAbstractButton *>(name)) {
            button->setChecked(true);
        } else {
            auto *group = window->findChild<QWidget *>(name);
            QVERIFY2(group, qPrintable(name));
            group->setEnabled(true);
        }
    }

    QVERIFY(fire(sender));

    QTRY_COMPARE(pty->log().bytes(), wire(frames));
    QCOMPARE(log(), sentLines(frames));
    QCOMPARE(catcher->count(), 0);
    if (frames.isEmpty()) {
        QTest::qWait(100);
        QCOMPARE(pty->log().bytes(), QByteArray());
    }
}

void TestMainDispatch::fanManual()
{
    QVERIFY(openLink());
    ui->fan_manual->setChecked(true);
    QVERIFY(ui->fan_sp1->isEnabled());
    ui->fan_sp1->setValue(10);
    ui->fan_sp2->setValue(255);

    ui->fan_apply->click();

    const QStringList frames{"C611215603BB", "C61121560ABB", "C6112156FFBB"};
    QTRY_COMPARE(pty->log().bytes(), wire(frames));
    QCOMPARE(log(), sentLines(frames));
    // Each of the three goes out with its own 50 ms wait behind it.
    QVERIFY(arrivalMs(pty->log(), 17) - arrivalMs(pty->log(), 11) >= 40);
}

void TestMainDispatch::runRelabelsBeforeSending_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");
    QTest::newRow("VIDEO") << 0 << "VIDEO" << "00";
    QTest::newRow("YUV") << 5 << "YUV" << "05";
    QTest::newRow("VIDEO2") << 6 << "VIDEO2" << "06";
}

void TestMainDispatch::runRelabelsBeforeSending()
{
    QFETCH(int, signal);
    QFETCH(QString, name);
    QFETCH(QString, code);
    QVERIFY(openLink());
    window->getJoinSettingWindowsData({{"joinrow", "2"}, {"joincolumn", "3"}});
    selectCells(ui->cent_tablewidget, 1, 1, 1, 2);
    ui->signal_type_cb->setCurrentIndex(signal);
    QTableWidget *table = ui->cent_tablewidget;

    QStringList labelsAtFirstFrame;
    const auto spy = connect(&lcdCommunication, &Communication::sendComData, this, [&] {
        if (labelsAtFirstFrame.isEmpty()) {
            for (const QPoint &cell : {QPoint(1, 1), QPoint(2, 1)})
                labelsAtFirstFrame.append(table->item(cell.y(), cell.x()) ? table->item(cell.y(), cell.x())->text()
                                                                         : QString());
        }
    });
    ui->run_btn->click();
    disconnect(spy);

    const QStringList frames{"C6222220" + code + "BB", "C6323220" + code + "BB"};
    QTRY_COMPARE(pty->log().bytes(), wire(frames));
    QCOMPARE(log(), sentLines(frames));
    QCOMPARE(labelsAtFirstFrame, QStringList({name, name}));
    // Cells outside the selection keep their text.
    QVERIFY(!table->item(0, 0) || table->item(0, 0)->text().isEmpty());
    QVERIFY(!table->item(1, 0) || table->item(1, 0)->text().isEmpty());
}

void TestMainDispatch::delayedPowerOn_data()
{
    QTest::addColumn<bool>("fourK");
    QTest::addColumn<QStringList>("frames");
    QTest::newRow("two screens one second apart") << false << QStringList{"C611111001BB", "C621211001BB"};
    QTest::newRow("4K: one frame to 00-FF, then the wait") << true << QStringList{"C600FF1001BB"};
}

void TestMainDispatch::delayedPowerOn()
{
    QFETCH(bool, fourK);
    QFETCH(QStringList, frames);
    QVERIFY(openLink());
    ui->retard_btn->setChecked(true);
    QVERIFY(ui->set_sec->isEnabled());
    ui->set_sec->setValue(1);
    ui->_4k_btn->setChecked(fourK);

    QElapsedTimer took;
    took.start();
    ui->on_btn->click();
    const qint64 ms = took.elapsed();

    QTRY_COMPARE(pty->log().bytes(), wire(frames));
    QCOMPARE(log(), sentLines(frames));
    // The slot returns only after the wait behind the last frame.
    QVERIFY2(ms >= 900 * frames.size() && ms < 1000 * frames.size() + 2000, qPrintable(QString::number(ms)));
    if (frames.size() == 2) {
        const qint64 gap = arrivalMs(pty->log(), 6) - arrivalMs(pty->log(), 0);
        QVERIFY2(gap >= 900 && gap < 3000, qPrintable(QString::number(gap)));
    }
}

void TestMainDispatch::setAddress_data()
{
    QTest::addColumn<QString>("sequence");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QString>("refusal");

    const QString range = QStringLiteral("Row and column addresses must be from 0 to 255.");
    QTest::newRow("sequence 300, row 5, column 255")
        << "300" << "5" << "255" << QStringList{"C6FF23012CBB", "C6FF200501BB", "C6FF21FF01BB"} << QString();
    QTest::newRow("empty fields read as 0")
        << "" << "" << "" << QStringList{"C6FF230000BB", "C6FF200001BB", "C6FF210001BB"} << QString();
    QTest::newRow("sequence 9999") << "9999" << "1" << "2"
                                   << QStringList{"C6FF23270FBB", "C6FF200101BB", "C6FF210201BB"} << QString();
    QTest::newRow("row 300 is refused") << "1" << "300" << "1" << QStringList() << range;
    QTest::newRow("column 256 is refused") << "1" << "1" << "256" << QStringList() << range;
}

void TestMainDispatch::setAddress()
{
    QFETCH(QString, sequence);
    QFETCH(QString, row);
    QFETCH(QString, column);
    QFETCH(QStringList, frames);
    QFETCH(QString, refusal);
    QVERIFY(openLink());
    ui->num_le1->setText(sequence);
    ui->x_le1->setText(row);
    ui->y_le1->setText(column);

    ui->setadder_btn1->click();

    if (refusal.isEmpty()) {
        QCOMPARE(catcher->count(), 0);
    } else {
        QCOMPARE(catcher->count(), 1);
        QCOMPARE(catcher->lastTitle(), QStringLiteral("Prompt"));
        QCOMPARE(catcher->lastText(), refusal);
        QTest::qWait(100);
    }
    QTRY_COMPARE(pty->log().bytes(), wire(frames));
    QCOMPARE(log(), sentLines(frames));
}

void TestMainDispatch::emptySelectionSendsNoRange_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QStringList>("frames");
    QTest::newRow("power off") << "off_btn" << QStringList() << QStringList();
    QTest::newRow("delayed power on, per screen") << "on_btn" << QStringList{"retard_btn"} << QStringList();
    QTest::newRow("fan open") << "fan_apply" << QStringList{"fan_open"} << QStringList();
    QTest::newRow("fan manual") << "fan_apply" << QStringList{"fan_manual"} << QStringList();
    QTest::newRow("lock address") << "lock_btn1" << QStringList() << QStringList();
    QTest::newRow("single signal, per screen") << "run_btn" << QStringList() << QStringList();
    QTest::newRow("menu: multi screen") << "Multi screen" << QStringList() << QStringList();
    // A fixed address pair needs no selection.
    QTest::newRow("power on, 4K") << "on_btn" << QStringList{"_4k_btn"} << QStringList{"C600FF1001BB"};
    QTest::newRow("get sequence") << "getnum_btn1" << QStringList() << QStringList{"C6FF220000BB"};
}

void TestMainDispatch::emptySelectionSendsNoRange()
{
    QFETCH(QString, sender);
    QFETCH(QStringList, ticked);
    QFETCH(QStringList, frames);
    QVERIFY(openLink());
    for (const QString &name : ticked)
        window->findChild<QAbstractButton *>(name)->setChecked(true);
    ui->cent_tablewidget->clearSelection();
    QVERIFY(GlobalObject::targetAddressList.isEmpty());

    QElapsedTimer took;
    took.start();
    QVERIFY(fire(sender));
    // Nothing built, so no wait either (the delayed power-on would take a second).
    if (frames.isEmpty())
        QVERIFY2(took.elapsed() < 500, qPrintable(QString::number(took.elapsed())));

    QTest::qWait(100);
    QCOMPARE(pty->log().bytes(), wire(frames));
    QCOMPARE(log(), sentLines(frames));
}

void TestMainDispatch::closedLinkLogsWithoutOk()
{
    ui->software_btn->click();
    ui->lookadd_btn1->click();
    QCOMPARE(log(), QStringList({">C6,11,21,5F,01,BB", ">C6,FF,24,01,01,BB"}));
}

void TestMainDispatch::logLine_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("matrix");
    QTest::addColumn<QString>("line");
    QTest::newRow("frame written") << "C611221001BB" << true << false << ">C6,11,22,10,01,BB(OK)";
    QTest::newRow("frame not written") << "C611221001BB" << false << false << ">C6,11,22,10,01,BB";
    QTest::newRow("two-byte frame") << "C6AB" << false << false << ">C6,AB";
    QTest::newRow("matrix text written") << "3V1." << true << true << "3V1. (OK)";
    QTest::newRow("matrix text not written") << "3V1." << false << true << "3V1. ";
}

void TestMainDispatch::logLine()
{
    QFETCH(QString, command);
    QFETCH(bool, result);
    QFETCH(bool, matrix);
    QFETCH(QString, line);
    ui->com_textedit->append(QStringLiteral("earlier line"));
    window->updateTextEditContent(command, result, matrix);
    QCOMPARE(log(), QStringList({"earlier line", line}));
}

void TestMainDispatch::logKeepsTenThousandLines()
{
    for (int i = 0; i < 10005; ++i)
        window->updateTextEditContent(QStringLiteral("C6%1BB").arg(i, 4, 16, QLatin1Char('0')).toUpper(), true, false);
    QCOMPARE(ui->com_textedit->document()->blockCount(), 10000);
    const QStringList lines = log();
    QCOMPARE(lines.first(), QStringLiteral(">C6,00,05,BB(OK)"));
    QCOMPARE(lines.last(), QStringLiteral(">C6,27,14,BB(OK)"));
}

VW_TEST_MAIN(TestMainDispatch)
#include "tst_maindispatch.moc"
