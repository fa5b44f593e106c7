#include "windowkit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace WindowKit {

void setupFrameless(QWidget *window, QuitOnClose quit, Qt::WindowFlags extraFlags)
{
    if (quit != KeepQuitAttribute)
        window->setAttribute(Qt::WA_QuitOnClose, quit == QuitOnCloseOn);
    window->setProperty("CanMove", true);
    window->setWindowFlags(Qt::FramelessWindowHint | extraFlags);
    centreOnDesktop(window);
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
