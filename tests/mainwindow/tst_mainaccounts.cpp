#include "aboutdialog.h"
#include "alienadjustwindows.h"
#include "changenamewindows.h"
#include "consoletest.h"
#include "debugwindows.h"
#include "edgemeltingwindows.h"
#include "joinsettingwindows.h"
#include "loginwindows.h"
#include "picturecontrolwindows.h"

using namespace WindowTest;

// The login, rename, about, debug, adjustment and playback windows as the
// main window opens them, and what reaches the main window, the wire and the
// log from them.
class TestMainAccounts : public ConsoleTest
{
    Q_OBJECT


    QString range() const { return child<QLabel>(window->pictureControlWindow, "showrange_lb")->text(); }

private slots:
    void init()
    {
        // The port window takes the bridge from config.ini when the window builds it.
        writePortConfig({}, false, false, bridge.port());
        build();
        window->show();
        selectCells(ui->cent_tablewidget, 0, 0, 1, 1);
        bridge.clearLog();
    }

    void loginAndLogout()
    {
        ui->admin_btn->click();
        child<QLineEdit>(window->loginWindow, "password_ld")->setText(QStringLiteral("571836"));
        child<QPushButton>(window->loginWindow, "login_btn")->click();
        QCOMPARE(ui->usertype_lb->text(), QStringLiteral("Permission : Administrator"));
        ui->admin_btn->click();
        child<QPushButton>(window->loginWindow, "logout_btn")->click();
        QVERIFY(!ui->mat_set_btn->isEnabled());
    }

    // The operator's own steps: a login by Return, a logout by button, and
    // a login by Return again gives the rights back at the first Return.
    void returnLogsInAgainAfterALogoutByButton()
    {
        auto *password = child<QLineEdit>(window->loginWindow, "password_ld");
        ui->admin_btn->click();
        QTest::keyClicks(password, QStringLiteral("571836"));
        QTest::keyClick(password, Qt::Key_Return);
        ui->admin_btn->click();
        child<QPushButton>(window->loginWindow, "logout_btn")->click();
        child<QPushButton>(window->loginWindow, "admin_close_btn")->click();
        QCOMPARE(ui->usertype_lb->text(), QStringLiteral("Permission : User"));
        ui->admin_btn->click();
        QTest::keyClicks(password, QStringLiteral("571836"));
        QTest::keyClick(password, Qt::Key_Return);
        QCOMPARE(ui->usertype_lb->text(), QStringLiteral("Permission : Administrator"));
        QVERIFY(ui->mat_set_btn->isEnabled() && !window->loginWindow->isVisible());
    }

    void renameScene_data()
    {
        QTest::addColumn<int>("scene");
        QTest::newRow("the third scene") << 3;
        QTest::newRow("the first scene") << 1;
    }
    void renameScene()
    {
        QFETCH(int, scene);
        ui->scene_cb->setCurrentIndex(scene - 1);
        ui->name_btn->click();
        auto *name = child<QLineEdit>(window->sceneNameWindows, "chname_le");
        QCOMPARE(name->selectedText(), QStringLiteral("scene%1").arg(scene));
        name->setText(QStringLiteral("Lobby"));
        child<QPushButton>(window->sceneNameWindows, "modify_btn")->click();
        for (QComboBox *combo : {ui->scene_cb, ui->bscene_cb, ui->sscene_cb})
            QCOMPARE(combo->itemText(scene - 1), QStringLiteral("Lobby"));
    }

    void renameMatrixInput_data() { goldenRows(QStringLiteral("renameinput.tsv")); }

    void renameMatrixInput()
    {
        const bool linked = golden("linked") == "yes";
        const int input = golden("input").toInt() - 1;
        ui->link_cb->setChecked(linked);
        ui->matrix_type_cb->setCurrentIndex(input);
        const QString before = ui->matrix_type_cb->currentText();
        QTest::mouseDClick(ui->matrix_type_cb->lineEdit(), Qt::LeftButton);
        QCOMPARE(window->inputNameWindows->isVisible(), linked);
        if (!linked)
            return;
        auto *name = child<QLineEdit>(window->inputNameWindows, "chname_le");
        QCOMPARE(name->text(), before);
        name->setText(QStringLiteral("Camera"));
        child<QPushButton>(window->inputNameWindows, "modify_btn")->click();
        QCOMPARE(ui->matrix_type_cb->itemText(input), QStringLiteral("Camera"));
        QCOMPARE(ui->scene_cb->itemText(input), QStringLiteral("scene%1").arg(input + 1));
    }

    // Scene, input and user names, loaded or pasted into their field, are
    // held to 64 characters and cut at a whole one: an emoji that does not
    // fit goes whole. What the close saves is read from config.ini as text.
    void namesHeldToWholeCharacters_data() { goldenRows(QStringLiteral("heldnames.tsv")); }
    void namesHeldToWholeCharacters()
    {
        const QString key = golden("key"); // as config.ini writes it
        const QByteArray emoji = "\\xd83d\\xde00";
        const QByteArray as = QByteArray(golden("a").toInt(), 'a');
        if (golden("field").isEmpty()) {
            const QByteArray size = key.contains('\\') ? key.section('\\', 0, 0).toLatin1() + "\\size=1\n" : "";
            QVERIFY(writeConfig("[MainSetting]\n" + key.toLatin1() + '=' + as + emoji + '\n' + size));
            build();
        } else { // the first scene or video input renamed, the user name, or a scene typed in the box
            enter(window, {"link_cb=1", "matrix_type_cb=0"});
            if (golden("open") == QLatin1String("double-click matrix_type_cb"))
                QTest::mouseDClick(ui->matrix_type_cb->lineEdit(), Qt::LeftButton);
            else
                QVERIFY(QMetaObject::invokeMethod(window, qPrintable(golden("open"))));
            QWidget *named = nullptr;
            for (QWidget *top : QApplication::topLevelWidgets())
                named = top->isVisible() && top->findChild<QWidget *>(golden("field")) ? top : named;
            auto *box = named->findChild<QComboBox *>(golden("field"));
            QLineEdit *field = box ? box->lineEdit() : named->findChild<QLineEdit *>(golden("field"));
            QApplication::clipboard()->setText(QString::fromLatin1(as) + QString::fromUcs4(U"\U0001F600", 1));
            field->clear();
            field->paste();
            if (golden("ok") == QLatin1String("Return"))
                QTest::keyClick(field, Qt::Key_Return);
            else
                named->findChild<QPushButton *>(golden("ok"))->click();
        }
        window->close();
        QFile file(ConfigFile::path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromLatin1(file.readAll()).split('\n');
        const QString value = lines.filter(key + '=').value(0).section('=', 1);
        const int run = value.count('a');
        QCOMPARE(QStringLiteral("%1 a%2").arg(run).arg(value.mid(run)), golden("saved"));
    }

    // The link's opening enables the picture window's reset; the about
    // window's query goes out on it.
    void linkEnablesResetAndCarriesTheVersionQuery()
    {
        auto *reset = child<QPushButton>(window->pictureControlWindow, "reset_btn");
        QVERIFY(!reset->isEnabled());
        window->openSerial();
        QVERIFY(GlobalObject::linkOpen && reset->isEnabled());
        ui->about_btn->click();
        child<QPushButton>(window->aboutWindow, "look_pbtn")->click();
        QTRY_COMPARE_WITH_TIMEOUT(bridge.log().bytes(), wire({"C611225F01BB"}), 5000);
        QCOMPARE(log().last(), QStringLiteral(">C6,11,22,5F,01,BB(OK)"));
        window->closeSerial();
        QVERIFY(!reset->isEnabled());
    }

    void debugSend_data() { goldenRows(QStringLiteral("debugsend.tsv")); }

    void debugSend()
    {
        QFETCH(QString, text);
        const bool open = golden("link") == QLatin1String("open");
        QFETCH(QString, result);
        if (open)
            window->openSerial();
        const QStringList logBefore = log();
        ui->manual_debug_btn->click();
        auto *command = child<QLineEdit>(window->debugWindow, "command_le");
        command->setText(text);
        child<QPushButton>(window->debugWindow, "send_btn")->click();
        QCOMPARE(child<QTextBrowser>(window->debugWindow, "result_tb")->toPlainText(), result);
        QCOMPARE(log(), logBefore);
        child<QPushButton>(window->debugWindow, "close_btn")->click(); // opened with the command line to type in
        QVERIFY(!window->debugWindow->isVisible() && window->debugWindow->focusWidget() == command);
        if (!open)
            return;
        // A marker sent after: what arrives before it is all the row sent.
        command->setText(QStringLiteral("EE"));
        child<QPushButton>(window->debugWindow, "send_btn")->click();
        const QByteArray sent = result == "success!" ? QByteArray::fromHex(text.toLatin1()) : QByteArray();
        QTRY_COMPARE_WITH_TIMEOUT(bridge.log().bytes(), sent + '\xEE', 5000);
    }

    void adjustRangeFollowsTheSelection()
    {
        // Enabled by a login; the menu entry then opens the window.
        window->imageAdjustAction->setEnabled(true);
        window->imageAdjustAction->trigger();
        QCOMPARE(range(), QStringLiteral("1,1 ~ 2,2"));
        selectCells(ui->cent_tablewidget, 0, 1, 0, 1);
        QCOMPARE(range(), QStringLiteral("2,1 ~ 2,1"));
        ui->cent_tablewidget->clearSelection();
        QCOMPARE(range(), QStringLiteral("2,1 ~ 2,1"));
        window->languageSwitch(); // and it stays through a language switch
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(range(), QStringLiteral("2,1 ~ 2,1"));
    }

    void entriesOpenTheirWindows()
    {
        const auto shown = [] {
            QStringList names;
            for (QWidget *widget : QApplication::topLevelWidgets())
                if (widget->isVisible())
                    names << widget->metaObject()->className();
            names.sort();
            return names.join(' ');
        };
        window->userLoginChange(3, QStringLiteral("Administrator"));
        QCOMPARE(shown(), QStringLiteral("Velmar_Windows"));
        for (QToolButton *button : {ui->play_set_btn, ui->timi_btn, ui->font_set_btn, ui->control_btn})
            button->click();
        for (QAction *action : {window->imageAdjustAction, window->specialRegulationAction, window->borderEffectAction})
            action->trigger();
        QCOMPARE(shown(), QStringLiteral("AlienAdjustWindows EdgeMeltingWindows FontSetWindows PictureControlWindows "
                                         "PlaySetWindows RemoteControlWindows TimingSetWindows Velmar_Windows"));
    }

    void openWindowsSaveWhenTheConsoleEnds()
    {
        window->showImageAdjustWindow();
        window->showAlienAdjustWindow();
        window->showEdgeMeltingWindow();
        child<QSpinBox>(window->pictureControlWindow, "g_sb")->setValue(9);
        child<QLineEdit>(window->alienAdjustWindow, "RW")->setText("1920");
        child<QSpinBox>(window->edgeMeltingWindow, "vadjust_sb")->setValue(5);
        window->close();
        // Closed with the console; a window never opened has nothing to save.
        QVERIFY(!window->edgeMeltingWindow->isVisible() && !ConfigFile::hasGroup(QStringLiteral("MatrixConfig")));
        QSettings file(ConfigFile::path(), QSettings::IniFormat);
        QCOMPARE(QStringList({file.value("PictureSetting/Green").toString(), file.value("AlienSetting/WResolution").toString(),
                              file.value("EdgeSetting/VAdjust").toString()}), QStringList({"9", "1920", "5"}));
    }
};

VW_TEST_MAIN(TestMainAccounts)
#include "tst_mainaccounts.moc"
