// What a screen reader announces for each control: an input by the label in front of it (the
// label on its left in the same row, without the colon), a button by its caption, the list box
// by a name of its own, a label by its caption. Texts are UTF-8, as in the layout.
#pragma once

#include <string>

#include "app/layout.hpp"

namespace proxylist {

// The name of the list box, which has no label.
inline constexpr std::string_view list_box_accessible_name = "列表";

[[nodiscard]] std::string accessible_name(ControlId id);

}  // namespace proxylist
