// Pixels at the display's scale. The layout is drawn at 96 dots per inch; on a screen set to
// another scale (150 % is 144 dpi) every place, size and font grows with it, so that nothing is
// cut off. The program is per-monitor aware (its manifest), so the scale is the window's own.
#pragma once

#include <windows.h>

namespace proxylist {

inline constexpr int standard_dpi = 96;

// The scale the window is drawn at.
[[nodiscard]] int window_dpi(HWND window) noexcept;

// The scale the stock objects (DEFAULT_GUI_FONT) and the system metrics were made for.
[[nodiscard]] int system_dpi() noexcept;

// A length of the layout at `dpi`.
[[nodiscard]] int scaled(int pixels, int dpi) noexcept;

// A system metric (SM_CYEDGE, ...) at `dpi`.
[[nodiscard]] int system_metric(int index, int dpi) noexcept;

// Calls from a newer user32 than the oldest system served, taken when present. Null otherwise.
template <typename Function>
[[nodiscard]] Function user32_function(const char* name) noexcept {
    const FARPROC proc = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    // Through void*: FARPROC is a placeholder type that every export is cast from.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(proc));
}

}  // namespace proxylist
