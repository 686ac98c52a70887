#include "ui/win32/visual_style.hpp"

#include <commctrl.h>

#include <algorithm>

#include "ui/win32/dpi.hpp"

namespace proxylist {
namespace {

// The component that the thread's creation hook serves. A hook procedure receives no data of
// its own, so the thread keeps it; one UI thread, one component.
thread_local Win32VisualStyle* hooked_component = nullptr;

constexpr UINT_PTR subclass_id = 0x5053;  // one per procedure and window

bool class_is(HWND window, const wchar_t* name) {
    wchar_t class_name[32] = {};
    GetClassNameW(window, class_name, static_cast<int>(std::size(class_name)));
    return lstrcmpiW(class_name, name) == 0;
}

}  // namespace

Win32VisualStyle::~Win32VisualStyle() {
    switch_on(0);
}

Win32VisualStyle::Kind Win32VisualStyle::kind_of(HWND window) noexcept {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG ex_style = GetWindowLongW(window, GWL_EXSTYLE);
    if (class_is(window, L"Edit")) {
        // Boxes with a sunken border; the edit part of a drop-down list has no border.
        return (ex_style & WS_EX_CLIENTEDGE) != 0 ? Kind::field : Kind::none;
    }
    if (class_is(window, L"ComboBox")) {
        const bool owner_drawn = (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
        return (style & 3) != CBS_SIMPLE && !owner_drawn ? Kind::drop_down : Kind::none;
    }
    if (class_is(window, L"ComboLBox")) {
        return Kind::drop_down_list;
    }
    if (class_is(window, L"Button")) {
        const LONG type = style & BS_TYPEMASK;
        return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ? Kind::push_button : Kind::none;
    }
    return Kind::none;
}

void Win32VisualStyle::switch_on(int style) {
    if (style >= 1 && style <= 3) {
        style_ = style;
        accent_ = accent_colour(style);
        if (hook_ == nullptr) {
            hooked_component = this;
            hook_ = SetWindowsHookExW(WH_CBT, on_thread_event, nullptr, GetCurrentThreadId());
        }
        restyle_thread_windows();
        redraw_thread_windows();
        return;
    }
    if (style_ == 0) {
        return;
    }
    style_ = 0;
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
        if (hooked_component == this) {
            hooked_component = nullptr;
        }
    }
    unstyle_all();
    redraw_thread_windows();
}

bool Win32VisualStyle::restyles(HWND window) const noexcept {
    return style_ != 0 && std::any_of(styled_.begin(), styled_.end(), [window](const Styled& s) {
               return s.window == window && s.kind != Kind::push_button;
           });
}

void Win32VisualStyle::restyle_thread_windows() {
    const auto each_top_level = [](HWND window, LPARAM component) -> BOOL {
        const auto each_child = [](HWND child, LPARAM component) -> BOOL {
            reinterpret_cast<Win32VisualStyle*>(component)->restyle(child);
            return TRUE;
        };
        reinterpret_cast<Win32VisualStyle*>(component)->restyle(window);
        // EnumChildWindows goes down through all generations by itself.
        EnumChildWindows(window, each_child, component);
        return TRUE;
    };
    EnumThreadWindows(GetCurrentThreadId(), each_top_level, reinterpret_cast<LPARAM>(this));
}

void Win32VisualStyle::restyle(HWND window, HWND combo_of_list) {
    const Kind kind = kind_of(window);
    switch (kind) {
        case Kind::none:
            return;
        case Kind::push_button:
            // The button's parent draws it, asked through custom draw.
            if (HWND parent = GetParent(window)) {
                attach(parent, Kind::push_button, nullptr);
            }
            return;
        case Kind::drop_down: {
            attach(window, kind, nullptr);
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            if (GetComboBoxInfo(window, &info) && info.hwndList != nullptr) {
                attach(info.hwndList, Kind::drop_down_list, window);
            }
            return;
        }
        case Kind::drop_down_list:
            if (HWND combo = combo_of_list != nullptr ? combo_of_list : combo_of(window)) {
                if (kind_of(combo) == Kind::drop_down) {
                    attach(window, kind, combo);
                }
            }
            return;
        case Kind::field:
            attach(window, kind, nullptr);
            return;
    }
}

void Win32VisualStyle::attach(HWND window, Kind kind, HWND combo) {
    const bool known = std::any_of(styled_.begin(), styled_.end(), [&](const Styled& s) {
        return s.window == window && s.kind == kind;
    });
    if (known) {
        return;
    }
    if (SetWindowSubclass(window, procedure_of(kind), subclass_id,
                          reinterpret_cast<DWORD_PTR>(this))) {
        styled_.push_back({window, kind, combo});
    }
}

void Win32VisualStyle::forget(HWND window) noexcept {
    for (auto it = styled_.begin(); it != styled_.end();) {
        if (it->window == window) {
            RemoveWindowSubclass(window, procedure_of(it->kind), subclass_id);
            it = styled_.erase(it);
        } else {
            ++it;
        }
    }
    if (hovered_ == window) {
        hovered_ = nullptr;
    }
}

void Win32VisualStyle::unstyle_all() noexcept {
    for (const Styled& s : styled_) {
        RemoveWindowSubclass(s.window, procedure_of(s.kind), subclass_id);
    }
    styled_.clear();
    hovered_ = nullptr;
}

void Win32VisualStyle::redraw_thread_windows() const {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            RedrawWindow(window, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            return TRUE;
        },
        0);
}

HWND Win32VisualStyle::combo_of(HWND list) const noexcept {
    for (const Styled& s : styled_) {
        if (s.window == list && s.combo != nullptr) {
            return s.combo;
        }
    }
    // An open list is created by its drop-down list, which is its parent or owner.
    HWND candidate = GetParent(list);
    if (candidate != nullptr && class_is(candidate, L"ComboBox")) {
        return candidate;
    }
    candidate = GetWindow(list, GW_OWNER);
    return candidate != nullptr && class_is(candidate, L"ComboBox") ? candidate : nullptr;
}

ControlLook Win32VisualStyle::look_for(HWND window) const noexcept {
    COLORREF outside = GetSysColor(COLOR_BTNFACE);
    if (HWND parent = GetParent(window)) {
        // A class brush given as a system colour index plus one, as dialogs and our window do.
        const auto brush = GetClassLongPtrW(parent, GCLP_HBRBACKGROUND);
        if (brush > 0 && brush <= COLOR_MENUBAR + 1) {
            outside = GetSysColor(static_cast<int>(brush - 1));
        }
    }
    return {accent_, window_dpi(window), outside};
}

void Win32VisualStyle::track_hover(HWND window, bool inside) {
    if (inside && hovered_ != window) {
        hovered_ = window;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
    } else if (!inside && hovered_ == window) {
        hovered_ = nullptr;
    } else {
        return;
    }
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
}

LRESULT CALLBACK Win32VisualStyle::on_thread_event(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND && hooked_component != nullptr && hooked_component->style_ != 0) {
        const auto* creation = reinterpret_cast<const CBT_CREATEWNDW*>(lparam);
        hooked_component->restyle(reinterpret_cast<HWND>(wparam), creation->lpcs->hwndParent);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

SUBCLASSPROC Win32VisualStyle::procedure_of(Kind kind) noexcept {
    switch (kind) {
        case Kind::field:
            return field_procedure;
        case Kind::drop_down:
            return drop_down_procedure;
        case Kind::drop_down_list:
            return list_procedure;
        case Kind::push_button:
        case Kind::none:
            break;
    }
    return button_parent_procedure;
}

}  // namespace proxylist
