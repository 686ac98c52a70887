#include "ui/win32/main_window.hpp"

#include <string>
#include <variant>

#include "ui/win32/control_factory.hpp"
#include "ui/win32/dpi.hpp"
#include "ui/win32/resource_ids.h"
#include "ui/win32/self_painted_label.hpp"
#include "ui/win32/wide_text.hpp"
#include "ui/win32/window_keys.hpp"
#include "ui/win32/window_styles.hpp"

namespace proxylist {
namespace {

COLORREF colour_ref(Colour colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

struct BoxColours {
    Colour text;
    Colour background;
};

std::optional<BoxColours> box_colours_of(const ControlLayout& layout) {
    if (const auto* box = std::get_if<EditBoxSettings>(&layout.settings)) {
        return BoxColours{box->text_colour, box->background};
    }
    if (const auto* combo = std::get_if<ComboBoxSettings>(&layout.settings)) {
        return BoxColours{combo->text_colour, combo->background};
    }
    return std::nullopt;
}

HICON application_icon(HINSTANCE instance, int metric_x, int metric_y) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(PROXY_LIST_TOOL_ICON),
                                         IMAGE_ICON, GetSystemMetrics(metric_x),
                                         GetSystemMetrics(metric_y), LR_DEFAULTCOLOR | LR_SHARED));
}

}  // namespace

MainWindow::MainWindow(const WindowLayout& window,
                       std::span<const ControlLayout, control_count> controls)
    : layout_(window), layouts_(controls) {}

MainWindow::~MainWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

bool MainWindow::register_window_class(HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, main_window_class_name, &existing)) {
        return true;
    }
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    // Without a close button the system menu loses its Close command too.
    window_class.style = layout_.has_close_button ? 0 : CS_NOCLOSE;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.hIcon = application_icon(instance, SM_CXICON, SM_CYICON);
    window_class.hIconSm = application_icon(instance, SM_CXSMICON, SM_CYSMICON);
    window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    window_class.lpszClassName = main_window_class_name;
    return RegisterClassExW(&window_class) != 0;
}

bool MainWindow::create(HINSTANCE instance) {
    if (!register_window_class(instance) || !register_label_class(instance)) {
        return false;
    }
    const WindowStyles styles = main_window_styles(layout_);
    target_outer_ = main_window_rectangle(layout_, standard_dpi, GetSystemMetrics(SM_CXSCREEN),
                                          GetSystemMetrics(SM_CYSCREEN));
    const std::wstring title = wide_from_utf8(layout_.title);
    // window_ is set on WM_NCCREATE, the first message the window gets.
    const HWND created = CreateWindowExW(
        styles.ex_style, main_window_class_name, title.c_str(), styles.style, target_outer_.left,
        target_outer_.top, target_outer_.right - target_outer_.left,
        target_outer_.bottom - target_outer_.top, nullptr, nullptr, instance, this);
    if (created == nullptr) {
        window_ = nullptr;
        return false;
    }
    if (!layout_.movable) {
        DeleteMenu(GetSystemMenu(window_, FALSE), SC_MOVE, MF_BYCOMMAND);
    }
    // The screen's scale is known once the window exists on it.
    dpi_ = window_dpi(window_);
    target_outer_ = main_window_rectangle(layout_, dpi_, GetSystemMetrics(SM_CXSCREEN),
                                          GetSystemMetrics(SM_CYSCREEN));
    keep_outer_rectangle();
    if (!create_controls(instance)) {
        DestroyWindow(window_);
        return false;
    }
    return true;
}

bool MainWindow::create_controls(HINSTANCE instance) {
    for (const ControlLayout& layout : layouts_) {
        const auto index = static_cast<std::size_t>(layout.id);
        controls_[index] = create_control_window(layout, window_, instance);
        if (controls_[index] == nullptr) {
            return false;
        }
        lists_[index] = drop_down_list_of(controls_[index]);
        if (const auto colours = box_colours_of(layout)) {
            backgrounds_[index].reset(CreateSolidBrush(colour_ref(colours->background)));
        }
    }
    fit_controls();
    for (const ControlLayout& layout : layouts_) {
        ShowWindow(control(layout.id), layout.visible ? SW_SHOWNA : SW_HIDE);
    }
    return true;
}

void MainWindow::fit_controls() {
    font_.emplace(dpi_);
    const PlacementMetrics metrics{dpi_, font_->line_height(), system_metric(SM_CYEDGE, dpi_)};
    for (const ControlLayout& layout : layouts_) {
        fit_control(control(layout.id), layout, font_->handle(), metrics);
    }
}

void MainWindow::keep_outer_rectangle() {
    RECT actual{};
    GetWindowRect(window_, &actual);
    if (!EqualRect(&actual, &target_outer_)) {
        SetWindowPos(window_, nullptr, target_outer_.left, target_outer_.top,
                     target_outer_.right - target_outer_.left,
                     target_outer_.bottom - target_outer_.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void MainWindow::show(int show_command) {
    ShowWindow(window_, show_command);
    UpdateWindow(window_);
    keep_outer_rectangle();
}

bool MainWindow::handle_window_keys(const MSG& message) {
    if (window_ == nullptr) {
        return false;
    }
    return apply_window_keys({window_, controls_, layout_.escape_closes}, message);
}

std::optional<ControlId> MainWindow::control_id_of(HWND window) const noexcept {
    for (std::size_t i = 0; i < control_count; ++i) {
        if (window != nullptr && (controls_[i] == window || lists_[i] == window)) {
            return static_cast<ControlId>(i);
        }
    }
    return std::nullopt;
}

HBRUSH MainWindow::box_colours(HWND box, HDC dc) const noexcept {
    const auto id = control_id_of(box);
    if (!id) {
        return nullptr;
    }
    const auto colours = box_colours_of(layout_of(*id));
    const auto& brush = backgrounds_[static_cast<std::size_t>(*id)];
    if (!colours || !brush) {
        return nullptr;
    }
    SetTextColor(dc, colour_ref(colours->text));
    SetBkColor(dc, colour_ref(colours->background));
    return brush.get();
}

void MainWindow::restore_focus() {
    HWND target = focus_when_deactivated_;
    if (target == nullptr || !IsWindow(target) || !IsWindowVisible(target) ||
        !IsWindowEnabled(target)) {
        target = nullptr;
        for (const ControlId id : tab_order()) {
            if (IsWindowVisible(control(id)) && IsWindowEnabled(control(id))) {
                target = control(id);
                break;
            }
        }
    }
    if (target != nullptr) {
        SetFocus(target);
    }
}

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    MainWindow* self = nullptr;
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        self = static_cast<MainWindow*>(creation->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (self == nullptr) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    return self->handle(message, wparam, lparam);
}

LRESULT MainWindow::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wparam) == BN_CLICKED && lparam != 0) {
                const auto id = control_id_of(reinterpret_cast<HWND>(lparam));
                if (id && events_.clicked) {
                    events_.clicked(*id);
                }
                return 0;
            }
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            if (HBRUSH brush =
                    box_colours(reinterpret_cast<HWND>(lparam), reinterpret_cast<HDC>(wparam))) {
                return reinterpret_cast<LRESULT>(brush);
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wparam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window_, focus)) {
                    focus_when_deactivated_ = focus;
                }
            }
            // The default gives the window the focus, which passes it on (WM_SETFOCUS).
            break;
        case WM_SETFOCUS:
            restore_focus();
            return 0;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wparam);
            const auto* suggested = reinterpret_cast<const RECT*>(lparam);
            target_outer_ = *suggested;
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            fit_controls();
            InvalidateRect(window_, nullptr, TRUE);
            return 0;
        }
        case WM_DESTROY:
            if (events_.destroyed) {
                events_.destroyed();
            }
            return 0;
        case WM_NCDESTROY: {
            // The last message: from here on this object no longer has a window.
            const HWND window = window_;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            controls_.fill(nullptr);
            lists_.fill(nullptr);
            return DefWindowProcW(window, message, wparam, lparam);
        }
        default:
            break;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

}  // namespace proxylist
