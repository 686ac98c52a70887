#include "ui/win32/canvas.hpp"

#include <algorithm>
#include <cmath>

namespace proxylist {
namespace {

// DIB pixels are blue, green, red, unused from the lowest byte up; COLORREF is red first.
std::uint32_t dib_pixel(COLORREF colour) noexcept {
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

COLORREF colour_of(std::uint32_t pixel) noexcept {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// Signed distance from the point to the outline of the rounded rectangle: negative inside.
float rounded_distance(const RectF& rect, float radius, float x, float y) noexcept {
    const float centre_x = (rect.left + rect.right) / 2;
    const float centre_y = (rect.top + rect.bottom) / 2;
    const float half_width = (rect.right - rect.left) / 2;
    const float half_height = (rect.bottom - rect.top) / 2;
    radius = std::min({radius, half_width, half_height});
    const float qx = std::abs(x - centre_x) - (half_width - radius);
    const float qy = std::abs(y - centre_y) - (half_height - radius);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float distance_to_segment(PointF p, PointF a, PointF b) noexcept {
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float length_squared = dx * dx + dy * dy;
    float t = length_squared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length_squared : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

float coverage(float distance_inside) noexcept {
    return std::clamp(distance_inside + 0.5f, 0.0f, 1.0f);
}

}  // namespace

COLORREF mix(COLORREF a, COLORREF b, float share_of_b) noexcept {
    const auto channel = [share_of_b](int from, int to) {
        return static_cast<BYTE>(std::lround(from + (to - from) * share_of_b));
    };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

Canvas::Canvas(HDC reference, int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc_ = CreateCompatibleDC(reference);
    if (!bitmap_ || dc_ == nullptr) {
        return;
    }
    previous_ = SelectObject(dc_, bitmap_.get());
    pixels_ = static_cast<std::uint32_t*>(bits);
}

Canvas::~Canvas() {
    if (dc_ != nullptr) {
        if (previous_ != nullptr) {
            SelectObject(dc_, previous_);
        }
        DeleteDC(dc_);
    }
}

void Canvas::blend(int x, int y, COLORREF colour, float amount) noexcept {
    if (amount <= 0 || x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    std::uint32_t& target = pixels_[static_cast<std::size_t>(y) * width_ + x];
    target = amount >= 1 ? dib_pixel(colour) : dib_pixel(mix(colour_of(target), colour, amount));
}

void Canvas::fill(COLORREF colour) {
    if (!valid()) {
        return;
    }
    GdiFlush();
    std::fill_n(pixels_, static_cast<std::size_t>(width_) * height_, dib_pixel(colour));
}

void Canvas::fill_rounded(const RectF& rect, float radius, COLORREF colour, float opacity) {
    fill_rounded_gradient(rect, radius, colour, colour, opacity);
}

void Canvas::fill_rounded_gradient(const RectF& rect, float radius, COLORREF top, COLORREF bottom,
                                   float opacity) {
    if (!valid()) {
        return;
    }
    GdiFlush();
    const int y0 = std::max(0, static_cast<int>(std::floor(rect.top)));
    const int y1 = std::min(height_, static_cast<int>(std::ceil(rect.bottom)));
    const int x0 = std::max(0, static_cast<int>(std::floor(rect.left)));
    const int x1 = std::min(width_, static_cast<int>(std::ceil(rect.right)));
    const float span = std::max(rect.bottom - rect.top - 1, 1.0f);
    for (int y = y0; y < y1; ++y) {
        const COLORREF colour = mix(top, bottom, std::clamp((y - rect.top) / span, 0.0f, 1.0f));
        for (int x = x0; x < x1; ++x) {
            blend(x, y, colour,
                  opacity * coverage(-rounded_distance(rect, radius, x + 0.5f, y + 0.5f)));
        }
    }
}

void Canvas::stroke_rounded(const RectF& rect, float radius, float width, COLORREF colour,
                            float opacity) {
    if (!valid()) {
        return;
    }
    GdiFlush();
    const float reach = width / 2 + 1;
    const int y0 = std::max(0, static_cast<int>(std::floor(rect.top - reach)));
    const int y1 = std::min(height_, static_cast<int>(std::ceil(rect.bottom + reach)));
    const int x0 = std::max(0, static_cast<int>(std::floor(rect.left - reach)));
    const int x1 = std::min(width_, static_cast<int>(std::ceil(rect.right + reach)));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const float distance = std::abs(rounded_distance(rect, radius, x + 0.5f, y + 0.5f));
            blend(x, y, colour, opacity * coverage(width / 2 - distance));
        }
    }
}

void Canvas::stroke_polyline(std::initializer_list<PointF> points, float width, COLORREF colour,
                             float opacity) {
    if (!valid() || points.size() < 2) {
        return;
    }
    GdiFlush();
    float left = points.begin()->x;
    float right = left;
    float top = points.begin()->y;
    float bottom = top;
    for (const PointF& p : points) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    const float reach = width / 2 + 1;
    const int y0 = std::max(0, static_cast<int>(std::floor(top - reach)));
    const int y1 = std::min(height_, static_cast<int>(std::ceil(bottom + reach)));
    const int x0 = std::max(0, static_cast<int>(std::floor(left - reach)));
    const int x1 = std::min(width_, static_cast<int>(std::ceil(right + reach)));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const PointF centre{x + 0.5f, y + 0.5f};
            float nearest = 1e9f;
            for (auto a = points.begin(), b = a + 1; b != points.end(); ++a, ++b) {
                nearest = std::min(nearest, distance_to_segment(centre, *a, *b));
            }
            blend(x, y, colour, opacity * coverage(width / 2 - nearest));
        }
    }
}

COLORREF Canvas::pixel(int x, int y) const noexcept {
    if (!valid() || x < 0 || y < 0 || x >= width_ || y >= height_) {
        return CLR_INVALID;
    }
    GdiFlush();
    return colour_of(pixels_[static_cast<std::size_t>(y) * width_ + x]);
}

void Canvas::copy_to(HDC target, int x, int y) const {
    if (valid()) {
        BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
    }
}

void Canvas::copy_part_to(HDC target, const RECT& part) const {
    if (valid()) {
        BitBlt(target, part.left, part.top, part.right - part.left, part.bottom - part.top, dc_,
               part.left, part.top, SRCCOPY);
    }
}

}  // namespace proxylist
