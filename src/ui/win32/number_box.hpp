// The whole-number boxes (编辑框1 to 编辑框3) on the standard edit control: typed characters go
// through the shared filter, and the text is corrected by the shared rule when the box loses
// the focus. A paste is not filtered; the correction deals with it when the focus leaves.
#pragma once

#include <windows.h>

#include "app/layout.hpp"

namespace proxylist {

// Makes the edit box a whole-number box for the range. The range must outlive the window (the
// layout table's does). False when the window system refuses the subclass.
bool make_number_box(HWND edit_box, const WholeNumberRange& range) noexcept;

// The correction of the focus loss, applied now (the box keeps the focus).
void correct_number_box(HWND edit_box, const WholeNumberRange& range);

}  // namespace proxylist
