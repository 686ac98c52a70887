#include "ui/win32/number_box.hpp"

#include <commctrl.h>
#include <imm.h>

#include <string>

#include "app/number_box.hpp"
#include "ui/win32/wide_text.hpp"

namespace proxylist {
namespace {

constexpr UINT_PTR number_box_subclass = 1;

std::wstring window_text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

LRESULT CALLBACK number_box_procedure(HWND box, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR, DWORD_PTR reference) {
    const auto& range = *reinterpret_cast<const WholeNumberRange*>(reference);
    switch (message) {
        case WM_CHAR:
            // A UTF-16 unit: surrogates and every other character beyond ASCII are dropped too.
            if (!number_box_accepts(static_cast<char32_t>(wparam))) {
                return 0;
            }
            break;
        case WM_KILLFOCUS:
            correct_number_box(box, range);
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(box, number_box_procedure, number_box_subclass);
            break;
        default:
            break;
    }
    return DefSubclassProc(box, message, wparam, lparam);
}

}  // namespace

bool make_number_box(HWND edit_box, const WholeNumberRange& range) noexcept {
    // An input method only ever composes characters the filter drops; typing goes straight to
    // the box instead.
    ImmAssociateContextEx(edit_box, nullptr, 0);
    return SetWindowSubclass(edit_box, number_box_procedure, number_box_subclass,
                             reinterpret_cast<DWORD_PTR>(&range)) != FALSE;
}

void correct_number_box(HWND edit_box, const WholeNumberRange& range) {
    DWORD selection_start = 0;
    SendMessageW(edit_box, EM_GETSEL, reinterpret_cast<WPARAM>(&selection_start), 0);
    const auto correction =
        number_box_focus_loss(utf8_from_wide(window_text(edit_box)), selection_start, range);
    if (!correction) {
        return;
    }
    SetWindowTextW(edit_box, wide_from_utf8(correction->text).c_str());
    const auto caret = static_cast<WPARAM>(correction->caret);
    SendMessageW(edit_box, EM_SETSEL, caret, static_cast<LPARAM>(caret));
}

}  // namespace proxylist
