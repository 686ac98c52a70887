// Whether a Windows test program runs under Wine, for the few rows where Wine and Windows part.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#endif

namespace proxylist::test_support {

inline bool running_under_wine() {
#if defined(_WIN32)
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

}  // namespace proxylist::test_support
