// Control property access on Win32: the windows' own text and state through the ANSI calls,
// so texts are code page 936 bytes. A call from another thread is synchronous by the window
// system's own rule: the messages behind these calls are sent to the thread that owns the
// control, which handles them while the caller waits. Once the window is gone every call
// returns at once: reads give the absent text or -1, writes do nothing.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>

#include "app/controls.hpp"
#include "app/layout.hpp"

namespace proxylist {

class MainWindow;

class Win32Controls final : public Controls {
  public:
    // On the UI thread, once the window and its controls exist.
    explicit Win32Controls(const MainWindow& window) noexcept;

    [[nodiscard]] Text edit_text(ControlId edit_box) override;
    void set_edit_text(ControlId edit_box, const Text& text) override;
    [[nodiscard]] std::int32_t combo_current_item(ControlId combo_box) override;
    void set_combo_current_item(ControlId combo_box, std::int32_t item) override;
    void set_button_caption(ControlId button, const Text& caption) override;
    void set_button_disabled(ControlId button, bool disabled) override;

    // From now on every call returns at once. The window calls it as it is destroyed.
    void window_gone() noexcept { gone_.store(true); }

  private:
    // The control's window while the main window lives, null afterwards.
    [[nodiscard]] HWND live(ControlId id) const noexcept;

    std::array<HWND, control_count> controls_{};
    std::atomic<bool> gone_{false};
};

}  // namespace proxylist
