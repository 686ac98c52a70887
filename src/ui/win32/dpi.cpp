#include "ui/win32/dpi.hpp"

namespace proxylist {
namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

}  // namespace

int window_dpi(HWND window) noexcept {
    static const auto get_dpi_for_window =
        user32_function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (get_dpi_for_window != nullptr && window != nullptr) {
        const UINT dpi = get_dpi_for_window(window);
        if (dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    return system_dpi();
}

int system_dpi() noexcept {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : standard_dpi;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : standard_dpi;
}

int scaled(int pixels, int dpi) noexcept {
    return MulDiv(pixels, dpi, standard_dpi);
}

int system_metric(int index, int dpi) noexcept {
    static const auto get_metrics_for_dpi =
        user32_function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (get_metrics_for_dpi != nullptr) {
        return get_metrics_for_dpi(index, static_cast<UINT>(dpi));
    }
    return MulDiv(GetSystemMetrics(index), dpi, system_dpi());
}

}  // namespace proxylist
