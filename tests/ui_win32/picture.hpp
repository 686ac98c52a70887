// What a window shows on the screen, read back pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace proxylist::testing {

class Picture {
  public:
    // The window's whole rectangle (frame included) or only its client area.
    static Picture of(HWND window, bool whole_window);
    // What `draw` paints on a white canvas of the size.
    static Picture drawn(int width, int height, const std::function<void(HDC)>& draw);

    [[nodiscard]] int width() const noexcept { return width_; }
    [[nodiscard]] int height() const noexcept { return height_; }
    [[nodiscard]] COLORREF at(int x, int y) const;
    // How many pixels lie within `tolerance` (per channel) of the colour.
    [[nodiscard]] int count_near(COLORREF colour, int tolerance = 8) const;
    [[nodiscard]] bool operator==(const Picture& other) const = default;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

[[nodiscard]] bool close_to(COLORREF a, COLORREF b, int tolerance = 8);

}  // namespace proxylist::testing
