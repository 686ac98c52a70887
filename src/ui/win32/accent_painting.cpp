#include "ui/win32/accent_painting.hpp"

#include <algorithm>
#include <string>

#include "ui/win32/canvas.hpp"

namespace proxylist {
namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF border_colour = RGB(0xa3, 0xad, 0xba);
constexpr COLORREF disabled_border_colour = RGB(0xcf, 0xd4, 0xda);
constexpr COLORREF disabled_fill_colour = RGB(0xf3, 0xf4, 0xf6);
constexpr COLORREF disabled_mark_colour = RGB(0xa9, 0xb0, 0xb8);
constexpr COLORREF disabled_text_colour = RGB(0x8c, 0x93, 0x9b);

float unit(const ControlLook& look) {
    return static_cast<float>(look.dpi) / 96.0f;
}

float corner_radius(const ControlLook& look) {
    return 3.0f * unit(look);
}

// The outline runs through the middle of the outermost pixels.
RectF outline_of(int width, int height, const ControlLook& look) {
    const float half_line = unit(look) / 2;
    return {half_line, half_line, width - half_line, height - half_line};
}

void draw_text(HDC dc, RECT area, std::wstring_view text, HFONT font, COLORREF colour,
               UINT alignment, bool wraps) {
    SelectedObject selected(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    const std::wstring caption(text);
    const UINT format =
        alignment | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER);
    if (wraps) {
        // Centred vertically by hand: DT_VCENTER works on single lines only.
        RECT measured = area;
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
                  format | DT_CALCRECT);
        const int height = measured.bottom - measured.top;
        area.top += std::max(0L, ((area.bottom - area.top) - height) / 2);
    }
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &area, format);
}

void draw_field(Canvas& canvas, COLORREF fill, const ControlState& state, const ControlLook& look) {
    const RectF outline = outline_of(canvas.width(), canvas.height(), look);
    const float radius = corner_radius(look);
    canvas.fill(look.outside);
    canvas.fill_rounded(
        {0, 0, static_cast<float>(canvas.width()), static_cast<float>(canvas.height())},
        radius + unit(look) / 2, state.enabled ? fill : disabled_fill_colour);
    canvas.stroke_rounded(outline, radius, unit(look), field_border_colour(state, look));
    if (state.focused && state.enabled) {
        // A soft inner ring, so that focus shows without a thicker outline.
        const float inset = unit(look);
        canvas.stroke_rounded({outline.left + inset, outline.top + inset, outline.right - inset,
                               outline.bottom - inset},
                              std::max(radius - inset, 0.0f), unit(look), look.accent, 0.28f);
    }
}

}  // namespace

COLORREF accent_colour(int style_number) noexcept {
    switch (style_number) {
        case 1:
            return RGB(0x4a, 0x5d, 0x78);
        case 3:
            return RGB(0x2f, 0x85, 0x5a);
        default:
            return RGB(0x2b, 0x6c, 0xb0);
    }
}

COLORREF field_border_colour(const ControlState& state, const ControlLook& look) noexcept {
    if (!state.enabled) {
        return disabled_border_colour;
    }
    if (state.focused) {
        return look.accent;
    }
    if (state.hovered) {
        return mix(border_colour, look.accent, 0.45f);
    }
    return border_colour;
}

void paint_field_frame(HDC window_dc, SIZE window_size, int edge, COLORREF fill,
                       const ControlState& state, const ControlLook& look) {
    Canvas canvas(window_dc, window_size.cx, window_size.cy);
    if (!canvas.valid()) {
        return;
    }
    draw_field(canvas, fill, state, look);
    // Only the ring of the border: the box draws its inside itself.
    const int w = window_size.cx;
    const int h = window_size.cy;
    canvas.copy_part_to(window_dc, {0, 0, w, edge});
    canvas.copy_part_to(window_dc, {0, h - edge, w, h});
    canvas.copy_part_to(window_dc, {0, edge, edge, h - edge});
    canvas.copy_part_to(window_dc, {w - edge, edge, w, h - edge});
}

void paint_push_button(HDC dc, const RECT& area, std::wstring_view caption, HFONT font, bool wraps,
                       const ControlState& state, const ControlLook& look) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    Canvas canvas(dc, width, height);
    if (!canvas.valid()) {
        return;
    }
    const RectF outline = outline_of(width, height, look);
    const float radius = corner_radius(look);
    const COLORREF accent = look.accent;
    canvas.fill(look.outside);
    if (!state.enabled) {
        canvas.fill_rounded(outline, radius, disabled_fill_colour);
    } else if (state.pressed) {
        canvas.fill_rounded(outline, radius, mix(white, accent, 0.22f));
    } else {
        // A faint wash of the accent, deeper toward the bottom and under the mouse.
        canvas.fill_rounded_gradient(outline, radius,
                                     mix(white, accent, state.hovered ? 0.02f : 0.04f),
                                     mix(white, accent, state.hovered ? 0.22f : 0.15f));
    }
    COLORREF border = mix(border_colour, accent, 0.25f);
    if (!state.enabled) {
        border = disabled_border_colour;
    } else if (state.pressed || state.focused) {
        border = accent;
    } else if (state.hovered) {
        border = mix(border_colour, accent, 0.45f);
    }
    canvas.stroke_rounded(outline, radius, unit(look), border);
    if (state.enabled && !state.pressed) {
        // A light top edge gives the button a little lift.
        const float y = outline.top + unit(look);
        canvas.stroke_polyline({{outline.left + radius, y}, {outline.right - radius, y}},
                               unit(look), white, 200.0f / 255.0f);
    }
    const int margin = static_cast<int>(4 * unit(look));
    draw_text(canvas.dc(), {margin, 0, width - margin, height}, caption, font,
              state.enabled ? RGB(0, 0, 0) : disabled_text_colour, DT_CENTER, wraps);
    canvas.copy_to(dc, area.left, area.top);
}

void paint_drop_down(HDC dc, const RECT& area, std::wstring_view text, HFONT font,
                     COLORREF text_colour, COLORREF fill, const ControlState& state,
                     const ControlLook& look) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    Canvas canvas(dc, width, height);
    if (!canvas.valid()) {
        return;
    }
    draw_field(canvas, fill, state, look);
    const float u = unit(look);
    const float arrow_width = 18 * u;
    const float arrow_left = width - arrow_width;
    // A short divider between the text and the arrow.
    canvas.stroke_polyline(
        {{arrow_left + 0.5f * u, 5 * u}, {arrow_left + 0.5f * u, height - 4 * u}}, u,
        state.enabled ? mix(border_colour, white, 0.35f) : disabled_border_colour);
    // A chevron pointing down.
    const PointF centre{arrow_left + arrow_width / 2 + 0.5f * u, height / 2.0f + 0.5f * u};
    canvas.stroke_polyline({{centre.x - 3.5f * u, centre.y - 1.75f * u},
                            {centre.x, centre.y + 1.75f * u},
                            {centre.x + 3.5f * u, centre.y - 1.75f * u}},
                           1.5f * u, state.enabled ? look.accent : disabled_mark_colour);
    const int margin = static_cast<int>(5 * u);
    draw_text(canvas.dc(), {margin, 0, static_cast<int>(arrow_left) - margin / 2, height}, text,
              font, state.enabled ? text_colour : disabled_text_colour, DT_LEFT | DT_END_ELLIPSIS,
              false);
    canvas.copy_to(dc, area.left, area.top);
}

void paint_list_item(HDC dc, const RECT& area, std::wstring_view text, HFONT font,
                     COLORREF text_colour, COLORREF fill, bool current, const ControlLook& look) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    Canvas canvas(dc, width, height);
    if (!canvas.valid()) {
        return;
    }
    canvas.fill(fill);
    const float u = unit(look);
    if (current) {
        canvas.fill_rounded({u, 0.5f * u, width - u, height - 0.5f * u}, 2 * u, look.accent);
    }
    const int margin = static_cast<int>(4 * u);
    draw_text(canvas.dc(), {margin, 0, width - margin, height}, text, font,
              current ? white : text_colour, DT_LEFT, false);
    canvas.copy_to(dc, area.left, area.top);
}

void paint_list_border(HDC window_dc, SIZE window_size, const ControlLook&) {
    OwnedBrush brush(CreateSolidBrush(border_colour));
    const RECT frame{0, 0, window_size.cx, window_size.cy};
    FrameRect(window_dc, &frame, brush.get());
}

}  // namespace proxylist
