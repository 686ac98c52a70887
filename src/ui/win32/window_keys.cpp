#include "ui/win32/window_keys.hpp"

#include <vector>

#include "app/layout.hpp"

namespace proxylist {
namespace {

bool is_class(HWND window, const wchar_t* name) {
    wchar_t class_name[32] = {};
    GetClassNameW(window, class_name, static_cast<int>(std::size(class_name)));
    return lstrcmpiW(class_name, name) == 0;
}

bool is_single_line_edit(HWND window) {
    return is_class(window, L"Edit") && (GetWindowLongW(window, GWL_STYLE) & ES_MULTILINE) == 0;
}

std::optional<ControlId> control_of(const WindowKeyTarget& target, HWND window) {
    for (std::size_t i = 0; i < control_count; ++i) {
        const HWND control = target.controls[i];
        // The focus may sit in a control's own child (a drop-down list's edit part).
        if (control != nullptr && (window == control || IsChild(control, window))) {
            return static_cast<ControlId>(i);
        }
    }
    return std::nullopt;
}

bool belongs_to_window(const WindowKeyTarget& target, HWND window) {
    return window != nullptr && (window == target.window || IsChild(target.window, window));
}

void move_focus(const WindowKeyTarget& target, bool forward) {
    std::vector<ControlId> stops;
    for (const ControlId id : tab_order()) {
        const HWND control = target.controls[static_cast<std::size_t>(id)];
        if (control != nullptr && IsWindowVisible(control) && IsWindowEnabled(control)) {
            stops.push_back(id);
        }
    }
    const auto next = next_in_tab_order(stops, control_of(target, GetFocus()), forward);
    if (!next) {
        return;
    }
    const HWND control = target.controls[static_cast<std::size_t>(*next)];
    SetFocus(control);
    if (is_single_line_edit(control)) {
        // Entered by the keyboard, a one-line box offers its whole text for replacing.
        SendMessageW(control, EM_SETSEL, 0, -1);
    }
}

bool combo_list_is_open(HWND window) {
    return window != nullptr && is_class(window, L"ComboBox") &&
           SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

bool modifier_down(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

}  // namespace

std::optional<ControlId> next_in_tab_order(std::span<const ControlId> stops,
                                           std::optional<ControlId> from, bool forward) noexcept {
    if (stops.empty()) {
        return std::nullopt;
    }
    if (!from) {
        return forward ? stops.front() : stops.back();
    }
    const int at = static_cast<int>(*from);
    if (forward) {
        for (const ControlId stop : stops) {
            if (static_cast<int>(stop) > at) {
                return stop;
            }
        }
        return stops.front();
    }
    for (auto it = stops.rbegin(); it != stops.rend(); ++it) {
        if (static_cast<int>(*it) < at) {
            return *it;
        }
    }
    return stops.back();
}

bool apply_window_keys(const WindowKeyTarget& target, const MSG& message) {
    if (message.message != WM_KEYDOWN || !belongs_to_window(target, message.hwnd)) {
        return false;
    }
    switch (message.wParam) {
        case VK_TAB:
            if (modifier_down(VK_CONTROL) || modifier_down(VK_MENU)) {
                return false;
            }
            move_focus(target, !modifier_down(VK_SHIFT));
            return true;
        case VK_ESCAPE:
            // An open list closes first, as it would anywhere.
            if (!target.escape_closes || combo_list_is_open(GetFocus())) {
                return false;
            }
            // As if the close button had been clicked.
            SendMessageW(target.window, WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        case VK_RETURN:
            // No button is the default one; a one-line box has no use for Enter either.
            return is_single_line_edit(GetFocus());
        default:
            return false;
    }
}

}  // namespace proxylist
