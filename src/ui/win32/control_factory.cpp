#include "ui/win32/control_factory.hpp"

#include <string>
#include <variant>

#include "ui/win32/accessible_object.hpp"
#include "ui/win32/dpi.hpp"
#include "ui/win32/number_box.hpp"
#include "ui/win32/self_painted_label.hpp"
#include "ui/win32/wide_text.hpp"
#include "ui/win32/window_styles.hpp"

namespace proxylist {
namespace {

COLORREF colour_ref(Colour colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

void set_up_edit_box(HWND box, const EditBoxSettings& settings) {
    // 0 is no limit of the box's own: the window system's maximum.
    SendMessageW(box, EM_SETLIMITTEXT, static_cast<WPARAM>(settings.length_limit), 0);
    // The caret starts at the beginning of the text.
    SendMessageW(box, EM_SETSEL, 0, 0);
    if (settings.whole_number) {
        make_number_box(box, *settings.whole_number);
    }
}

void set_up_combo_box(HWND combo, const ComboBoxSettings& settings) {
    for (const std::string_view item : settings.items) {
        const std::wstring wide = wide_from_utf8(item);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(settings.current_item), 0);
}

}  // namespace

HWND create_control_window(const ControlLayout& layout, HWND parent, HINSTANCE instance) {
    const ControlWindowClass window_class = control_window_class(layout);
    const std::wstring text = wide_from_utf8(layout.text);
    LabelCreation label{};
    void* creation = nullptr;
    if (const auto* settings = std::get_if<LabelSettings>(&layout.settings)) {
        label.text_colour = colour_ref(settings->text_colour);
        creation = &label;
    }
    HWND control =
        CreateWindowExW(window_class.styles.ex_style, window_class.class_name, text.c_str(),
                        window_class.styles.style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_window_id(layout.id))),
                        instance, creation);
    if (control == nullptr) {
        return nullptr;
    }
    if (const auto* box = std::get_if<EditBoxSettings>(&layout.settings)) {
        set_up_edit_box(control, *box);
        give_accessible_name(control);
    } else if (const auto* combo = std::get_if<ComboBoxSettings>(&layout.settings)) {
        set_up_combo_box(control, *combo);
        give_accessible_name(control);
    }
    return control;
}

void fit_control(HWND control, const ControlLayout& layout, HFONT font,
                 const PlacementMetrics& metrics) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (const auto* combo = std::get_if<ComboBoxSettings>(&layout.settings)) {
        // The font just set gave the list the standard item height; the layout adds to it.
        if (HWND list = drop_down_list_of(control)) {
            const LRESULT standard = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
            if (standard > 0) {
                SendMessageW(list, LB_SETITEMHEIGHT, 0,
                             standard + scaled(combo->extra_item_height, metrics.dpi));
            }
        }
    }
    const RECT place = control_rectangle(layout, metrics);
    SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND drop_down_list_of(HWND combo_box) noexcept {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(combo_box, &info)) {
        return nullptr;
    }
    return info.hwndList;
}

}  // namespace proxylist
