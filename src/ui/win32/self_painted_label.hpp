// The labels: child windows of a class of the program's own that paint themselves. A label
// fills its rectangle with the system's 3-D face colour and draws its caption once, on one
// line, centred vertically, with a transparent background, centred or aligned left.
#pragma once

#include <windows.h>

namespace proxylist {

inline constexpr wchar_t label_class_name[] = L"ProxyListToolLabel";

// The label's own style bits: how the caption is aligned across.
inline constexpr DWORD label_left_aligned = 0x0000;
inline constexpr DWORD label_centred = 0x0001;

// Registers the label class with the module; true when it is registered afterwards.
[[nodiscard]] bool register_label_class(HINSTANCE instance) noexcept;

// What CreateWindowEx takes as its creation parameter for a label: the caption's colour.
struct LabelCreation {
    COLORREF text_colour;
};

// The caption's colour of an existing label.
[[nodiscard]] COLORREF label_text_colour(HWND label) noexcept;

}  // namespace proxylist
