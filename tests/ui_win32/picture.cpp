#include "picture.hpp"

#include <cstdlib>

namespace proxylist::testing {

bool close_to(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

Picture Picture::of(HWND window, bool whole_window) {
    RECT area{};
    if (whole_window) {
        GetWindowRect(window, &area);
        OffsetRect(&area, -area.left, -area.top);
    } else {
        GetClientRect(window, &area);
    }
    HDC dc = whole_window ? GetWindowDC(window) : GetDC(window);
    Picture picture;
    picture.width_ = area.right;
    picture.height_ = area.bottom;
    picture.pixels_.resize(static_cast<std::size_t>(area.right) * area.bottom);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = area.right;
    info.bmiHeader.biHeight = -area.bottom;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, area.right, area.bottom, dc, 0, 0, SRCCOPY);
    GdiFlush();
    std::copy_n(static_cast<const std::uint32_t*>(bits), picture.pixels_.size(),
                picture.pixels_.begin());
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(window, dc);
    return picture;
}

Picture Picture::drawn(int width, int height, const std::function<void(HDC)>& draw) {
    HDC screen = GetDC(nullptr);
    Picture picture;
    picture.width_ = width;
    picture.height_ = height;
    picture.pixels_.resize(static_cast<std::size_t>(width) * height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const RECT all{0, 0, width, height};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    draw(memory);
    GdiFlush();
    std::copy_n(static_cast<const std::uint32_t*>(bits), picture.pixels_.size(),
                picture.pixels_.begin());
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    return picture;
}

COLORREF Picture::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return CLR_INVALID;
    }
    const std::uint32_t pixel = pixels_[static_cast<std::size_t>(y) * width_ + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int Picture::count_near(COLORREF colour, int tolerance) const {
    int count = 0;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            count += close_to(at(x, y), colour, tolerance) ? 1 : 0;
        }
    }
    return count;
}

}  // namespace proxylist::testing
