#include "ui/qt/window_manager_x11.hpp"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWindow>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

namespace proxylist {
namespace {

// The window manager hints of Motif, which X11 window managers still read: five 32-bit fields.
constexpr std::uint32_t hints_functions = 1U << 0;
constexpr std::uint32_t function_all = 1U << 0;
constexpr std::uint32_t function_resize = 1U << 1;
constexpr std::uint32_t function_move = 1U << 2;
constexpr std::uint32_t function_minimise = 1U << 3;
constexpr std::uint32_t function_maximise = 1U << 4;
constexpr std::uint32_t function_close = 1U << 5;
constexpr std::uint32_t every_function =
    function_resize | function_move | function_minimise | function_maximise | function_close;
using MotifHints = std::array<std::uint32_t, 5>;

struct FreeReply {
    void operator()(void* reply) const noexcept { std::free(reply); }
};
template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, FreeReply>;

xcb_connection_t* x11_connection() {
    const auto* x11 = qGuiApp != nullptr
                          ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                          : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const ReplyPointer<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The hints the window has now; with none, every function is offered.
MotifHints current_hints(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property) {
    MotifHints hints{};
    const ReplyPointer<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, property, 0, hints.size()),
        nullptr));
    if (reply != nullptr && reply->format == 32 &&
        xcb_get_property_value_length(reply.get()) >=
            static_cast<int>(sizeof(std::uint32_t) * hints.size())) {
        std::memcpy(hints.data(), xcb_get_property_value(reply.get()),
                    sizeof(std::uint32_t) * hints.size());
    }
    if ((hints[0] & hints_functions) == 0) {
        hints[0] |= hints_functions;
        hints[1] = every_function;
    }
    return hints;
}

}  // namespace

void withhold_window_functions(QWindow& window, bool movable, bool resizable) {
    const std::uint32_t withheld =
        (movable ? 0 : function_move) | (resizable ? 0 : function_resize);
    xcb_connection_t* connection = x11_connection();
    if (withheld == 0 || connection == nullptr) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t property = atom(connection, "_MOTIF_WM_HINTS");
    if (property == XCB_ATOM_NONE) {
        return;
    }
    MotifHints hints = current_hints(connection, id, property);
    // With "all" set, the functions listed are the ones taken away.
    if (hints[1] & function_all) {
        hints[1] |= withheld;
    } else {
        hints[1] &= ~withheld;
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, property, property, 32, hints.size(),
                        hints.data());
    xcb_flush(connection);
}

bool may_bring_a_new_frame(const QByteArray& event_type, const void* message) {
    if (event_type != "xcb_generic_event_t" || message == nullptr) {
        return false;
    }
    // The top bit marks an event sent by another client, as window managers send some of these.
    const auto type = static_cast<const xcb_generic_event_t*>(message)->response_type & 0x7F;
    return type == XCB_REPARENT_NOTIFY || type == XCB_CONFIGURE_NOTIFY || type == XCB_MAP_NOTIFY ||
           type == XCB_PROPERTY_NOTIFY;
}

}  // namespace proxylist
