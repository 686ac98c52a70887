// The visual-style component on Win32: style 1, 2 or 3 restyles every window of the UI thread,
// now and later; any other number switches the style off and gives back the system look.
#pragma once

#include "app/visual_style.hpp"

namespace proxylist {

class Win32VisualStyle final : public VisualStyle {
  public:
    void switch_on(int style) override { style_ = (style >= 1 && style <= 3) ? style : 0; }
    [[nodiscard]] int current_style() const noexcept { return style_; }

  private:
    int style_ = 0;
};

}  // namespace proxylist
