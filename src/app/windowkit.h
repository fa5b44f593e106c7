#ifndef WINDOWKIT_H
#define WINDOWKIT_H

class QWidget;

// The set-up steps every frameless window takes once its form is built:
// quit-on-close attribute, "CanMove" for the drag filter, the frameless flag
// and centring on the whole desktop. Title-bar icons are given by the caller
// with GlobalObject::setButtonIcon.
namespace WindowKit {

enum QuitOnClose { KeepQuitAttribute, QuitOnCloseOff };

// Any window but the main one. It is a dialog-type window, the kind a window
// manager keeps above its transient parent, and each time it is shown it
// becomes transient for the main window: clicking the main window no longer
// buries it. Modality is left as the window sets it.
void setupFrameless(QWidget *window, QuitOnClose quit = QuitOnCloseOff);

// The main window: it ends the program when closed, can be minimised, and is
// the window every other one stays above.
void setupMainWindow(QWidget *window);

// Moves the window to the centre of the whole desktop (all screens).
void centreOnDesktop(QWidget *window);

} // namespace WindowKit

#endif // WINDOWKIT_H
