#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

#include "alienadjustwindows.h"
#include "consoletest.h"
#include "edgemeltingwindows.h"
#include "picturecontrolwindows.h"
#include "tcpcaptureserver.h"
#include "testmain.h"
#include "ui_velmar_windows.h"
#include "velmar_windows.h"

using namespace ConsoleTest;

// The adjustment windows as the console opens them: from the screen table's
// menu, with the selected range, the reset button following the link, and
// their groups saved when the console ends with them open.
class TestMainAdjust : public QObject
{
    Q_OBJECT

private:
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

    void menuShowsTheWindowsWithTheRange()
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
        QVERIFY(window->alienAdjustWindow->isVisible());
        QVERIFY(window->edgeMeltingWindow->isVisible());
    }

    void resetFollowsTheLink()
    {
        auto *reset = window->pictureControlWindow->findChild<QPushButton *>("reset_btn");
        QVERIFY(!reset->isEnabled());
        window->openSerial();
        QVERIFY(GlobalObject::linkOpen);
        QVERIFY(reset->isEnabled());
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
