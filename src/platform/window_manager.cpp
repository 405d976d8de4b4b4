#include "platform/window_manager.h"

#include <QGuiApplication>
#include <QPoint>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
xcb_connection_t* Connection()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* c, const std::string& name, bool onlyIfExists)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, onlyIfExists ? 1 : 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// Whether the window manager lists the atom in _NET_SUPPORTED on the root.
bool Supported(xcb_connection_t* c, xcb_window_t root, xcb_atom_t atom)
{
    const xcb_atom_t supported = Atom(c, "_NET_SUPPORTED", true);
    if (supported == XCB_ATOM_NONE)
        return false;
    bool found = false;
    uint32_t offset = 0;
    for (;;) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, root, supported, XCB_ATOM_ATOM, offset, 1024), nullptr);
        if (!reply)
            break;
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int n = xcb_get_property_value_length(reply) / static_cast<int>(sizeof(xcb_atom_t));
        found = std::find(atoms, atoms + n, atom) != atoms + n;
        const bool more = reply->bytes_after > 0;
        offset += static_cast<uint32_t>(n);
        std::free(reply);
        if (found || !more)
            break;
    }
    return found;
}
} // namespace

bool WindowManagerRunning()
{
    xcb_connection_t* c = Connection();
    if (!c)
        return false;
    // A window manager owns the WM_Sn selection of its screen.
    int screen = 0;
    if (const char* display = std::getenv("DISPLAY"))
        if (const char* dot = std::strrchr(display, '.'); dot && std::strchr(dot, ':') == nullptr)
            screen = std::atoi(dot + 1);
    const std::string name = "WM_S" + std::to_string(screen);
    const xcb_atom_t selection = Atom(c, name, true);
    if (selection == XCB_ATOM_NONE)
        return false;
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const bool owned = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    return owned;
}

namespace {
// _NET_WM_MOVERESIZE directions.
constexpr uint32_t kSizeTopLeft = 0, kSizeTop = 1, kSizeTopRight = 2, kSizeRight = 3, kSizeBottomRight = 4,
                   kSizeBottom = 5, kSizeBottomLeft = 6, kSizeLeft = 7, kMove = 8;

bool MoveResize(QWindow* window, const QPoint& press, uint32_t direction);
} // namespace

bool WindowManagerMove(QWindow* window, const QPoint& press) { return MoveResize(window, press, kMove); }

bool WindowManagerSize(QWindow* window, const QPoint& press, Qt::Edges edges)
{
    const bool left = edges & Qt::LeftEdge;
    const bool right = edges & Qt::RightEdge;
    uint32_t direction = 0;
    if (edges & Qt::TopEdge)
        direction = left ? kSizeTopLeft : right ? kSizeTopRight : kSizeTop;
    else if (edges & Qt::BottomEdge)
        direction = left ? kSizeBottomLeft : right ? kSizeBottomRight : kSizeBottom;
    else if (left || right)
        direction = left ? kSizeLeft : kSizeRight;
    else
        return false;
    return MoveResize(window, press, direction);
}

namespace {
bool MoveResize(QWindow* window, const QPoint& press, uint32_t direction)
{
    xcb_connection_t* c = Connection();
    if (!c || !window || !WindowManagerRunning())
        return false;
    const auto id = static_cast<xcb_window_t>(window->winId());
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr);
    if (!geometry)
        return false;
    const xcb_window_t root = geometry->root;
    std::free(geometry);
    const xcb_atom_t moveResize = Atom(c, "_NET_WM_MOVERESIZE", false);
    if (moveResize == XCB_ATOM_NONE || !Supported(c, root, moveResize))
        return false;
    const qreal ratio = window->devicePixelRatio();
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = moveResize;
    message.data.data32[0] = static_cast<uint32_t>(qRound(press.x() * ratio));
    message.data.data32[1] = static_cast<uint32_t>(qRound(press.y() * ratio));
    message.data.data32[2] = direction;
    message.data.data32[3] = XCB_BUTTON_INDEX_1;
    message.data.data32[4] = 1; // a normal application asks
    // The window manager cannot take the pointer while the press holds it for us.
    xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
    return true;
}
} // namespace
