#include "aboutdialog.h"
#include "consoletest.h"
#include "loginwindows.h"
#include "portsettingwindows.h"
#include "timingsetwindows.h"
#include "desktopsession.h"

// The console's windows on a real X server under a real window manager:
// where X shows a window is where the program takes it to be, at every
// showing, so a drag of its title moves it by the drag and a list opens at
// its box. Offscreen, the program's idea of a position is never contradicted.
class TestDesktop : public ConsoleTest
{
    Q_OBJECT

private:
    // Drags the window by its title bar with the pointer, as a hand does.
    static void dragTitle(QWidget *shown, QPoint by)
    {
        const QPoint grip = DesktopSession::windowPosition(shown->winId()) + QPoint(shown->width() / 3, 10);
        DesktopSession::pointerTo(grip);
        DesktopSession::press();
        QTest::qWait(50);
        DesktopSession::pointerTo(grip + by / 2);
        QTest::qWait(50);
        DesktopSession::pointerTo(grip + by);
        QTest::qWait(50);
        DesktopSession::release();
    }

    // Brings the pointer over the window from outside it, until the window
    // has seen it come. On a busy machine a window has once been seen not
    // to register the pointer at all, so it comes in again a few times
    // before that counts as a failure.
    static bool pointerOver(QWidget *shown)
    {
        for (int attempt = 0; attempt < 5; ++attempt) {
            DesktopSession::pointerTo(QPoint(0, 0));
            QTest::qWait(50);
            DesktopSession::pointerTo(DesktopSession::windowPosition(shown->winId()) + shown->rect().center());
            if (QTest::qWaitFor([shown] { return shown->underMouse(); }, 3000))
                return true;
        }
        return false;
    }

    // The "Port num" list is opened by a click on its box and must lie on
    // the box's left edge, below the box or above it.
    static bool listOpensAtBox(QComboBox *box)
    {
        const QRect boxAt(DesktopSession::windowPosition(box->window()->winId()) + box->mapTo(box->window(), QPoint()),
                          box->size());
        DesktopSession::click(boxAt.center());
        QWidget *list = box->view()->window();
        if (!QTest::qWaitFor([list] { return list->isVisible(); }, 10000))
            return false;
        const auto atBox = [&] {
            const QRect listAt(DesktopSession::windowPosition(list->winId()), list->size());
            return listAt.left() == boxAt.left() && (listAt.top() == boxAt.bottom() || listAt.bottom() == boxAt.top());
        };
        const bool opened = QTest::qWaitFor(atBox, 10000);
        box->hidePopup();
        return opened;
    }

private slots:
    // Port Setting, the login window, Timing and About, each shown four
    // times with the other three shown and closed in between; the last
    // round in the black skin.
    void windowsStayWhereXShowsThem()
    {
        GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/blue.css"));
        build();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window, 10000));
        const struct
        {
            const char *name;
            QAbstractButton *opener;
            QWidget *shown;
        } windows[] = {{"Port Setting", ui->port_set_btn, window->portSetWindow},
                       {"Login", ui->admin_btn, window->loginWindow},
                       {"Timing", ui->timi_btn, window->timingSetWindow},
                       {"About", ui->about_btn, window->aboutWindow}};
        const QPoint drag(80, 20);
        // Where each window was left: centred before its first showing.
        QHash<QWidget *, QPoint> left;
        for (const auto &w : windows)
            left[w.shown] = w.shown->pos();
        for (int showing = 1; showing <= 4; ++showing) {
            if (showing == 4)
                GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/black.css"));
            for (const auto &w : windows) {
                const QByteArray where = QByteArray(w.name) + ", showing " + QByteArray::number(showing);
                w.opener->click();
                QVERIFY2(QTest::qWaitForWindowExposed(w.shown, 10000), where);
                // The pointer comes over the window before any press: the
                // window stays where it was left, and knows it is there.
                const QPoint before = DesktopSession::windowPosition(w.shown->winId());
                QVERIFY2(pointerOver(w.shown), where + ": the pointer is not seen over it");
                QVERIFY2(DesktopSession::windowPosition(w.shown->winId()) == left[w.shown],
                         where + " does not open where it was left");
                QVERIFY2(w.shown->pos() == left[w.shown], where + " is not where X shows it before a press");
                dragTitle(w.shown, drag);
                QTRY_VERIFY2_WITH_TIMEOUT(DesktopSession::windowPosition(w.shown->winId()) == before + drag,
                                          where + " is not moved by the drag", 10000);
                QTRY_VERIFY2_WITH_TIMEOUT(w.shown->pos() == DesktopSession::windowPosition(w.shown->winId()),
                                          where + " is not where X shows it", 10000);
                left[w.shown] = before + drag;
                if (w.shown == static_cast<QWidget *>(window->portSetWindow))
                    QVERIFY2(listOpensAtBox(child<QComboBox>(w.shown, QStringLiteral("lcd_port_cb"))),
                             where + ": the port list does not open at its box");
                child<QAbstractButton>(w.shown, QStringLiteral("close_pbtn"))->click();
                QTRY_VERIFY2(!w.shown->isVisible(), where);
            }
        }
        GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/blue.css"));
    }
};

int main(int argc, char *argv[])
{
    const QString missing = DesktopSession::missingTool();
    if (!missing.isEmpty()) {
        qWarning("SKIP: %s is missing (apt-get install xvfb openbox xdotool x11-utils)", qPrintable(missing));
        return 77;
    }
    DesktopSession desktop;
    if (!desktop.start()) {
        qWarning("%s", qPrintable(desktop.error()));
        return 1;
    }
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TempFolder folder;
    if (!folder.isValid())
        return 1;
    TestDesktop tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_desktop.moc"
