// How visual styles 1 to 3 draw: light, flat controls with rounded corners and one accent
// colour per style (1 slate, 2 lake blue, 3 pine green), the same palette and shapes as the
// Linux build's style, so that both look like one program. Pure drawing: the caller says what
// state the control is in.
#pragma once

#include <windows.h>

#include <string_view>

namespace proxylist {

// The accent of style 1, 2 or 3.
[[nodiscard]] COLORREF accent_colour(int style_number) noexcept;

struct ControlLook {
    COLORREF accent;
    int dpi;
    // The colour around the control (its parent's background), seen outside the corners.
    COLORREF outside;
};

struct ControlState {
    bool enabled = true;
    bool focused = false;
    bool hovered = false;
    bool pressed = false;
};

// The frame of a box with a sunken border: `edge` pixels all round a window of the size, drawn
// on the window's whole-window device context. The inside is left alone.
void paint_field_frame(HDC window_dc, SIZE window_size, int edge, COLORREF fill,
                       const ControlState& state, const ControlLook& look);

// A push button with its caption, centred both ways; `wraps` lets the caption break into lines.
void paint_push_button(HDC dc, const RECT& area, std::wstring_view caption, HFONT font, bool wraps,
                       const ControlState& state, const ControlLook& look);

// A closed drop-down list: the field, the text of its current item, the arrow.
void paint_drop_down(HDC dc, const RECT& area, std::wstring_view text, HFONT font,
                     COLORREF text_colour, COLORREF fill, const ControlState& state,
                     const ControlLook& look);

// One item of an open drop-down list; the current one in the accent.
void paint_list_item(HDC dc, const RECT& area, std::wstring_view text, HFONT font,
                     COLORREF text_colour, COLORREF fill, bool current, const ControlLook& look);

// The one-pixel border of an open drop-down list, drawn on its whole-window device context.
void paint_list_border(HDC window_dc, SIZE window_size, const ControlLook& look);

// The colour of the outline of a box or button in the state, for tests and callers alike.
[[nodiscard]] COLORREF field_border_colour(const ControlState& state,
                                           const ControlLook& look) noexcept;

}  // namespace proxylist
