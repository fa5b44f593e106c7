#ifndef CONSOLETEST_H
#define CONSOLETEST_H

// What a test of the main window includes: the window, its form, the
// application start and the shared window-test scaffold.
#include "appinit.h"
#include "ui_velmar_windows.h"
#include "velmar_windows.h"
#include "windowtest.h"

// The main window under test, built on the config.ini written before it,
// and a local stand-in for the wireless bridge; after each test the window
// goes with every child window and the shared state is put back as the
// program starts.
class ConsoleTest : public QObject
{
    Q_OBJECT

protected:
    Velmar_Windows *window = nullptr;
    Ui_Velmar_Windows *ui = nullptr;
    TcpCaptureServer bridge;

    void build()
    {
        delete window;
        window = new Velmar_Windows;
        ui = window->ui;
    }
    // A program starts without a skin's sheet, and its event loop first
    // delivers what the start posted: the re-texting for the stored language,
    // the polish and layout of every widget. Left in the queue, these
    // thousands of events would make each later start and end slower.
    void start()
    {
        qApp->setStyleSheet(QString());
        build();
        QCoreApplication::sendPostedEvents();
    }
    // The console built again, as a new start, on config.ini holding ini.
    void buildOn(const QByteArray &ini)
    {
        WindowTest::endTest(window);
        QVERIFY(WindowTest::writeConfig(ini));
        start();
    }
    // The log pane, line by line.
    QStringList log() const
    {
        const QString text = ui->com_textedit->toPlainText();
        return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    }

protected slots:
    void initTestCase()
    {
        new AppInit(this);
        QVERIFY(bridge.listen());
    }
    void cleanup() { WindowTest::endTest(window); }
};

#endif // CONSOLETEST_H
