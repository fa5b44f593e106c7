#include <QtTest>
#include <QtWidgets>

#include <memory>

#include "aboutdialog.h"
#include "appinit.h"
#include "changenamewindows.h"
#include "consoletest.h"
#include "debugwindows.h"
#include "loginwindows.h"
#include "goldenrows.h"
#include "testmain.h"
#include "ui_velmar_windows.h"
#include "velmar_windows.h"

using namespace ConsoleTest;

// The login, rename, about and debug windows as the main window opens them,
// and what reaches the main window, the wire and the log from them.
class TestMainAccounts : public QObject
{
    Q_OBJECT

    std::unique_ptr<PtyPair> pty;
    Velmar_Windows *window = nullptr;
    Ui_Velmar_Windows *ui = nullptr;

    template <typename T = QPushButton>
    static T *field(QWidget *window, const char *name) { return window->findChild<T *>(QLatin1String(name)); }

private slots:
    void initTestCase() { new AppInit(this); }

    void init()
    {
        resetShared();
        // The port window takes the pty from config.ini when the window builds it.
        pty = std::make_unique<PtyPair>();
        if (PtyPair::socatAvailable() && startPty(*pty)) {
            PortConfig config;
            config.lcdPort = pty->devicePath();
            writePortConfig(config);
        }
        window = new Velmar_Windows;
        ui = window->ui;
        selectCells(ui->cent_tablewidget, 0, 0, 1, 1);
    }

    void cleanup()
    {
        endTest(window);
        pty.reset();
    }

    void loginAndLogout()
    {
        ui->admin_btn->click();
        QVERIFY(window->loginWindow->isVisible());
        field<QLineEdit>(window->loginWindow, "password_ld")->setText(QStringLiteral("571836"));
        field(window->loginWindow, "login_btn")->click();
        QVERIFY(!window->loginWindow->isVisible());
        QCOMPARE(ui->usertype_lb->text(), QStringLiteral("Permission : Administrator"));
        QVERIFY(ui->play_set_btn->isEnabled() && ui->control_btn->isEnabled());
        QCOMPARE(ui->stackedWidget->currentIndex(), 1);
        ui->admin_btn->click();
        field(window->loginWindow, "logout_btn")->click();
        QVERIFY(!ui->mat_set_btn->isEnabled());
        QCOMPARE(ui->stackedWidget->currentIndex(), 0);
    }

    void renameScene()
    {
        ui->scene_cb->setCurrentIndex(2);
        ui->name_btn->click();
        auto *name = field<QLineEdit>(window->sceneNameWindows, "chname_le");
        QVERIFY(window->sceneNameWindows->isVisible());
        QCOMPARE(name->selectedText(), QStringLiteral("scene3"));
        name->setText(QStringLiteral("Lobby"));
        field(window->sceneNameWindows, "modify_btn")->click();
        for (QComboBox *combo : {ui->scene_cb, ui->bscene_cb, ui->sscene_cb})
            QCOMPARE(combo->itemText(2), QStringLiteral("Lobby"));
        QVERIFY(!window->sceneNameWindows->isVisible());
    }

    void renameMatrixInput_data()
    {
        QTest::addColumn<bool>("linked");
        QTest::newRow("linked switching on") << true;
        QTest::newRow("linked switching off: nothing opens") << false;
    }

    void renameMatrixInput()
    {
        QFETCH(bool, linked);
        ui->link_cb->setChecked(linked);
        ui->matrix_type_cb->setCurrentIndex(1);
        const QString before = ui->matrix_type_cb->currentText();
        QTest::mouseDClick(ui->matrix_type_cb->lineEdit(), Qt::LeftButton);
        QCOMPARE(window->inputNameWindows->isVisible(), linked);
        if (!linked)
            return;
        auto *name = field<QLineEdit>(window->inputNameWindows, "chname_le");
        QCOMPARE(name->text(), before);
        name->setText(QStringLiteral("Camera"));
        field(window->inputNameWindows, "modify_btn")->click();
        QCOMPARE(ui->matrix_type_cb->itemText(1), QStringLiteral("Camera"));
        QCOMPARE(ui->scene_cb->itemText(1), QStringLiteral("scene2"));
    }

    void versionQuery()
    {
        if (!pty->isRunning())
            QSKIP(qPrintable(PtyPair::missingSocatMessage()));
        window->openSerial();
        ui->about_btn->click();
        QVERIFY(window->aboutWindow->isVisible());
        field(window->aboutWindow, "look_pbtn")->click();
        QTRY_COMPARE_WITH_TIMEOUT(pty->log().bytes(), wire({"C611225F01BB"}), 5000);
        QCOMPARE(logLines(ui->com_textedit).last(), QStringLiteral(">C6,11,22,5F,01,BB(OK)"));
    }

    void debugSend_data() { goldenRows(QStringLiteral("debugsend.tsv")); }

    void debugSend()
    {
        QFETCH(QString, link);
        QFETCH(QString, text);
        const bool open = link == QLatin1String("open");
        QFETCH(QString, result);
        if (open && !pty->isRunning())
            QSKIP(qPrintable(PtyPair::missingSocatMessage()));
        if (open)
            window->openSerial();
        const QStringList logBefore = logLines(ui->com_textedit);
        ui->manual_debug_btn->click();
        QVERIFY(window->debugWindow->isVisible());
        auto *command = field<QLineEdit>(window->debugWindow, "command_le");
        command->setText(text);
        field(window->debugWindow, "send_btn")->click();
        QCOMPARE(field<QTextBrowser>(window->debugWindow, "result_tb")->toPlainText(), result);
        QCOMPARE(logLines(ui->com_textedit), logBefore);
        if (!open)
            return;
        // A marker sent after: what arrives before it is all the row sent.
        command->setText(QStringLiteral("EE"));
        field(window->debugWindow, "send_btn")->click();
        const QByteArray sent = result == "success!" ? QByteArray::fromHex(text.toLatin1()) : QByteArray();
        QTRY_COMPARE_WITH_TIMEOUT(pty->log().bytes(), sent + '\xEE', 5000);
    }
};

VW_TEST_MAIN(TestMainAccounts)
#include "tst_mainaccounts.moc"
