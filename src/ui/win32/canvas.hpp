// A picture drawn off screen and then put on the screen in one step: a 32-bit DIB section with
// a memory device context. GDI has no smoothing, so the rounded outlines and the marks of the
// visual style are rasterised here with their edge pixels blended by coverage; text is drawn
// with GDI on the same context.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <span>

#include "ui/win32/gdi_handles.hpp"

namespace proxylist {

struct PointF {
    float x;
    float y;
};

struct RectF {
    float left;
    float top;
    float right;
    float bottom;
};

class Canvas {
  public:
    // A canvas of the size, compatible with `reference` (a screen or window DC).
    Canvas(HDC reference, int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    [[nodiscard]] bool valid() const noexcept { return pixels_ != nullptr; }
    [[nodiscard]] HDC dc() const noexcept { return dc_; }
    [[nodiscard]] int width() const noexcept { return width_; }
    [[nodiscard]] int height() const noexcept { return height_; }

    void fill(COLORREF colour);
    // Fills the rounded rectangle (edges on pixel boundaries), edge pixels by coverage.
    void fill_rounded(const RectF& rect, float radius, COLORREF colour, float opacity = 1.0f);
    // Fills it with colours from `top` down to `bottom`.
    void fill_rounded_gradient(const RectF& rect, float radius, COLORREF top, COLORREF bottom,
                               float opacity = 1.0f);
    // A line of `width` along the outline of the rounded rectangle.
    void stroke_rounded(const RectF& rect, float radius, float width, COLORREF colour,
                        float opacity = 1.0f);
    // A polyline with round joins and caps.
    void stroke_polyline(std::initializer_list<PointF> points, float width, COLORREF colour,
                         float opacity = 1.0f);
    [[nodiscard]] COLORREF pixel(int x, int y) const noexcept;

    // Copies the canvas, or a part of it, to `target` at (x, y).
    void copy_to(HDC target, int x, int y) const;
    void copy_part_to(HDC target, const RECT& part) const;

  private:
    void blend(int x, int y, COLORREF colour, float amount) noexcept;

    int width_;
    int height_;
    HDC dc_ = nullptr;
    OwnedBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
};

// `share_of_b` of b mixed into a.
[[nodiscard]] COLORREF mix(COLORREF a, COLORREF b, float share_of_b) noexcept;

}  // namespace proxylist
