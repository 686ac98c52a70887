#include "ui/win32/win32_controls.hpp"

#include "ui/win32/main_window.hpp"

namespace proxylist {

Win32Controls::Win32Controls(const MainWindow& window) noexcept {
    for (std::size_t i = 0; i < control_count; ++i) {
        controls_[i] = window.control(static_cast<ControlId>(i));
    }
}

HWND Win32Controls::live(ControlId id) const noexcept {
    if (gone_.load()) {
        return nullptr;
    }
    return controls_[static_cast<std::size_t>(id)];
}

Text Win32Controls::edit_text(ControlId edit_box) {
    HWND box = live(edit_box);
    if (box == nullptr) {
        return {};
    }
    const int length = GetWindowTextLengthA(box);
    if (length <= 0) {
        return {};
    }
    // Room for the length the box announced and the terminator; the box may announce more
    // than it then copies.
    Text::Storage bytes(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(box, bytes.data(), length + 1);
    bytes.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return Text(std::move(bytes));
}

void Win32Controls::set_edit_text(ControlId edit_box, const Text& text) {
    if (HWND box = live(edit_box)) {
        SetWindowTextA(box, text.c_str());
    }
}

std::int32_t Win32Controls::combo_current_item(ControlId combo_box) {
    HWND combo = live(combo_box);
    if (combo == nullptr) {
        return -1;
    }
    const LRESULT item = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    return item == CB_ERR ? -1 : static_cast<std::int32_t>(item);
}

void Win32Controls::set_combo_current_item(ControlId combo_box, std::int32_t item) {
    HWND combo = live(combo_box);
    if (combo == nullptr) {
        return;
    }
    const auto count = static_cast<std::int32_t>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    const std::int32_t chosen = combo_item_to_select(item, count > 0 ? count : 0);
    // -1 as WPARAM leaves no item current.
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(static_cast<INT_PTR>(chosen)), 0);
}

void Win32Controls::set_button_caption(ControlId button, const Text& caption) {
    if (HWND control = live(button)) {
        SetWindowTextA(control, caption.c_str());
    }
}

void Win32Controls::set_button_disabled(ControlId button, bool disabled) {
    if (HWND control = live(button)) {
        EnableWindow(control, disabled ? FALSE : TRUE);
    }
}

}  // namespace proxylist
