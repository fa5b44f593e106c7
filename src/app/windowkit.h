#ifndef WINDOWKIT_H
#define WINDOWKIT_H

#include <Qt>

class QWidget;

// The set-up steps every frameless window takes once its form is built:
// quit-on-close attribute, "CanMove" for the drag filter, the frameless flag
// (plus any extra flags) and centring on the whole desktop. Title-bar icons
// are given by the caller with GlobalObject::setButtonIcon.
namespace WindowKit {

enum QuitOnClose { KeepQuitAttribute, QuitOnCloseOff, QuitOnCloseOn };

void setupFrameless(QWidget *window, QuitOnClose quit = QuitOnCloseOff,
                    Qt::WindowFlags extraFlags = {});

// Moves the window to the centre of the whole desktop (all screens).
void centreOnDesktop(QWidget *window);

} // namespace WindowKit

#endif // WINDOWKIT_H
