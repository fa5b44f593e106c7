#include <QApplication>
#include <QToolButton>

#include "consoletest.h"
#include "testmain.h"
#include "velmar_windows.h"

using namespace ConsoleTest;

// The main window's buttons reach the playback, schedule, caption and
// remote windows; what those windows do is tested with them.
class TestMainPlayback : public QObject
{
    Q_OBJECT

    static QWidget *topLevel(const QString &name)
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == name)
                return widget;
        }
        return nullptr;
    }

private slots:
    void cleanup()
    {
        destroyWindows();
        resetShared();
    }

    void buttonOpensItsWindow_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        QTest::newRow("Multi-Media") << "play_set_btn" << "PlaySetWindows";
        QTest::newRow("Timing") << "timi_btn" << "TimingSetWindows";
        QTest::newRow("Subtitle") << "font_set_btn" << "FontSetWindows";
        QTest::newRow("Controller") << "control_btn" << "RemoteControl";
    }

    void buttonOpensItsWindow()
    {
        QFETCH(QString, button);
        QFETCH(QString, window);
        auto *console = new Velmar_Windows;
        console->show();
        console->userLoginChange(3, QStringLiteral("Administrator"));
        QVERIFY(!topLevel(window)->isVisible());

        console->findChild<QToolButton *>(button)->click();

        QVERIFY(topLevel(window)->isVisible());
    }
};

VW_TEST_MAIN(TestMainPlayback)
#include "tst_mainplayback.moc"
