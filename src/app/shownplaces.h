#ifndef SHOWNPLACES_H
#define SHOWNPLACES_H

#include <QWindow>

#include <optional>

// Where X shows the windows of the window kit, on the display Qt itself
// speaks to. Only on the xcb platform: elsewhere there is no X, and no
// place is ever known.
namespace ShownPlaces {

// From the window's first showing on, its place is kept from the events
// Qt already reads. Called before the window is mapped.
void follow(WId window);

// Where X shows the window's top left corner on the screen; nothing while
// the window is not mapped.
std::optional<QPoint> shownPlace(WId window);

} // namespace ShownPlaces

#endif // SHOWNPLACES_H
