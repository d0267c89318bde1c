#include "platform/X11Activate.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QWidget>

#if defined(MORVALINE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>
#include <cstring>
#endif

namespace morv {

unsigned StartupIdTime(const QString& startupId) {
    static const QRegularExpression time(QStringLiteral("_TIME(\\d{1,10})$"));
    const QRegularExpressionMatch match = time.match(startupId);
    return match.hasMatch() ? match.captured(1).toUInt() : 0u;
}

#if defined(MORVALINE_XCB) && QT_CONFIG(xcb)
namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

// One 32-bit value of a property; `fallback` when it is not set.
uint32_t Cardinal(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, uint32_t fallback) {
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    uint32_t value = fallback;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
        std::memcpy(&value, xcb_get_property_value(reply), 4);
    free(reply);
    return value;
}

// A request to the window manager, as the window-manager hints prescribe.
void ToRoot(xcb_connection_t* c, xcb_window_t root, xcb_window_t window, xcb_atom_t type,
            std::initializer_list<uint32_t> data) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    int i = 0;
    for (const uint32_t value : data) event.data.data32[i++] = value;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

// Ends the launcher's busy feedback for `id`: the message goes out in pieces
// of 20 bytes, the last one holding the terminating zero.
void EndLaunchFeedback(xcb_connection_t* c, xcb_window_t root, xcb_window_t window, const QByteArray& id) {
    QByteArray text = "remove: ID=\"" + id + "\"";
    text.append('\0');
    const xcb_atom_t begin = Atom(c, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = Atom(c, "_NET_STARTUP_INFO");
    for (qsizetype at = 0; at < text.size(); at += 20) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = window;
        event.type = at == 0 ? begin : more;
        std::memcpy(event.data.data8, text.constData() + at, size_t(qMin<qsizetype>(20, text.size() - at)));
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE, reinterpret_cast<const char*>(&event));
    }
}

}  // namespace

void BringToCurrentDesktop(QWidget* window, const QString& startupId) {
    // The offscreen platform answers for X too, without a connection.
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !window->isWindow()) return;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) return;
    const xcb_window_t id = xcb_window_t(window->winId());
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;

    const uint32_t allDesktops = 0xFFFFFFFF;
    const uint32_t current = Cardinal(c, root, Atom(c, "_NET_CURRENT_DESKTOP"), allDesktops);
    const uint32_t own = Cardinal(c, id, Atom(c, "_NET_WM_DESKTOP"), allDesktops);
    if (current != allDesktops && own != allDesktops && own != current)
        ToRoot(c, root, id, Atom(c, "_NET_WM_DESKTOP"), {current, 1});

    const QByteArray startup = startupId.toUtf8();
    if (!startup.isEmpty()) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, Atom(c, "_NET_STARTUP_ID"), Atom(c, "UTF8_STRING"),
                            8, uint32_t(startup.size()), startup.constData());
        // Source 1, an application; the time is the user's launch, which a
        // window manager preventing focus stealing accepts as a user action.
        if (const uint32_t time = StartupIdTime(startupId))
            ToRoot(c, root, id, Atom(c, "_NET_ACTIVE_WINDOW"), {1, time, 0});
        EndLaunchFeedback(c, root, id, startup);
    }
    xcb_flush(c);
}
#else
void BringToCurrentDesktop(QWidget*, const QString&) {}
#endif

}  // namespace morv
