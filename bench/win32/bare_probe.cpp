// The yardstick: a bare Win32 window of the same size and place with the same fourteen
// controls (system classes, the same texts, styles and font, labels as static texts), nothing
// of the program's own behind them, reporting its first paint.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <variant>

#include "app/layout.hpp"
#include "first_paint_report.hpp"

namespace {

std::wstring wide(std::string_view utf8) {
    std::wstring text(utf8.size(), L'\0');
    text.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(),
                            static_cast<int>(text.size()))));
    return text;
}

struct Bare {
    const wchar_t* class_name;
    DWORD style;
    DWORD ex_style;
    int height;
};

Bare bare_control(const proxylist::ControlLayout& layout) {
    using namespace proxylist;
    const DWORD common = WS_CHILD | WS_VISIBLE | (layout.tab_stop ? WS_TABSTOP : 0);
    if (const auto* label = std::get_if<LabelSettings>(&layout.settings)) {
        return {L"Static",
                common | SS_CENTERIMAGE | SS_NOPREFIX |
                    (label->alignment == TextAlignment::centre ? SS_CENTER : SS_LEFT),
                0, layout.place.height};
    }
    if (const auto* box = std::get_if<EditBoxSettings>(&layout.settings)) {
        const DWORD lines = box->lines == LineMode::multi
                                ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL
                                : ES_CENTER | ES_AUTOHSCROLL;
        return {L"Edit", common | lines, WS_EX_CLIENTEDGE, layout.place.height};
    }
    if (std::holds_alternative<ButtonSettings>(layout.settings)) {
        return {L"Button", common | BS_PUSHBUTTON | BS_MULTILINE, 0, layout.place.height};
    }
    const auto& combo = std::get<ComboBoxSettings>(layout.settings);
    return {L"ComboBox", common | CBS_DROPDOWNLIST | WS_VSCROLL, 0, combo.height_with_list};
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    using namespace proxylist;
    const INITCOMMONCONTROLSEX common_controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common_controls);
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    window_class.lpszClassName = L"BareWindow";
    RegisterClassExW(&window_class);

    const WindowLayout& layout = main_window_layout();
    const int width = layout.outer_width;
    const int height = layout.outer_height;
    HWND window = CreateWindowExW(
        0, L"BareWindow", wide(layout.title).c_str(),
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
        (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
        width, height, nullptr, nullptr, instance, nullptr);
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    for (const ControlLayout& control : main_window_controls()) {
        const Bare bare = bare_control(control);
        HWND child =
            CreateWindowExW(bare.ex_style, bare.class_name, wide(control.text).c_str(), bare.style,
                            control.place.left, control.place.top, control.place.width, bare.height,
                            window, nullptr, instance, nullptr);
        SendMessageW(child, WM_SETFONT, font, FALSE);
        if (const auto* combo = std::get_if<ComboBoxSettings>(&control.settings)) {
            for (const std::string_view item : combo->items) {
                SendMessageW(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
            }
            SendMessageW(child, CB_SETCURSEL, 0, 0);
        }
    }
    ShowWindow(window, show_command);
    UpdateWindow(window);
    bench::report_first_paint_and_leave();
}
