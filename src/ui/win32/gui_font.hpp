// The one font of the window and all its controls: the system's default GUI font
// (DEFAULT_GUI_FONT), at the window's scale.
#pragma once

#include <windows.h>

#include "ui/win32/gdi_handles.hpp"

namespace proxylist {

class GuiFont {
  public:
    // At the system's scale the stock font itself; at another a copy of it made to that scale.
    explicit GuiFont(int dpi);

    [[nodiscard]] HFONT handle() const noexcept { return font_; }
    // The height of one line of the font (its cell height), in pixels.
    [[nodiscard]] int line_height() const noexcept { return line_height_; }

  private:
    OwnedFont scaled_copy_;
    HFONT font_;
    int line_height_;
};

}  // namespace proxylist
