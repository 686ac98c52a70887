// Control property access: the one way the commands reach the window. Every call is
// synchronous and may come from any thread; the front-end carries it out on its GUI thread
// while the caller waits. After the window is gone every call is harmless: reads give the
// absent text or -1, writes do nothing.
#pragma once

#include <cstdint>

#include "app/control_id.hpp"
#include "text/text.hpp"

namespace proxylist {

class Controls {
public:
    virtual ~Controls() = default;

    // What the edit box shows, as code page 936 bytes; the absent text when it is empty.
    [[nodiscard]] virtual Text edit_text(ControlId edit_box) = 0;
    // The box shows exactly this text; the absent text empties it.
    virtual void set_edit_text(ControlId edit_box, const Text& text) = 0;

    // 0-based current item, -1 when none is current.
    [[nodiscard]] virtual std::int32_t combo_current_item(ControlId combo_box) = 0;
    // Above the last index: the last item; below -1: -1 (no current item).
    virtual void set_combo_current_item(ControlId combo_box, std::int32_t item) = 0;

    virtual void set_button_caption(ControlId button, const Text& caption) = 0;
    virtual void set_button_disabled(ControlId button, bool disabled) = 0;
};

}  // namespace proxylist
