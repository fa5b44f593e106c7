#ifndef WINDOWKIT_H
#define WINDOWKIT_H

class QWidget;

// The set-up steps every frameless window takes once its form is built:
// quit-on-close attribute, "CanMove" for the drag filter, the frameless flag
// and centring on the whole desktop. Title-bar icons are given by the caller
// with GlobalObject::setButtonIcon.
namespace WindowKit {

enum QuitOnClose { KeepQuitAttribute, QuitOnCloseOff };

// Every window of the kit keeps its idea of its place in line with where X
// shows it (see windowkit.cpp).
//
// Any window but the main one. It is a dialog-type window, the kind a window
// manager keeps above its transient parent, and each time it is shown it
// becomes transient for the main window: clicking the main window no longer
// buries it. Modality is left as the window sets it.
void setupFrameless(QWidget *window, QuitOnClose quit = QuitOnCloseOff);

// The main window: it ends the program when closed, can be minimised, and is
// the window every other one stays above.
void setupMainWindow(QWidget *window);

// Brings the window to the front: a shown window is raised, a hidden one is
// only shown (it is mapped above the others anyway). Raising a hidden window
// that was shown before restacks a window the window manager has let go of,
// and X's answer to it races with the manager framing the window again.
void showInFront(QWidget *window);

// Moves the window to the centre of the whole desktop (all screens).
void centreOnDesktop(QWidget *window);

} // namespace WindowKit

#endif // WINDOWKIT_H
