// The main window, built from the layout table: a fixed-frame window of the layout's outer size
// centred on the screen, with the fourteen controls in creation order. The window's state lives
// in this object, which the window procedure finds through GWLP_USERDATA.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <span>

#include "app/layout.hpp"
#include "ui/win32/gdi_handles.hpp"
#include "ui/win32/gui_font.hpp"

namespace proxylist {

inline constexpr wchar_t main_window_class_name[] = L"ProxyListToolWindow";

class MainWindow {
  public:
    struct Events {
        // A button has been clicked.
        std::function<void(ControlId)> clicked;
        // The window is being destroyed; its controls still exist.
        std::function<void()> destroyed;
    };

    MainWindow(const WindowLayout& window, std::span<const ControlLayout, control_count> controls);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window, hidden, with all its controls, each shown or hidden as its layout
    // says. False when the window system refuses the window or one of its controls.
    [[nodiscard]] bool create(HINSTANCE instance);
    void set_events(Events events) { events_ = std::move(events); }

    // Shows the window; its outer rectangle is then checked once more.
    void show(int show_command);

    [[nodiscard]] HWND handle() const noexcept { return window_; }
    [[nodiscard]] HWND control(ControlId id) const noexcept {
        return controls_[static_cast<std::size_t>(id)];
    }
    [[nodiscard]] std::span<const HWND, control_count> controls() const noexcept {
        return controls_;
    }
    [[nodiscard]] const ControlLayout& layout_of(ControlId id) const noexcept {
        return layouts_[static_cast<std::size_t>(id)];
    }
    // The outer rectangle the window keeps: the layout's size at the scale, centred.
    [[nodiscard]] RECT target_outer_rectangle() const noexcept { return target_outer_; }
    [[nodiscard]] int dpi() const noexcept { return dpi_; }
    [[nodiscard]] HFONT font() const noexcept { return font_ ? font_->handle() : nullptr; }

    // The window's own keys (Tab, Esc, Enter), for the message loop: true when the message
    // has been used and is not to be dispatched.
    bool handle_window_keys(const MSG& message);

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);

    bool register_window_class(HINSTANCE instance);
    bool create_controls(HINSTANCE instance);
    // Font, places and sizes of all controls at the scale.
    void fit_controls();
    // Puts the window at its target rectangle if the window system gave it another.
    void keep_outer_rectangle();
    void restore_focus();
    [[nodiscard]] std::optional<ControlId> control_id_of(HWND window) const noexcept;
    [[nodiscard]] HBRUSH box_colours(HWND box, HDC dc) const noexcept;

    const WindowLayout& layout_;
    std::span<const ControlLayout, control_count> layouts_;
    Events events_;
    HWND window_ = nullptr;
    std::array<HWND, control_count> controls_{};
    // The open list of each drop-down list, which asks for its colours in its own name.
    std::array<HWND, control_count> lists_{};
    std::array<OwnedBrush, control_count> backgrounds_{};
    std::optional<GuiFont> font_;
    int dpi_ = 96;
    RECT target_outer_{};
    HWND focus_when_deactivated_ = nullptr;
};

}  // namespace proxylist
