// The calls of the accessibility libraries (oleacc, ole32, oleaut32), loaded the first time a
// screen reader asks for an object. A start without one does not pay for loading them, which
// under Wine is a good part of the start-up.
#pragma once

#include <windows.h>

#include <oleacc.h>

namespace proxylist {

struct AccessibilityLibrary {
    decltype(&CreateStdAccessibleObject) create_std_accessible_object;
    decltype(&LresultFromObject) lresult_from_object;
    decltype(&CoInitializeEx) co_initialize_ex;
    decltype(&SysAllocStringLen) sys_alloc_string_len;
};

// The calls, or null when a library or a call is missing.
[[nodiscard]] const AccessibilityLibrary* accessibility_library() noexcept;

}  // namespace proxylist
