// The window procedures through which the visual style draws the thread's controls, and what
// each reads of its control's state before drawing it.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "ui/win32/dpi.hpp"
#include "ui/win32/gdi_handles.hpp"
#include "ui/win32/visual_style.hpp"

namespace proxylist {
namespace {

struct Colours {
    COLORREF text;
    COLORREF background;
};

// The colours the control's parent gives it (WM_CTLCOLOR...), as the control itself asks.
Colours colours_from_parent(HWND parent, UINT message, HWND control, Colours fallback) {
    if (parent == nullptr) {
        return fallback;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, fallback.text);
    SetBkColor(dc, fallback.background);
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    Colours colours{GetTextColor(dc), GetBkColor(dc)};
    LOGBRUSH fill{};
    if (brush != nullptr && GetObjectW(brush, sizeof fill, &fill) == sizeof fill &&
        fill.lbStyle == BS_SOLID) {
        colours.background = fill.lbColor;
    }
    DeleteDC(dc);
    return colours;
}

Colours system_box() {
    return {GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW)};
}

std::wstring window_text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring list_item_text(HWND list, int item) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(item), 0);
    if (length == LB_ERR || length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(item),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

std::wstring current_item_text(HWND combo) {
    const LRESULT current = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (current == CB_ERR) {
        return {};
    }
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(current), 0);
    if (length == CB_ERR || length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(current),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

HFONT font_of(HWND window) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    return font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SIZE window_size(HWND window) {
    RECT outer{};
    GetWindowRect(window, &outer);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

// After the control has drawn part of itself directly (not in WM_PAINT), the style's picture
// goes back over it at once.
void repaint_now(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

Win32VisualStyle& component_of(DWORD_PTR reference) {
    return *reinterpret_cast<Win32VisualStyle*>(reference);
}

}  // namespace

void Win32VisualStyle::paint_field_frame_of(HWND box) const {
    HDC dc = GetWindowDC(box);
    if (dc == nullptr) {
        return;
    }
    const ControlLook look = look_for(box);
    const int edge = system_metric(SM_CXEDGE, look.dpi);
    const bool enabled = IsWindowEnabled(box) != FALSE;
    const bool read_only = (GetWindowLongW(box, GWL_STYLE) & ES_READONLY) != 0;
    const Colours colours = colours_from_parent(
        GetParent(box), enabled && !read_only ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, box,
        system_box());
    const ControlState state{enabled, GetFocus() == box, hovered_ == box, false};
    paint_field_frame(dc, window_size(box), edge, colours.background, state, look);
    ReleaseDC(box, dc);
}

void Win32VisualStyle::paint_drop_down_of(HWND combo, HDC dc) const {
    RECT area{};
    GetClientRect(combo, &area);
    const bool enabled = IsWindowEnabled(combo) != FALSE;
    const Colours colours =
        colours_from_parent(GetParent(combo), WM_CTLCOLOREDIT, combo, system_box());
    const bool dropped = SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
    const ControlState state{enabled, GetFocus() == combo || dropped, hovered_ == combo, false};
    // An editable drop-down list shows its text in its edit part.
    const bool editable = (GetWindowLongW(combo, GWL_STYLE) & 3) == CBS_DROPDOWN;
    paint_drop_down(dc, area, editable ? std::wstring() : current_item_text(combo), font_of(combo),
                    colours.text, colours.background, state, look_for(combo));
}

void Win32VisualStyle::paint_list_of(HWND list, HDC dc) const {
    RECT area{};
    GetClientRect(list, &area);
    HWND combo = combo_of(list);
    const Colours colours = colours_from_parent(combo != nullptr ? GetParent(combo) : nullptr,
                                                WM_CTLCOLORLISTBOX, list, system_box());
    const ControlLook look = look_for(combo != nullptr ? combo : list);
    const HFONT font = font_of(list);
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    const int current = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    int bottom = area.top;
    for (int item = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0)); item < count;
         ++item) {
        RECT place{};
        if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(item),
                         reinterpret_cast<LPARAM>(&place)) == LB_ERR ||
            place.top >= area.bottom) {
            break;
        }
        paint_list_item(dc, place, list_item_text(list, item), font, colours.text,
                        colours.background, item == current, look);
        bottom = place.bottom;
    }
    if (bottom < area.bottom) {
        OwnedBrush fill(CreateSolidBrush(colours.background));
        const RECT rest{area.left, bottom, area.right, area.bottom};
        FillRect(dc, &rest, fill.get());
    }
}

LRESULT Win32VisualStyle::paint_push_button_of(const NMCUSTOMDRAW& draw) const {
    const HWND button = draw.hdr.hwndFrom;
    const UINT item = draw.uItemState;
    const LRESULT button_state = SendMessageW(button, BM_GETSTATE, 0, 0);
    const ControlState state{
        (item & CDIS_DISABLED) == 0 && IsWindowEnabled(button) != FALSE,
        (item & CDIS_FOCUS) != 0 || GetFocus() == button,
        (item & CDIS_HOT) != 0 || (button_state & BST_HOT) != 0,
        (item & CDIS_SELECTED) != 0 || (button_state & BST_PUSHED) != 0,
    };
    const bool wraps = (GetWindowLongW(button, GWL_STYLE) & BS_MULTILINE) != 0;
    paint_push_button(draw.hdc, draw.rc, window_text(button), font_of(button), wraps, state,
                      look_for(button));
    return CDRF_SKIPDEFAULT;
}

LRESULT CALLBACK Win32VisualStyle::field_procedure(HWND box, UINT message, WPARAM wparam,
                                                   LPARAM lparam, UINT_PTR, DWORD_PTR reference) {
    Win32VisualStyle& style = component_of(reference);
    switch (message) {
        case WM_NCPAINT: {
            // The box draws its scroll bar; the frame around it is ours.
            const LRESULT result = DefSubclassProc(box, message, wparam, lparam);
            style.paint_field_frame_of(box);
            return result;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_STYLECHANGED: {
            const LRESULT result = DefSubclassProc(box, message, wparam, lparam);
            style.paint_field_frame_of(box);
            return result;
        }
        case WM_MOUSEMOVE:
            style.track_hover(box, true);
            break;
        case WM_MOUSELEAVE:
            style.track_hover(box, false);
            break;
        case WM_NCDESTROY:
            style.forget(box);
            break;
        default:
            break;
    }
    return DefSubclassProc(box, message, wparam, lparam);
}

LRESULT CALLBACK Win32VisualStyle::drop_down_procedure(HWND combo, UINT message, WPARAM wparam,
                                                       LPARAM lparam, UINT_PTR,
                                                       DWORD_PTR reference) {
    Win32VisualStyle& style = component_of(reference);
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            HDC dc = wparam != 0 ? reinterpret_cast<HDC>(wparam) : BeginPaint(combo, &ps);
            style.paint_drop_down_of(combo, dc);
            if (wparam == 0) {
                EndPaint(combo, &ps);
            }
            return 0;
        }
        case WM_PRINTCLIENT:
            style.paint_drop_down_of(combo, reinterpret_cast<HDC>(wparam));
            return 0;
        // What the control may draw directly, outside WM_PAINT.
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_COMMAND:
        case WM_KEYDOWN:
        case WM_CHAR:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_MOUSEWHEEL:
        case WM_CAPTURECHANGED:
        case WM_SETTEXT:
        case CB_SETCURSEL:
        case CB_SHOWDROPDOWN:
        case CB_SELECTSTRING: {
            const LRESULT result = DefSubclassProc(combo, message, wparam, lparam);
            repaint_now(combo);
            return result;
        }
        case WM_MOUSEMOVE:
            style.track_hover(combo, true);
            break;
        case WM_MOUSELEAVE:
            style.track_hover(combo, false);
            break;
        case WM_NCDESTROY:
            style.forget(combo);
            break;
        default:
            break;
    }
    return DefSubclassProc(combo, message, wparam, lparam);
}

LRESULT CALLBACK Win32VisualStyle::list_procedure(HWND list, UINT message, WPARAM wparam,
                                                  LPARAM lparam, UINT_PTR, DWORD_PTR reference) {
    Win32VisualStyle& style = component_of(reference);
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            HDC dc = wparam != 0 ? reinterpret_cast<HDC>(wparam) : BeginPaint(list, &ps);
            style.paint_list_of(list, dc);
            if (wparam == 0) {
                EndPaint(list, &ps);
            }
            return 0;
        }
        case WM_PRINTCLIENT:
            style.paint_list_of(list, reinterpret_cast<HDC>(wparam));
            return 0;
        case WM_NCPAINT: {
            const LRESULT result = DefSubclassProc(list, message, wparam, lparam);
            if (HDC dc = GetWindowDC(list)) {
                paint_list_border(dc, window_size(list), style.look_for(list));
                ReleaseDC(list, dc);
            }
            return result;
        }
        case WM_NCDESTROY:
            style.forget(list);
            break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_KEYDOWN:
        case WM_MOUSEWHEEL:
        case WM_VSCROLL:
        case WM_TIMER:
        case LB_SETCURSEL:
        case LB_SETTOPINDEX: {
            // The list draws a new current item directly as the mouse or the keys move it.
            // Asked below the subclass, so that the questions do not come back here.
            const LRESULT current = DefSubclassProc(list, LB_GETCURSEL, 0, 0);
            const LRESULT top = DefSubclassProc(list, LB_GETTOPINDEX, 0, 0);
            const LRESULT result = DefSubclassProc(list, message, wparam, lparam);
            if (IsWindowVisible(list) && (DefSubclassProc(list, LB_GETCURSEL, 0, 0) != current ||
                                          DefSubclassProc(list, LB_GETTOPINDEX, 0, 0) != top)) {
                repaint_now(list);
            }
            return result;
        }
        default:
            break;
    }
    return DefSubclassProc(list, message, wparam, lparam);
}

LRESULT CALLBACK Win32VisualStyle::button_parent_procedure(HWND parent, UINT message, WPARAM wparam,
                                                           LPARAM lparam, UINT_PTR,
                                                           DWORD_PTR reference) {
    Win32VisualStyle& style = component_of(reference);
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (header->code == NM_CUSTOMDRAW && kind_of(header->hwndFrom) == Kind::push_button) {
            const auto* draw = reinterpret_cast<const NMCUSTOMDRAW*>(lparam);
            if (draw->dwDrawStage == CDDS_PREPAINT) {
                return style.paint_push_button_of(*draw);
            }
            return CDRF_DODEFAULT;
        }
    } else if (message == WM_NCDESTROY) {
        style.forget(parent);
    }
    return DefSubclassProc(parent, message, wparam, lparam);
}

}  // namespace proxylist
