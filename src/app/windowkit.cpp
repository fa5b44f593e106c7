#include "windowkit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <optional>

#include "shownplaces.h"

namespace WindowKit {

namespace {

QPointer<QWidget> mainWindow;

// Watches every window of the kit. The native window exists from the first
// show on, and the show event comes before it is mapped: the window manager
// reads the transient parent at the map, so it is set there, and the windows
// need no native window at start-up.
//
// X tells a window where it is in configure notices that race with the
// window manager: one that is answered while the manager is still framing
// the window (at a map, most often the first or second showing) reads the
// frame's corner, and the manager, seeing no move of its own, sends nothing
// to correct it. The program would then place lists, menus and drags from
// (0,0), whether or not the pointer ever comes in. So whenever X exposes a
// window (the first time once it is framed and mapped) or reports it moved,
// the kit looks up where X shows the window (see shownplaces.h) and, if the
// window thinks otherwise, moves it there: the move asks for the place the
// window already has.
//
// A move the program asked for (a drag) is carried out by the manager in
// its own time: until then X still shows the window where it was, and a
// correction would be queued behind the move and undo it. So no correction
// is made until X shows the window at the last place the program asked for.
class WindowWatcher : public QObject
{
public:
    void watch(QWidget *window)
    {
        window->installEventFilter(this);
        connect(window, &QObject::destroyed, this, [this, window] { asked.remove(window); });
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Installed on the windows (for their show, hide and moves) and on
        // their native handles (for X's exposes): both get events of each
        // kind.
        if (watched->isWidgetType()) {
            auto *window = static_cast<QWidget *>(watched);
            if (event->type() == QEvent::Show)
                watchHandle(window);
            if (!onX)
                return false;
            switch (event->type()) {
            case QEvent::Hide:
                // A hidden window's moves are X's no longer: the next
                // showing places it anew.
                asked.remove(window);
                break;
            case QEvent::Move:
                // The program's own moves come unprompted by X; the others
                // report where X shows the window.
                if (!event->spontaneous()) {
                    if (window->isVisible())
                        asked.insert(window, window->geometry().topLeft());
                } else {
                    keepPlace(window);
                }
                break;
            default:
                break;
            }
            return false;
        }
        if (onX && watched->isWindowType() && event->type() == QEvent::Expose) {
            if (QWidget *window = QWidget::find(static_cast<QWindow *>(watched)->winId()))
                keepPlace(window);
        }
        return false;
    }

private:
    void watchHandle(QWidget *window)
    {
        QWindow *handle = window->windowHandle();
        if (!handle)
            return;
        // Installing again only moves the filter to the front.
        handle->installEventFilter(this);
        if (onX)
            ShownPlaces::follow(handle->winId());
        if (mainWindow && window != mainWindow)
            handle->setTransientParent(mainWindow->windowHandle());
    }

    void keepPlace(QWidget *window)
    {
        if (!window->isVisible())
            return;
        const std::optional<QPoint> shown = ShownPlaces::shownPlace(window->winId());
        if (!shown)
            return;
        const auto move = asked.constFind(window);
        if (move != asked.constEnd()) {
            if (*move != *shown)
                return;
            asked.erase(move);
        }
        const QPoint offset = *shown - window->geometry().topLeft();
        if (!offset.isNull())
            window->move(window->pos() + offset);
    }

    // Away from X (offscreen, other systems) a window's place is never
    // contradicted, and there is nothing to keep.
    const bool onX = QGuiApplication::platformName() == QLatin1String("xcb");
    // The last place the program asked for each shown window while X does
    // not show it there yet.
    QHash<const QWidget *, QPoint> asked;
};

WindowWatcher *windowWatcher()
{
    // Lives as long as the process, like the windows it watches.
    static auto *const watcher = new WindowWatcher;
    return watcher;
}

void setupCommon(QWidget *window, Qt::WindowFlags flags)
{
    window->setProperty("CanMove", true);
    window->setWindowFlags(flags);
    centreOnDesktop(window);
    windowWatcher()->watch(window);
}

} // namespace

void setupFrameless(QWidget *window, QuitOnClose quit)
{
    if (quit == QuitOnCloseOff)
        window->setAttribute(Qt::WA_QuitOnClose, false);
    setupCommon(window, Qt::Dialog | Qt::FramelessWindowHint);
}

void setupMainWindow(QWidget *window)
{
    mainWindow = window;
    window->setAttribute(Qt::WA_QuitOnClose, true);
    setupCommon(window, Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
}

void showInFront(QWidget *window)
{
    if (window->isVisible())
        window->raise();
    else
        window->show();
}

void centreOnDesktop(QWidget *window)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desktop = screen->virtualGeometry();
    window->move(desktop.width() / 2 - window->width() / 2,
                 desktop.height() / 2 - window->height() / 2);
}

} // namespace WindowKit
