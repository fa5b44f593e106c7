#include "windowkit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

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
// (0,0). Every pointer event carries the truth (its position in the window
// and on the screen), so at each press and each entry of the pointer, before
// the press reaches a widget, the window's idea of its place is set to what X
// shows; the move asks for the place the window already has, and the
// manager's answer confirms it.
class WindowWatcher : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Installed on the windows (for their show) and on their native
        // handles (for the pointer): both get events of each kind.
        if (watched->isWidgetType()) {
            if (event->type() == QEvent::Show)
                watchHandle(static_cast<QWidget *>(watched));
            return false;
        }
        if (!watched->isWindowType())
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            // A press with another button held may come in the middle of a
            // drag, while X has not yet caught up with the window's moves.
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->buttons() == mouse->button())
                keepPlace(static_cast<QWindow *>(watched), mouse->screenPos() - mouse->localPos());
            break;
        }
        case QEvent::Enter: {
            const auto *enter = static_cast<QEnterEvent *>(event);
            if (QGuiApplication::mouseButtons() == Qt::NoButton)
                keepPlace(static_cast<QWindow *>(watched), enter->screenPos() - enter->localPos());
            break;
        }
        default:
            break;
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
        if (mainWindow && window != mainWindow)
            handle->setTransientParent(mainWindow->windowHandle());
    }

    static void keepPlace(QWindow *handle, QPointF shownAt)
    {
        QWidget *window = QWidget::find(handle->winId());
        if (!window)
            return;
        const QPoint offset = shownAt.toPoint() - window->geometry().topLeft();
        if (!offset.isNull())
            window->move(window->pos() + offset);
    }
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
    window->installEventFilter(windowWatcher());
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
