#include "windowkit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace WindowKit {

namespace {

QPointer<QWidget> mainWindow;

// The native window exists from the first show on, and the show event comes
// before it is mapped: the window manager reads the transient parent at the
// map, so it is set there, and the windows need no native window at start-up.
class TransientParentSetter : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && mainWindow && watched != mainWindow) {
            if (QWindow *handle = static_cast<QWidget *>(watched)->windowHandle())
                handle->setTransientParent(mainWindow->windowHandle());
        }
        return false;
    }
};

void setupCommon(QWidget *window, Qt::WindowFlags flags)
{
    window->setProperty("CanMove", true);
    window->setWindowFlags(flags);
    centreOnDesktop(window);
}

} // namespace

void setupFrameless(QWidget *window, QuitOnClose quit)
{
    // Lives as long as the process, like the windows it watches.
    static auto *const transientParentSetter = new TransientParentSetter;
    if (quit == QuitOnCloseOff)
        window->setAttribute(Qt::WA_QuitOnClose, false);
    setupCommon(window, Qt::Dialog | Qt::FramelessWindowHint);
    window->installEventFilter(transientParentSetter);
}

void setupMainWindow(QWidget *window)
{
    mainWindow = window;
    window->setAttribute(Qt::WA_QuitOnClose, true);
    setupCommon(window, Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
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
