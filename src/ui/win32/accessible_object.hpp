// The answer to WM_GETOBJECT that gives a control the name a screen reader announces: the
// system's own accessible object for the control, with the name (and, for a label, the role)
// of our choosing. Everything else is the system object's.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace proxylist {

struct AccessibleIdentity {
    std::wstring name;
    // A role (ROLE_SYSTEM_...) instead of the system object's; none keeps it.
    std::optional<long> role;
};

// Answers WM_GETOBJECT for the control's client object; nothing for other objects (the caller
// passes those on).
[[nodiscard]] std::optional<LRESULT> answer_accessible_object(HWND control, WPARAM wparam,
                                                              LPARAM lparam,
                                                              const AccessibleIdentity& identity);

// Gives a control of the main window (an edit box or a drop-down list) the name that its layout
// implies (accessible_names.hpp), through a subclass.
bool give_accessible_name(HWND control);

}  // namespace proxylist
