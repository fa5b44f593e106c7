#include "shownplaces.h"

#ifdef Q_OS_LINUX
#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QHash>
#include <QX11Info>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

namespace ShownPlaces {

#ifdef Q_OS_LINUX

namespace {

template<typename Reply>
using Answer = std::unique_ptr<Reply, decltype(&std::free)>;

template<typename Reply>
Answer<Reply> answer(Reply *reply)
{
    return Answer<Reply>(reply, &std::free);
}

// Follows the structure events X sends Qt's own connection about the
// followed windows and about the windows they sit in (the frames a window
// manager puts them in, and the frames' own parents up to the root): each
// says where its window lies within its parent, so the sum up the chain is
// where X shows a window, with no question to X. Only real events count:
// a sent one (a window manager's configure notice) claims a place nobody
// checked, and one answered while the manager frames the window, or sent by
// any client, may be wrong.
//
// X is asked only what no event has said yet: where a new parent lies
// (asked once, when the window is put in it; from then on the parent's own
// events are followed), and where a window that no event has placed is
// shown (no window manager: nothing moves it before it is mapped).
class Watch : public QAbstractNativeEventFilter
{
public:
    Watch()
        : connection(QX11Info::connection())
        , root(xcb_window_t(QX11Info::appRootWindow()))
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    void follow(xcb_window_t window)
    {
        // Qt's windows are made unmapped, with no border, in the root.
        if (!places.contains(window))
            places.insert(window, Place{root, std::nullopt, 0, false});
    }

    std::optional<QPoint> shownPlace(xcb_window_t window)
    {
        const auto place = places.constFind(window);
        if (place != places.constEnd() && !place->mapped)
            return std::nullopt;
        if (const std::optional<QPoint> origin = originInRoot(window))
            return origin;
        return ask(window);
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, long *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        // The high bit of the type marks a sent event: those go by.
        switch (event->response_type) {
        case XCB_CONFIGURE_NOTIFY: {
            const auto *configure = reinterpret_cast<const xcb_configure_notify_event_t *>(event);
            if (Place *place = placeOf(configure->event, configure->window)) {
                place->corner = QPoint(configure->x, configure->y);
                place->border = configure->border_width;
            }
            break;
        }
        case XCB_REPARENT_NOTIFY: {
            const auto *reparent = reinterpret_cast<const xcb_reparent_notify_event_t *>(event);
            if (Place *place = placeOf(reparent->event, reparent->window)) {
                place->parent = reparent->parent;
                place->corner = QPoint(reparent->x, reparent->y);
                learnParents(reparent->parent);
            }
            break;
        }
        case XCB_MAP_NOTIFY: {
            const auto *map = reinterpret_cast<const xcb_map_notify_event_t *>(event);
            if (Place *place = placeOf(map->event, map->window))
                place->mapped = true;
            break;
        }
        case XCB_UNMAP_NOTIFY: {
            const auto *unmap = reinterpret_cast<const xcb_unmap_notify_event_t *>(event);
            if (Place *place = placeOf(unmap->event, unmap->window))
                place->mapped = false;
            break;
        }
        case XCB_DESTROY_NOTIFY: {
            const auto *destroy = reinterpret_cast<const xcb_destroy_notify_event_t *>(event);
            if (destroy->event == destroy->window)
                places.remove(destroy->window);
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    // A window's place within its parent, as the last event about it (or
    // the one answer asked of X) had it.
    struct Place
    {
        xcb_window_t parent;
        // The outer corner (the border's) in the parent; unknown until an
        // event or an answer gives it.
        std::optional<QPoint> corner;
        int border;
        // Followed windows only; a parent's own map state is not followed.
        bool mapped;
    };

    // An event about a window followed here, to the window itself (not to
    // its parent).
    Place *placeOf(xcb_window_t receiver, xcb_window_t window)
    {
        if (receiver != window)
            return nullptr;
        const auto place = places.find(window);
        return place == places.end() ? nullptr : &*place;
    }

    std::optional<QPoint> originInRoot(xcb_window_t window) const
    {
        QPoint origin;
        // A parent chain is short: the window manager's frame or two.
        for (int depth = 0; window != root; ++depth) {
            const auto place = places.constFind(window);
            if (place == places.constEnd() || !place->corner || depth > 16)
                return std::nullopt;
            origin += *place->corner + QPoint(place->border, place->border);
            window = place->parent;
        }
        return origin;
    }

    // A window the followed one is put in: its structure events are asked
    // for, then where it lies is asked once (after the request for events,
    // so every later change comes as an event), and so on up to the root.
    // A parent that is gone by then is left unknown.
    void learnParents(xcb_window_t window)
    {
        while (window != root && !places.contains(window)) {
            const quint32 events[] = {XCB_EVENT_MASK_STRUCTURE_NOTIFY};
            xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, events);
            // Both questions go out before either answer is awaited.
            const auto treeCookie = xcb_query_tree(connection, window);
            const auto geometryCookie = xcb_get_geometry(connection, window);
            const auto tree = answer(xcb_query_tree_reply(connection, treeCookie, nullptr));
            const auto geometry = answer(xcb_get_geometry_reply(connection, geometryCookie, nullptr));
            if (!tree || !geometry)
                return;
            places.insert(window, Place{tree->parent, QPoint(geometry->x, geometry->y), geometry->border_width, true});
            window = tree->parent;
        }
    }

    // Asked of X when no event has told it: the answer also places a window
    // that lies in the root, until its next event.
    std::optional<QPoint> ask(xcb_window_t window)
    {
        const auto mapCookie = xcb_get_window_attributes(connection, window);
        const auto placeCookie = xcb_translate_coordinates(connection, window, root, 0, 0);
        const auto map = answer(xcb_get_window_attributes_reply(connection, mapCookie, nullptr));
        const auto place = answer(xcb_translate_coordinates_reply(connection, placeCookie, nullptr));
        if (!map || !place || map->map_state != XCB_MAP_STATE_VIEWABLE)
            return std::nullopt;
        const QPoint shown(place->dst_x, place->dst_y);
        const auto followed = places.find(window);
        if (followed != places.end() && followed->parent == root)
            followed->corner = shown - QPoint(followed->border, followed->border);
        return shown;
    }

    xcb_connection_t *const connection;
    const xcb_window_t root;
    // The followed windows and the windows they sit in, by X's id.
    QHash<xcb_window_t, Place> places;
};

Watch *watch()
{
    // Lives as long as the process, like the windows it follows; made on
    // the first showing, once Qt's connection is up.
    static Watch *const instance = QX11Info::isPlatformX11() ? new Watch : nullptr;
    return instance;
}

} // namespace

void follow(WId window)
{
    if (Watch *w = watch())
        w->follow(xcb_window_t(window));
}

std::optional<QPoint> shownPlace(WId window)
{
    if (Watch *w = watch())
        return w->shownPlace(xcb_window_t(window));
    return std::nullopt;
}

#else

void follow(WId) {}

std::optional<QPoint> shownPlace(WId)
{
    return std::nullopt;
}

#endif

} // namespace ShownPlaces
