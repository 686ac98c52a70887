#include "ui/win32/self_painted_label.hpp"

#include <oleacc.h>

#include <string>

#include "ui/win32/accessible_object.hpp"
#include "ui/win32/gdi_handles.hpp"

namespace proxylist {
namespace {

// The window's extra bytes: the caption's colour, then the font set with WM_SETFONT.
constexpr int colour_slot = 0;
constexpr int font_slot = sizeof(LONG_PTR);
constexpr int extra_bytes = 2 * sizeof(LONG_PTR);

std::wstring caption_of(HWND label) {
    std::wstring caption(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
    caption.resize(static_cast<std::size_t>(
        GetWindowTextW(label, caption.data(), static_cast<int>(caption.size()))));
    return caption;
}

void paint(HWND label, HDC dc) {
    RECT area{};
    GetClientRect(label, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    const auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(label, font_slot));
    SelectedObject selected(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    SetTextColor(dc, label_text_colour(label));
    SetBkMode(dc, TRANSPARENT);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    format |= (GetWindowLongW(label, GWL_STYLE) & label_centred) != 0 ? DT_CENTER : DT_LEFT;
    const std::wstring caption = caption_of(label);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &area, format);
}

LRESULT CALLBACK label_procedure(HWND label, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_NCCREATE: {
            const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
            const auto* settings = static_cast<const LabelCreation*>(creation->lpCreateParams);
            SetWindowLongPtrW(
                label, colour_slot,
                static_cast<LONG_PTR>(settings != nullptr ? settings->text_colour : RGB(0, 0, 0)));
            break;
        }
        case WM_SETFONT:
            SetWindowLongPtrW(label, font_slot, static_cast<LONG_PTR>(wparam));
            if (LOWORD(lparam) != 0) {
                InvalidateRect(label, nullptr, FALSE);
            }
            return 0;
        case WM_GETFONT:
            return GetWindowLongPtrW(label, font_slot);
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(label, message, wparam, lparam);
            InvalidateRect(label, nullptr, FALSE);
            return result;
        }
        case WM_ERASEBKGND:
            // The paint fills the whole rectangle.
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            HDC dc = BeginPaint(label, &ps);
            paint(label, dc);
            EndPaint(label, &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            paint(label, reinterpret_cast<HDC>(wparam));
            return 0;
        case WM_NCHITTEST:
            // Like a static text: the window below takes the mouse.
            return HTTRANSPARENT;
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_GETOBJECT:
            // Announced as a text with its caption, as a static text would be.
            if (const auto answer = answer_accessible_object(
                    label, wparam, lparam, {caption_of(label), ROLE_SYSTEM_STATICTEXT})) {
                return *answer;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(label, message, wparam, lparam);
}

}  // namespace

bool register_label_class(HINSTANCE instance) noexcept {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, label_class_name, &existing)) {
        return true;
    }
    WNDCLASSEXW label_class{};
    label_class.cbSize = sizeof label_class;
    label_class.style = CS_HREDRAW | CS_VREDRAW;
    label_class.lpfnWndProc = label_procedure;
    label_class.cbWndExtra = extra_bytes;
    label_class.hInstance = instance;
    label_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    label_class.lpszClassName = label_class_name;
    return RegisterClassExW(&label_class) != 0;
}

COLORREF label_text_colour(HWND label) noexcept {
    return static_cast<COLORREF>(GetWindowLongPtrW(label, colour_slot));
}

}  // namespace proxylist
