// Control property access on Qt. Every call is carried out on the GUI thread: directly when it
// comes from there, otherwise as a blocking queued call while the calling thread waits. Once
// the window has been closed, or the event loop has ended, every call returns at once: reads
// give the absent text or -1, writes do nothing.
#pragma once

#include <QPointer>
#include <atomic>
#include <memory>

#include "app/controls.hpp"

class QThread;

namespace proxylist {

class MainWindow;

class QtControls final : public Controls {
  public:
    // On the GUI thread, which owns the window.
    explicit QtControls(MainWindow& window);

    [[nodiscard]] Text edit_text(ControlId edit_box) override;
    void set_edit_text(ControlId edit_box, const Text& text) override;
    [[nodiscard]] std::int32_t combo_current_item(ControlId combo_box) override;
    void set_combo_current_item(ControlId combo_box, std::int32_t item) override;
    void set_button_caption(ControlId button, const Text& caption) override;
    void set_button_disabled(ControlId button, bool disabled) override;

    // From now on every call returns at once. Also happens by itself when the window closes or
    // the application's event loop ends.
    void window_gone() noexcept;

  private:
    template <typename Result, typename Action>
    Result on_gui_thread(Result fallback, Action action);

    QPointer<MainWindow> window_;
    QThread* gui_thread_;
    // Shared with the connections that set it, which may outlive this object.
    std::shared_ptr<std::atomic<bool>> gone_;
};

}  // namespace proxylist
