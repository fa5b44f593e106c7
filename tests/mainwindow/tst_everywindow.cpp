#include "consoletest.h"

using namespace WindowTest;

namespace {

// Every window of the program and each button of it that closes it: the
// title bar's close button, "Close" and "Cancel", and the "OK" and "Modify"
// buttons that close their window on every press.
struct Closer
{
    const char *row;
    const char *window;
    const char *button;
};

const Closer closers[] = {
    {"console, title bar", "Velmar_Windows", "close_pbtn"},
    {"port setting, title bar", "PortSettingWindows", "close_pbtn"},
    {"port setting, OK", "PortSettingWindows", "pt_ok_btn"},
    {"splice setting, title bar", "JoinSettingWindows", "close_pbtn"},
    {"splice setting, Close", "JoinSettingWindows", "close_btn"},
    {"splice setting, OK", "JoinSettingWindows", "confirm_btn"},
    {"matrix configuration, title bar", "MatrixConfigurationWindows", "close_pbtn"},
    {"matrix configuration, OK", "MatrixConfigurationWindows", "mat_ok_btn"},
    {"address set, title bar", "AdderSetWindows", "close_pbtn"},
    {"login, title bar", "LoginWindows", "close_pbtn"},
    {"login, Close", "LoginWindows", "admin_close_btn"},
    {"password change, title bar", "ModifyPwdWindows", "close_pbtn"},
    {"password change, Close", "ModifyPwdWindows", "close_btn"},
    {"about, title bar", "AboutDialog", "close_pbtn"},
    {"both rename windows, title bar", "ChangeNameWindows", "close_pbtn"},
    {"both rename windows, Cancel", "ChangeNameWindows", "cancle_btn"},
    {"both rename windows, Modify", "ChangeNameWindows", "modify_btn"},
    {"debug, title bar", "DebugWindows", "close_pbtn"},
    {"debug, Close", "DebugWindows", "close_btn"},
    {"picture control, title bar", "PictureControlWindows", "close_pbtn"},
    {"picture control, Close", "PictureControlWindows", "close_btn"},
    {"special regulation, title bar", "AlienAdjustWindows", "close_pbtn"},
    {"border effect, title bar", "EdgeMeltingWindows", "close_pbtn"},
    {"multi-media, title bar", "PlaySetWindows", "close_pbtn"},
    {"power schedule, title bar", "TimingSetWindows", "close_pbtn"},
    {"power schedule, Close", "TimingSetWindows", "close_btn"},
    {"power schedule, OK", "TimingSetWindows", "starttime_btn"},
    {"caption settings, title bar", "FontSetWindows", "close_pbtn"},
    {"caption settings, Close", "FontSetWindows", "close_btn"},
    {"virtual remote, title bar", "RemoteControlWindows", "close_pbtn"},
    {"message box, title bar", "MessageBox", "close_pbtn"},
    {"message box, OK", "MessageBox", "ok"},
    {"scrolling caption, its corner button", "RollCaptionWindows", "font_close_pbtn"},
};

// The program's own windows of that class (the console builds one of each,
// two rename windows).
QList<QWidget *> windowsOf(const QString &className)
{
    QList<QWidget *> windows;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (!top->parentWidget() && className == QLatin1String(top->metaObject()->className()))
            windows.append(top);
    return windows;
}

QWidget *onlyWindowOf(const QString &className)
{
    const QList<QWidget *> windows = windowsOf(className);
    if (windows.size() != 1)
        qFatal("%d windows of class %s", int(windows.size()), qPrintable(className));
    return windows.first();
}

// The classes of the program's own parentless windows, menus and Qt's
// helpers left out.
QSet<QString> programWindowClasses()
{
    QSet<QString> classes;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        const QString name = QLatin1String(top->metaObject()->className());
        if (!top->parentWidget() && !name.startsWith(QLatin1Char('Q')))
            classes.insert(name);
    }
    return classes;
}

} // namespace

// Sweeps over every window of the program: the buttons that close a
// window. The table names every window and each of its closing buttons,
// and each row also checks that the program has none the table lacks.
class TestEveryWindow : public ConsoleTest
{
    Q_OBJECT

private slots:
    void init() { build(); }

    void closeButtonsCloseTheirWindow_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("button");
        for (const Closer &closer : closers)
            QTest::newRow(closer.row) << closer.window << closer.button;
    }
    void closeButtonsCloseTheirWindow()
    {
        QFETCH(QString, className);
        QFETCH(QString, button);
        // Windows the console makes on the way: a prompt, and a caption by "Add".
        if (className == QLatin1String("MessageBox")) {
            (new MessageBox)->setMessage(QStringLiteral("Prompt"), QStringLiteral("Text"));
        } else if (className == QLatin1String("RollCaptionWindows")) {
            QWidget *captions = onlyWindowOf(QStringLiteral("FontSetWindows"));
            enter(captions, {"fonttext_te=Line"});
            child<QPushButton>(captions, "addfont_btn")->click();
        }
        QSet<QString> rowClasses;
        for (const Closer &closer : closers)
            rowClasses.insert(QLatin1String(closer.window));
        QVERIFY2(rowClasses.contains(programWindowClasses()),
                 qPrintable((programWindowClasses() - rowClasses).values().join(' ') + " without a row"));

        const QList<QWidget *> windows = windowsOf(className);
        QVERIFY(!windows.isEmpty());
        for (QWidget *top : windows) {
            for (QPushButton *closing : top->findChildren<QPushButton *>()) {
                const QString name = closing->objectName();
                if (!name.endsWith(QLatin1String("close_pbtn")) && closing->text() != QLatin1String("Close")
                    && closing->text() != QLatin1String("Cancel"))
                    continue;
                QVERIFY2(std::any_of(std::begin(closers), std::end(closers),
                                     [&](const Closer &c) { return className == c.window && name == c.button; }),
                         qPrintable(name + " without a row"));
            }
            top->show();
            QVERIFY(QTest::qWaitForWindowExposed(top));
            QEvent enter(QEvent::Enter); // a caption's button shows while the mouse is over it
            if (className == QLatin1String("RollCaptionWindows"))
                QApplication::sendEvent(child<QWidget>(top, "font_widget"), &enter);
            auto *press = child<QAbstractButton>(top, button);
            QVERIFY(press->isVisible() && press->isEnabled());
            QTest::mouseClick(press, Qt::LeftButton);
            QVERIFY(!top->isVisible());
        }
    }

};

VW_TEST_MAIN(TestEveryWindow)
#include "tst_everywindow.moc"
