// The visual-style component on Win32. Style 1, 2 or 3 restyles every window of the calling
// (UI) thread, its top-level windows and all their children, and every window the thread
// creates afterwards (a thread hook sees each one created); any other number switches the
// style off and gives the windows back their own drawing. Restyled windows are redrawn at once.
//
// The drawing is the program's own (accent_painting.hpp): edit boxes with a border get a frame
// of their own (their non-client paint), drop-down lists and their open lists are painted whole
// (subclassed), push buttons through custom draw (their parent answers NM_CUSTOMDRAW). Labels
// and everything else keep the system look.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "app/visual_style.hpp"
#include "ui/win32/accent_painting.hpp"

namespace proxylist {

class Win32VisualStyle final : public VisualStyle {
  public:
    Win32VisualStyle() = default;
    // Switches the style off: windows that outlive the component draw themselves again.
    ~Win32VisualStyle() override;
    Win32VisualStyle(const Win32VisualStyle&) = delete;
    Win32VisualStyle& operator=(const Win32VisualStyle&) = delete;

    void switch_on(int style) override;

    // 1 to 3 while a style is on, 0 while the system look draws.
    [[nodiscard]] int current_style() const noexcept { return style_; }
    // Whether this component draws the window now.
    [[nodiscard]] bool restyles(HWND window) const noexcept;

    // What the component does with a window of the thread; public for the tests.
    enum class Kind { none, field, drop_down, drop_down_list, push_button };
    [[nodiscard]] static Kind kind_of(HWND window) noexcept;

  private:
    struct Styled {
        HWND window;
        Kind kind;
        // The drop-down list that an open list belongs to.
        HWND combo;
    };

    void restyle_thread_windows();
    void restyle(HWND window, HWND combo_of_list = nullptr);
    void attach(HWND window, Kind kind, HWND combo);
    void forget(HWND window) noexcept;
    void unstyle_all() noexcept;
    void redraw_thread_windows() const;
    [[nodiscard]] ControlLook look_for(HWND window) const noexcept;
    [[nodiscard]] HWND combo_of(HWND list) const noexcept;
    void track_hover(HWND window, bool inside);

    static LRESULT CALLBACK on_thread_event(int code, WPARAM wparam, LPARAM lparam);
    [[nodiscard]] static SUBCLASSPROC procedure_of(Kind kind) noexcept;
    static LRESULT CALLBACK field_procedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK drop_down_procedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK list_procedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK button_parent_procedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR,
                                                    DWORD_PTR);

    void paint_field_frame_of(HWND box) const;
    void paint_drop_down_of(HWND combo, HDC dc) const;
    void paint_list_of(HWND list, HDC dc) const;
    [[nodiscard]] LRESULT paint_push_button_of(const NMCUSTOMDRAW& draw) const;

    int style_ = 0;
    COLORREF accent_ = 0;
    HHOOK hook_ = nullptr;
    std::vector<Styled> styled_;
    HWND hovered_ = nullptr;
};

}  // namespace proxylist
