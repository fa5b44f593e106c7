#include "aboutdialog.h"
#include "consoletest.h"
#include "loginwindows.h"
#include "portsettingwindows.h"
#include "timingsetwindows.h"
#include "desktopsession.h"
#include "shownplaces.h"

#include <QScopeGuard>

// The console's windows on a real X server under a real window manager:
// where X shows a window is where the program takes it to be, at every
// showing and before the pointer ever comes over it, so a drag of its title
// moves it by the drag and a list opens at its box, from the pointer or the
// keyboard. Offscreen, the program's idea of a position is never contradicted.
class TestDesktop : public ConsoleTest
{
    Q_OBJECT

public:
    explicit TestDesktop(DesktopSession &desktop)
        : desktop(desktop)
    {
    }

private:
    DesktopSession &desktop;

    // Counts the events of the given kinds that reach an object while it
    // watches it.
    class Seen : public QObject
    {
    public:
        Seen(QObject *watched, std::initializer_list<QEvent::Type> kinds)
            : watched(watched)
            , kinds(kinds)
        {
            watched->installEventFilter(this);
        }
        ~Seen() override { watched->removeEventFilter(this); }
        bool eventFilter(QObject *, QEvent *event) override
        {
            count += kinds.contains(event->type());
            return false;
        }
        int count = 0;

    private:
        QObject *watched;
        const QList<QEvent::Type> kinds;
    };

    // Tells the window it is at the screen's corner, where X does not show
    // it, and waits until the window has taken the notice in.
    bool toldWrongPlace(QWidget *shown)
    {
        Seen told(shown->windowHandle(), {QEvent::Move});
        return desktop.tellPlace(shown->winId(), QRect(QPoint(0, 0), shown->size()))
               && QTest::qWaitFor([&told] { return told.count > 0; }, 10000);
    }

    // The pointer rests on the screen's corner, away from every window.
    static void parkPointer() { DesktopSession::pointerTo(QPoint(0, 0)); }

    static bool sameAsX(QWidget *shown) { return shown->pos() == DesktopSession::windowPosition(shown->winId()); }

    // What X shows of the window is what the window renders of itself.
    static bool drawnOnX(QWidget *shown)
    {
        const QImage onX = shown->screen()->grabWindow(shown->winId()).toImage().convertToFormat(QImage::Format_RGB32);
        return onX == shown->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // The console knows where X shows the window from the events it has
    // read: it answers while another client holds the server, which would
    // hold a question to X until it lets go.
    bool placeKnownWithoutAskingX(QWidget *shown) const
    {
        const QPoint onX = DesktopSession::windowPosition(shown->winId());
        ServerHold hold(desktop.display());
        const std::optional<QPoint> known = ShownPlaces::shownPlace(shown->winId());
        return hold.held() && known == onX;
    }

    // X (the server DISPLAY names, or the one given) shows the window in
    // one place for half a second.
    static bool holdsStill(WId shown, const QString &display = QString())
    {
        const QPoint first = DesktopSession::windowPosition(shown, display);
        QTest::qWait(500);
        return DesktopSession::windowPosition(shown, display) == first;
    }

    // A window of the test's own, past the window manager, covers the
    // screen and goes: X exposes every window beneath it again.
    static bool coverAndUncover()
    {
        QWidget cover(nullptr, Qt::BypassWindowManagerHint | Qt::FramelessWindowHint);
        cover.setGeometry(QGuiApplication::primaryScreen()->virtualGeometry());
        cover.show();
        const bool exposed = QTest::qWaitForWindowExposed(&cover, 10000);
        cover.hide();
        return exposed;
    }

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

    // A list opened by a click on its box or from the keyboard must lie on
    // the box's left edge, below the box or above it, where X shows the box.
    static bool listOpensAtBox(QComboBox *box, const std::function<void(QPoint boxCentre)> &open)
    {
        const QRect boxAt(DesktopSession::windowPosition(box->window()->winId()) + box->mapTo(box->window(), QPoint()),
                          box->size());
        open(boxAt.center());
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

    // The keyboard's way to the "Repeat type" list: On/Off ticked with the
    // space bar, Tab until the list's box has the focus, Alt+Down.
    static bool repeatListOpensFromKeyboard(QWidget *timing)
    {
        auto *onOff = child<QAbstractButton>(timing, QStringLiteral("on_off_btn"));
        auto *repeat = child<QComboBox>(timing, QStringLiteral("model_cb"));
        onOff->setFocus();
        if (!QTest::qWaitFor([onOff] { return onOff->hasFocus(); }, 10000))
            return false;
        if (!onOff->isChecked())
            DesktopSession::key(QStringLiteral("space"));
        if (!QTest::qWaitFor([onOff] { return onOff->isChecked(); }, 10000))
            return false;
        for (int tab = 0; tab < 12 && !repeat->hasFocus(); ++tab) {
            QWidget *before = timing->focusWidget();
            DesktopSession::key(QStringLiteral("Tab"));
            if (!QTest::qWaitFor([timing, before] { return timing->focusWidget() != before; }, 10000))
                return false;
        }
        return repeat->hasFocus()
               && listOpensAtBox(repeat, [](QPoint) { DesktopSession::key(QStringLiteral("alt+Down")); });
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
                // Opened with the pointer away from it: the window knows
                // where X shows it before any pointer event reaches it.
                parkPointer();
                // The pointer's entry, its moves and presses.
                Seen pointer(w.shown, {QEvent::Enter, QEvent::MouseMove, QEvent::MouseButtonPress});
                w.opener->click();
                // As the window is being framed, X may tell it it is at the
                // frame's corner: told so here on purpose, the window must
                // still come to know where X shows it.
                QVERIFY2(desktop.tellPlace(w.shown->winId(), QRect(QPoint(0, 0), w.shown->size())), where);
                QVERIFY2(QTest::qWaitForWindowExposed(w.shown, 10000), where);
                QTRY_VERIFY2_WITH_TIMEOUT(sameAsX(w.shown), where + " is not where X shows it while the pointer is away",
                                          10000);
                QTRY_VERIFY2_WITH_TIMEOUT(drawnOnX(w.shown), where + " is not drawn on X as it renders itself", 10000);
                QVERIFY2(placeKnownWithoutAskingX(w.shown), where + ": where X shows it is not known without asking X");
                QVERIFY2(DesktopSession::windowPosition(w.shown->winId()) == left[w.shown],
                         where + " does not open where it was left");
                // Told so again once it is shown.
                QVERIFY2(toldWrongPlace(w.shown), where + ": the wrong place did not reach it");
                QTRY_VERIFY2_WITH_TIMEOUT(sameAsX(w.shown), where + " believes a wrong place X told it", 10000);
                if (w.shown == static_cast<QWidget *>(window->timingSetWindow))
                    QVERIFY2(repeatListOpensFromKeyboard(w.shown),
                             where + ": the repeat list does not open at its box from the keyboard");
                QVERIFY2(pointer.count == 0, where + ": the pointer reached it while parked away");
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
                    QVERIFY2(listOpensAtBox(child<QComboBox>(w.shown, QStringLiteral("lcd_port_cb")), DesktopSession::click),
                             where + ": the port list does not open at its box");
                child<QAbstractButton>(w.shown, QStringLiteral("close_pbtn"))->click();
                QTRY_VERIFY2(!w.shown->isVisible(), where);
            }
        }
        GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/blue.css"));
    }

    // The window manager stopped for a while, as a busy one is. A window
    // shown meanwhile and told a wrong place before it is framed knows where
    // X shows it once it is; a drag made meanwhile is carried out once the
    // manager goes on, whatever reaches the window in between: the pointer
    // leaving and coming back, and X exposing the window again.
    void aStoppedWindowManager()
    {
        build();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window, 10000));
        QWidget *shown = window->portSetWindow;
        parkPointer();
        QVERIFY2(desktop.pauseWindowManager(), qPrintable(desktop.error()));
        // Going on twice does no harm; a failed check must not leave it stopped.
        const auto goOn = qScopeGuard([this] { desktop.resumeWindowManager(); });
        window->ui->port_set_btn->click();
        QVERIFY(toldWrongPlace(shown));
        desktop.resumeWindowManager();
        QVERIFY(QTest::qWaitForWindowExposed(shown, 10000));
        QTRY_VERIFY2_WITH_TIMEOUT(sameAsX(shown), "it believes the place it was told before it was framed", 10000);
        const QPoint before = DesktopSession::windowPosition(shown->winId());
        const QPoint drag(80, 20);
        const QPoint grip = before + QPoint(shown->width() / 3, 10);

        // The press reaches the window through the manager, which is stopped
        // only once the window has it.
        Seen pressed(shown->windowHandle(), {QEvent::MouseButtonPress});
        DesktopSession::pointerTo(grip);
        DesktopSession::press();
        QTRY_VERIFY_WITH_TIMEOUT(pressed.count == 1, 10000);
        QVERIFY2(desktop.pauseWindowManager(), qPrintable(desktop.error()));
        DesktopSession::pointerTo(grip + drag / 2);
        DesktopSession::pointerTo(grip + drag);
        QTRY_VERIFY_WITH_TIMEOUT(shown->pos() == before + drag, 10000);
        Seen released(shown->windowHandle(), {QEvent::MouseButtonRelease});
        DesktopSession::release();
        QTRY_VERIFY_WITH_TIMEOUT(released.count == 1, 10000);
        QVERIFY2(DesktopSession::windowPosition(shown->winId()) == before, "X moved it without the manager");

        // The pointer leaves and comes back where X still shows the window.
        parkPointer();
        QTRY_VERIFY_WITH_TIMEOUT(!shown->underMouse(), 10000);
        DesktopSession::pointerTo(before + shown->rect().center());
        QTRY_VERIFY_WITH_TIMEOUT(shown->underMouse(), 10000);
        // X exposes the console's window again.
        Seen exposed(shown->windowHandle(), {QEvent::Expose});
        QVERIFY(coverAndUncover());
        QTRY_VERIFY_WITH_TIMEOUT(exposed.count > 0, 10000);

        desktop.resumeWindowManager();
        // Settled: X shows the window in one place, and the window agrees.
        QTRY_VERIFY_WITH_TIMEOUT(holdsStill(shown->winId()) && sameAsX(shown), 20000);
        QVERIFY2(DesktopSession::windowPosition(shown->winId()) == before + drag,
                 "the drag was undone while the manager was stopped");
    }

    // The console started as "videowall -display" this desktop while
    // DISPLAY names another server, on which windows of other clients have
    // the ids the console's windows get here, placed where it is not: the
    // console opens centred on this desktop and stays there, also once X
    // has exposed it again. On that other server, an X server alone with no
    // window manager to place it, the console opens centred as well.
    void theConsoleOnTheDisplayItIsGiven_data()
    {
        QTest::addColumn<bool>("windowManager");
        QTest::newRow("under a window manager, DISPLAY naming another server") << true;
        QTest::newRow("on an X server alone") << false;
    }
    void theConsoleOnTheDisplayItIsGiven()
    {
        QFETCH(bool, windowManager);
        DesktopSession other;
        QVERIFY2(other.startServer(), qPrintable(other.error()));
        const QPoint elsewhere(118, 46);
        QVERIFY(!windowManager || other.placeWindowsOfOthers(16, 64, elsewhere));
        const QString shownOn = windowManager ? desktop.display() : other.display();

        QTemporaryDir folder;
        const QString program = folder.filePath(QFileInfo(QStringLiteral(VW_CONSOLE)).fileName());
        QVERIFY(folder.isValid() && QFile::copy(QStringLiteral(VW_CONSOLE), program));
        ChildProcess console;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), other.display());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        console.setProcessEnvironment(environment);
        console.setWorkingDirectory(folder.path());
        console.setStandardOutputFile(QProcess::nullDevice());
        console.setStandardErrorFile(QProcess::nullDevice());
        console.start(program, {QStringLiteral("-display"), shownOn});
        QVERIFY2(console.waitForStarted(30000), qPrintable(console.errorString()));

        // Its main window, the only one it shows at start.
        QList<WId> shown;
        QTRY_VERIFY_WITH_TIMEOUT((shown = DesktopSession::windowsOf(console.processId(), shownOn)).size() == 1, 60000);
        const WId main = shown.first();
        QVERIFY2(!windowManager || ((main & 0x1fffff) >= 1 && (main & 0x1fffff) <= 64 && (main >> 21) <= 16),
                 "the other server has no window with the main window's id");
        // Both servers have the screen of this desktop.
        const QRect desktopArea = QGuiApplication::primaryScreen()->virtualGeometry();
        // Each try takes half a second: the wait is bounded by the clock.
        const auto stillAtCentre = [main, desktopArea, shownOn] {
            const QRect at = DesktopSession::windowGeometry(main, shownOn);
            return holdsStill(main, shownOn)
                   && at.topLeft() == QPoint(desktopArea.width() / 2 - at.width() / 2, desktopArea.height() / 2 - at.height() / 2);
        };
        const auto where = [main, shownOn] {
            const QPoint at = DesktopSession::windowPosition(main, shownOn);
            return QByteArray::number(at.x()) + ',' + QByteArray::number(at.y());
        };
        QVERIFY2(QTest::qWaitFor(stillAtCentre, 20000), "it does not open centred but at " + where());
        if (windowManager) {
            QVERIFY(coverAndUncover());
            QVERIFY2(QTest::qWaitFor(stillAtCentre, 20000), "it leaves the centre once exposed again for " + where());
        }
        QCOMPARE(console.state(), QProcess::Running);
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
    TestDesktop tc(desktop);
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_desktop.moc"
