#include <QtTest>
#include <QtWidgets>

#include "alienadjustwindows.h"
#include "consoletest.h"
#include "edgemeltingwindows.h"
#include "picturecontrolwindows.h"
#include "tcpcaptureserver.h"
#include "testmain.h"
#include "ui_velmar_windows.h"
#include "velmar_windows.h"

using namespace ConsoleTest;

// The adjustment and playback windows as the console opens them: with the
// selected range, the reset button following the link, and their groups
// saved when the console ends with them open.
class TestMainAdjust : public QObject
{
    Q_OBJECT

    TcpCaptureServer server;
    Velmar_Windows *window = nullptr;

    QString range() const { return window->pictureControlWindow->findChild<QLabel *>("showrange_lb")->text(); }

private slots:
    void initTestCase() { QVERIFY(server.listen()); }

    void init()
    {
        resetShared();
        PortConfig config;
        config.wireless = true;
        config.tcpPort = server.port();
        writePortConfig(config);
        window = new Velmar_Windows;
        window->show();
    }

    void cleanup() { endTest(window); }

    void menuShowsTheAdjustWindowsWithTheRange()
    {
        QTableWidget *table = window->ui->cent_tablewidget;
        selectCells(table, 0, 0, 1, 1);
        // Enabled by a login; the menu entry then opens the window.
        window->imageAdjustAction->setEnabled(true);
        window->imageAdjustAction->trigger();
        QVERIFY(window->pictureControlWindow->isVisible());
        QCOMPARE(range(), QStringLiteral("1,1 ~ 2,2"));
        selectCells(table, 0, 1, 0, 1);
        QCOMPARE(range(), QStringLiteral("2,1 ~ 2,1"));
        table->clearSelection();
        QCOMPARE(range(), QStringLiteral("2,1 ~ 2,1"));
        window->specialRegulationAction->trigger();
        window->borderEffectAction->trigger();
        QVERIFY(window->alienAdjustWindow->isVisible() && window->edgeMeltingWindow->isVisible());
    }

    void buttonOpensItsPlaybackWindow_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        QTest::newRow("Multi-Media") << "play_set_btn" << "PlaySetWindows";
        QTest::newRow("Timing") << "timi_btn" << "TimingSetWindows";
        QTest::newRow("Subtitle") << "font_set_btn" << "FontSetWindows";
        QTest::newRow("Controller") << "control_btn" << "RemoteControl";
    }

    void buttonOpensItsPlaybackWindow()
    {
        QFETCH(QString, button);
        QFETCH(QString, window);
        QWidget *opened = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets())
            opened = widget->objectName() == window ? widget : opened;
        this->window->userLoginChange(3, QStringLiteral("Administrator"));
        QVERIFY(!opened->isVisible());
        this->window->findChild<QToolButton *>(button)->click();
        QVERIFY(opened->isVisible());
    }

    void resetFollowsTheLink()
    {
        auto *reset = window->pictureControlWindow->findChild<QPushButton *>("reset_btn");
        QVERIFY(!reset->isEnabled());
        window->openSerial();
        QVERIFY(GlobalObject::linkOpen && reset->isEnabled());
        window->closeSerial();
        QVERIFY(!reset->isEnabled());
    }

    void openWindowsSaveWhenTheConsoleEnds()
    {
        window->showImageAdjustWindow();
        window->showAlienAdjustWindow();
        window->showEdgeMeltingWindow();
        window->pictureControlWindow->findChild<QSpinBox *>("g_sb")->setValue(9);
        window->alienAdjustWindow->findChild<QLineEdit *>("RW")->setText("1920");
        window->edgeMeltingWindow->findChild<QSpinBox *>("vadjust_sb")->setValue(5);
        window->close();
        QSettings file(ConfigFile::path(), QSettings::IniFormat);
        QCOMPARE(file.value("PictureSetting/Green").toInt(), 9);
        QCOMPARE(file.value("AlienSetting/WResolution").toString(), QStringLiteral("1920"));
        QCOMPARE(file.value("EdgeSetting/VAdjust").toInt(), 5);
    }
};

VW_TEST_MAIN(TestMainAdjust)
#include "tst_mainadjust.moc"
